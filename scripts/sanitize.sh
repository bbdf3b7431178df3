#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the game and its tests with clang under AddressSanitizer and
# UndefinedBehaviorSanitizer into build-san/, then runs the unit and the end-to-end
# tests there. Any report fails the run; leaks inside the system's libraries (Mesa,
# SDL, X) are suppressed by name in tests/sanitizer/lsan.supp, ours are not.
#   scripts/sanitize.sh            (after scripts/setup.sh)
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-san"
flags="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_C_FLAGS="$flags" -DCMAKE_CXX_FLAGS="$flags" \
    -DCMAKE_EXE_LINKER_FLAGS="$flags" -DVELQ_BENCH=OFF >/dev/null
cmake --build "$build" -j"$(nproc)"
cc -shared -fPIC -o "$build/libkeepmodules.so" "$root/tests/sanitizer/keepmodules.c"
cd "$build"
export LD_PRELOAD="$build/libkeepmodules.so"
export SDL_AUDIODRIVER=dummy
export ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1:check_initialization_order=1
export LSAN_OPTIONS="suppressions=$root/tests/sanitizer/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --output-on-failure -j"$(nproc)" -L unit
# The picture test is left to the main build: its reference frames hold the textures
# and models the asset generator writes when built with g++, and built with clang it
# writes some of them with other bytes.
ctest --output-on-failure -L e2e -E e2e_picture
