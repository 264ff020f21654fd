#!/bin/sh
# Regenerates the asset pack in resources/ from Debian's packages and the portrait crops in
# tools/asset-sources/portraits/. Only needed when the pack changes; the build uses the
# committed files.
set -eu
cd "$(dirname "$0")/.."
pkgs="openclipart-svg lomiri-wallpapers-16.04 librsvg2-bin python3-pil python3-numpy sox fonts-comic-neue fonts-dejavu-core"
missing=""
for p in $pkgs; do
    [ "$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)" = "install ok installed" ] || missing="$missing $p"
done
if [ -n "$missing" ]; then
    if [ "$(id -u)" -eq 0 ]; then sudo=""; else sudo="sudo"; fi
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends $missing
fi
/usr/bin/python3 tools/make-assets.py
# What was made must be what the game and its readers expect.
exec /usr/bin/python3 tools/check-assets.py
