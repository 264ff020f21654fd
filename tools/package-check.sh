#!/bin/sh
# Builds the Debian package from a clean copy of the committed tree (HEAD) and checks it with
# lintian; then installs it with apt, asks the installed game for its version, runs the
# end-to-end test on it under Xvfb (no display, an unknown option, the X server gone, SIGTERM at
# the new-game dialog, SIGHUP after one dealt board), purges it and checks that nothing of it is
# left.
#
#   sh tools/package-check.sh          the whole check
#   sh tools/package-check.sh build    build and lintian only
#
# The package files are left in build/package/. Runs as root or through sudo; installs what the
# build and the check need from Debian's packages.
set -eu
cd "$(dirname "$0")/.."
top=$(pwd)

mode=${1:-check}
case $mode in
check | build) ;;
*) echo "usage: $0 [build]" >&2; exit 2 ;;
esac

if [ "$(id -u)" -eq 0 ]; then sudo=""; else sudo="sudo"; fi
apt_get() { $sudo env DEBIAN_FRONTEND=noninteractive apt-get "$@"; }
step() { printf '\n=== %s\n' "$*"; }

version=$(sed -n '1s/^[^ ]* (\([^)]*\)).*/\1/p' debian/changelog)
arch=$(dpkg --print-architecture)
deb=lotaro_${version}_${arch}.deb

step "tools for the build and the check"
apt_get update -qq
tools="dpkg-dev build-essential lintian git"
if [ "$mode" = check ]; then
    tools="$tools xvfb xdotool python3-pil python3-numpy openbox tint2"
fi
# shellcheck disable=SC2086 # one word a package
apt_get install -y -qq --no-install-recommends $tools >/dev/null

step "clean copy of $(git rev-parse --short HEAD)"
if [ -n "$(git status --porcelain --untracked-files=no)" ]; then
    echo "note: the work tree has uncommitted changes; the package is built from HEAD without them"
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
src=$work/lotaro-$version
mkdir "$src"
git archive HEAD | tar -x -C "$src"

step "build dependencies"
(cd "$src" && apt_get build-dep -y -qq ./ >/dev/null)

step "source package (for lintian's source checks)"
(cd "$work" && dpkg-source --build "lotaro-$version")

step "dpkg-buildpackage -us -uc -b"
start=$(date +%s)
(cd "$src" && dpkg-buildpackage -us -uc -b -j2)
echo "build time: $(($(date +%s) - start)) s"
rm -rf "$top/build/package"
mkdir -p "$top/build/package"
cp "$work"/lotaro*_"$version"* "$top/build/package/"
ls -l "$top/build/package"

step "lintian"
# Errors and warnings fail the check; info and pedantic tags are shown, and so are overrides.
lintian --pedantic --display-info --show-overrides --fail-on error,warning \
    "$work/lotaro_${version}_${arch}.changes" "$work/lotaro_${version}.dsc"
echo "lintian: no errors, no warnings"

if [ "$mode" = build ]; then
    echo
    echo "built: build/package/$deb (install it with: sudo apt-get install ./build/package/$deb)"
    exit 0
fi

failed=""
fail() {
    echo "FAIL  $*"
    failed="$failed
$*"
}

step "apt-get install ./$deb"
(cd "$top/build/package" && apt_get install -y -q "./$deb")
dpkg -L lotaro >"$work/paths"
echo "$(wc -l <"$work/paths") paths in the package"

step "/usr/games/lotaro --version"
answer=$(/usr/games/lotaro --version) || true
echo "$answer"
[ "$answer" = "lotaro $version" ] || fail "--version answered '$answer'"

step "the end-to-end test on the installed game under Xvfb"
# The project's end-to-end test, pointed at the installed executable; Debian's own
# Python, as CTest runs it.
if DBUS_SESSION_BUS_ADDRESS=disabled: /usr/bin/python3 "$src/tests/e2e/test_game.py" /usr/games/lotaro; then
    echo "end-to-end test passed"
else
    fail "the game under Xvfb"
fi

step "apt-get purge lotaro"
apt_get purge -y -q lotaro

step "nothing of the package is left"
status=$(dpkg-query -W -f='${db:Status-Status}' lotaro 2>/dev/null || true)
if [ -z "$status" ] || [ "$status" = not-installed ]; then
    echo "dpkg: lotaro is not installed (${status:-unknown to dpkg})"
else
    fail "dpkg reports lotaro as $status"
fi
if dpkg -s lotaro >/dev/null 2>&1; then
    fail "dpkg -s still reports lotaro"
fi
for f in /var/lib/dpkg/info/lotaro.*; do
    if [ -e "$f" ]; then fail "left behind: $f"; fi
done
checked=0
shared=0
while IFS= read -r path; do
    [ "$path" = /. ] && continue
    checked=$((checked + 1))
    [ -e "$path" ] || [ -L "$path" ] || continue
    # A directory that another package owns stays; anything else is a residue.
    if [ -d "$path" ] && [ ! -L "$path" ] && dpkg-query -S "$path" >/dev/null 2>&1; then
        shared=$((shared + 1))
        continue
    fi
    fail "left behind: $path"
done <"$work/paths"
echo "$checked paths checked: $shared directories remain that other packages own, nothing else"

if [ -n "$failed" ]; then
    printf '\npackage check FAILED:%s\n' "$failed"
    exit 1
fi
printf '\npackage check passed: built, lintian clean, installed, end-to-end test passed, purged without residue\n'
