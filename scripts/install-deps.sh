#!/bin/bash
# Installs the Debian packages of a list: by default everything the game, its tests and its
# tools need (.ci/packages.txt); `install-deps.sh play` only what building and running the game
# needs (.ci/packages-play.txt).
set -euo pipefail
cd "$(dirname "$0")/.."
list=.ci/packages.txt
if [ "${1:-}" = "play" ]; then list=.ci/packages-play.txt; fi
SUDO=""
if [ "$(id -u)" != 0 ]; then SUDO=sudo; fi
mapfile -t packages < <(grep -v '^\s*#' "$list" | grep -v '^\s*$')
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${packages[@]}"
