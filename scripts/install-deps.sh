#!/bin/bash
# Installs every Debian package the game, its tests and its tools need.
set -euo pipefail
cd "$(dirname "$0")/.."
SUDO=""
if [ "$(id -u)" != 0 ]; then SUDO=sudo; fi
mapfile -t packages < <(grep -v '^\s*#' .ci/packages.txt | grep -v '^\s*$')
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${packages[@]}"
