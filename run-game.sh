#!/bin/sh
# Installs what the game needs, builds it and starts it.
set -eu
cd "$(dirname "$0")"
sh tools/setup-packages.sh game
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DLOTARO_TESTS=OFF >/dev/null
cmake --build build/release
exec build/release/src/lotaro "$@"
