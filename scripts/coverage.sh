#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Line coverage of the unit tests per source folder: configures and builds build-cov/
# with --coverage at -O0, runs the unit tests, and prints one line per folder.
# Needs gcovr.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
out=$root/build-cov
cmake -S "$root" -B "$out" -DCMAKE_BUILD_TYPE=Debug -DVELQ_BENCH=OFF \
    -DCMAKE_CXX_FLAGS="--coverage -O0" -DCMAKE_C_FLAGS="--coverage -O0" \
    -DCMAKE_EXE_LINKER_FLAGS=--coverage >/dev/null
cmake --build "$out" -j"${JOBS:-2}"
find "$out" -name '*.gcda' -delete
(cd "$out" && ctest -L unit -j"${JOBS:-2}" --output-on-failure) || echo "coverage: some unit tests failed" >&2
# gcovr replaces its output file, so it writes into a scratch one.
report=$(mktemp)
trap 'rm -f "$report"' EXIT
for folder in engine world gameplay render app tools; do
    line=$(gcovr -r "$root" --object-directory "$out" --filter "$root/$folder/" \
        --exclude "$root/tests/" --exclude "$out/" --print-summary -o "$report" 2>&1 | grep '^lines:')
    echo "$folder: $line"
done
