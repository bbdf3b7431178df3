#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the fuzz targets of the file readers into build-fuzz/ (clang, libFuzzer,
# address and undefined-behaviour sanitizers) and runs each for SECONDS (default 60)
# on a scratch copy of its corpus in fuzz/corpus/. Prints each target's executions and
# findings; exits 1 when any target found a crash, leak, undefined behaviour, timeout
# or memory blow-up. Findings are kept in build-fuzz/findings/<target>/.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
case $seconds in
''|*[!0-9]*) echo "usage: scripts/fuzz.sh [SECONDS]" >&2; exit 2 ;;
esac
build=$root/build-fuzz

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DVELQ_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$(nproc)"

# Every input is written to a file and read back, so the scratch space is in memory
# where the machine has such a place: on a disk the fuzzers run ten times slower.
tmp=${TMPDIR:-/tmp}
if [ -d /dev/shm ] && [ -w /dev/shm ]; then tmp=/dev/shm; fi
scratch=$(mktemp -d "$tmp/velq-fuzz-XXXXXX")
trap 'rm -rf "$scratch"' EXIT INT TERM
export TMPDIR="$scratch"

# target  corpus  longest input in bytes
targets="
fuzz_tga            tga             16384
fuzz_md2            md2             16384
fuzz_map            map             8192
fuzz_heightfield    heightfield     1048640
fuzz_settings_file  settings_file   8192
fuzz_settings_line  settings_line   2048
fuzz_recording      recording       8192
"

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:allocator_may_return_null=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
echo "$targets" | while read -r target corpus maxlen; do
    [ -n "$target" ] || continue
    work=$scratch/$target
    mkdir -p "$work/corpus" "$work/artifacts"
    cp "$root/fuzz/corpus/$corpus"/* "$work/corpus/"
    if [ "$corpus" = heightfield ]; then
        # A whole field is 1 MiB; the committed cut is repeated to that size so the
        # run starts from a readable file as well as from short ones.
        for i in $(seq 256); do cat "$root/fuzz/corpus/heightfield/level1-cut.map.raw"; done \
            >"$work/corpus/level1-whole.map.raw"
    fi
    echo "== $target: $seconds s"
    set +e
    "$build/fuzz/$target" "$work/corpus" \
        -max_total_time="$seconds" -max_len="$maxlen" -rss_limit_mb=2048 -malloc_limit_mb=1024 \
        -timeout=10 -print_final_stats=1 -artifact_prefix="$work/artifacts/" \
        >"$work/log" 2>&1
    rc=$?
    set -e
    execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/log" | tail -n 1)
    findings=$(find "$work/artifacts" -type f | wc -l)
    if [ "$rc" -ne 0 ] && [ "$findings" -eq 0 ]; then
        findings=1  # stopped by a report that left no input behind
    fi
    echo "$target: ${execs:-?} executions, $findings findings (exit $rc)"
    if [ "$findings" -ne 0 ]; then
        mkdir -p "$build/findings/$target"
        cp "$work/log" "$build/findings/$target/log.txt"
        find "$work/artifacts" -type f -exec cp {} "$build/findings/$target/" \;
        grep -E "ERROR|SUMMARY|velq fuzz:|runtime error" "$work/log" | head -n 5
        echo "   kept in build-fuzz/findings/$target/"
        echo "$target" >>"$scratch/failed"
    fi
done
if [ -s "$scratch/failed" ]; then
    echo "fuzz: findings in $(tr '\n' ' ' <"$scratch/failed")"
    exit 1
fi
echo "fuzz: no findings"
