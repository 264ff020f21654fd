#!/bin/sh
# Installs the Debian packages that a purpose needs ("game", "tests" or "bench"), and nothing that is
# already there. Runs as root or through sudo.
set -eu

game="cmake ninja-build g++ qt6-base-dev qt6-base-dev-tools qt6-base-private-dev qt6-qpa-plugins libsdl2-dev libfontconfig-dev libxcb1-dev libgl-dev fonts-comic-neue"
tests="$game xvfb xdotool python3-pil python3-numpy desktop-file-utils appstream openbox tint2"
bench="$tests valgrind lmemory pulseaudio pulseaudio-utils"

case "${1:-}" in
game) wanted=$game ;;
tests) wanted=$tests ;;
bench) wanted=$bench ;;
*) echo "usage: $0 game|tests|bench" >&2; exit 2 ;;
esac

missing=""
for p in $wanted; do
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    [ "$status" = "install ok installed" ] || missing="$missing $p"
done
[ -z "$missing" ] && exit 0

if [ "$(id -u)" -eq 0 ]; then sudo=""; else sudo="sudo"; fi
echo "Installing:$missing"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends $missing
