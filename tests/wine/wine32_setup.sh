#!/bin/bash
# wine32_setup.sh FOLDER
#
# Makes FOLDER/root, a folder holding Debian's 32-bit Wine with its i386 libraries, and
# FOLDER/qemu-i386, the user-mode emulator that runs them: this kernel refuses 32-bit programs,
# so every 32-bit Wine process runs under qemu. Nothing is installed: apt fetches into a state
# folder of its own (dpkg's architectures and the system's sources stay as they are) and dpkg-deb
# unpacks. The host's 64-bit Wine (the same version) serves the 32-bit processes with its
# wineserver; tests/wine/wine_desktop.py starts them through FOLDER/wine (see docs/windows.md).
# It needs root only for apt's downloads; it takes about a minute and 200 MB of downloads.
set -euo pipefail
folder="$(mkdir -p "$1" && cd "$1" && pwd)"
root="$folder/root"
state="$folder/apt"
rm -rf "$root" "$state"
mkdir -p "$root" "$state/lists/partial" "$state/cache/archives/partial" "$state/sources.list.d" \
    "$state/preferences.d"
touch "$state/status"
keyring=/usr/share/keyrings/debian-archive-keyring.gpg
{
    for suite in bookworm bookworm-updates bookworm-backports; do
        echo "deb [signed-by=$keyring] http://deb.debian.org/debian $suite main"
    done
    echo "deb [signed-by=$keyring] http://deb.debian.org/debian-security bookworm-security main"
} >"$state/sources.list"
# i386 is apt's own architecture here, so wine32's dependencies resolve to i386 packages; amd64
# only for the emulator. The empty status file makes apt fetch every dependency.
apt=(-q -o "Dir::State=$state" -o "Dir::State::status=$state/status"
    -o "Dir::Cache=$state/cache" -o "Dir::Etc::SourceList=$state/sources.list"
    -o "Dir::Etc::SourceParts=$state/sources.list.d"
    -o "Dir::Etc::Preferences=$state/preferences" -o "Dir::Etc::PreferencesParts=$state/preferences.d"
    -o "APT::Architecture=i386" -o "APT::Architectures::=i386" -o "APT::Architectures::=amd64"
    -o "Debug::NoLocking=1")
export DEBIAN_FRONTEND=noninteractive
apt-get "${apt[@]}" update >/dev/null
# Bookworm's own qemu 7.2 takes about a minute of processor time per Wine process; 10.0 from
# backports a few seconds.
apt-get "${apt[@]}" install -d -y --no-install-recommends wine32 \
    qemu-user:amd64/bookworm-backports >/dev/null
for deb in "$state"/cache/archives/*.deb; do
    dpkg-deb -x "$deb" "$root"
done
mv "$root/usr/bin/qemu-i386" "$folder/qemu-i386"

# What libwine's installation would do: Wine's builtin zlib1.dll, made from mingw's with the
# builtin marker in its DOS header.
zlib_in="$root/usr/i686-w64-mingw32/lib/zlib1.dll"
zlib_out="$root/usr/lib/i386-linux-gnu/wine/i386-windows/zlib1.dll"
{
    head -c 64 "$zlib_in"
    printf "Wine builtin DLL"
    head -c 16 /dev/zero
    tail -c +97 "$zlib_in"
} >"$zlib_out"

# The loader's cache of the folder's own libraries; without it the i386 loader would find the
# host's /lib32 libc first.
/sbin/ldconfig -r "$root"
# The host's fonts and font settings, not the folder's (which hold only DejaVu); the caches go
# where FONTCONFIG_FILE says (wine_desktop.py).
rm -rf "$root/etc/fonts" "$root/usr/share/fonts" "$root/var/cache/fontconfig"

# Wine starts a child process by running "wine-preloader wine PROGRAM" from the folder of the
# loader it runs; here that goes through qemu. WINELOADERNOEXEC keeps the loader from starting
# its own preloader, which only a kernel with 32-bit support could run.
wine_dir="$root/usr/lib/wine"
cat >"$wine_dir/wine-preloader" <<EOF
#!/bin/sh
export WINELOADERNOEXEC=1
exec "$folder/qemu-i386" -L "$root" "\$@"
EOF
chmod +x "$wine_dir/wine-preloader"
# "FOLDER/wine PROGRAM" starts a 32-bit program as the host's "wine PROGRAM" would, in a 32-bit
# prefix (WINEARCH=win32); the host's wineserver serves it.
cat >"$folder/wine" <<EOF
#!/bin/sh
export WINESERVER=/usr/lib/wine/wineserver64 WINELOADER="$wine_dir/wine"
exec "$wine_dir/wine-preloader" "$wine_dir/wine" "\$@"
EOF
chmod +x "$folder/wine"
rm -rf "$state"
