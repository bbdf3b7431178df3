#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Configures and builds into build/: the given targets, or everything (game, game
# data, tests, benchmarks) when none is named.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
if [ $# -eq 0 ]; then
    cmake --build "$root/build" -j"$(nproc)"
else
    for target in "$@"; do
        cmake --build "$root/build" -j"$(nproc)" --target "$target"
    done
fi
