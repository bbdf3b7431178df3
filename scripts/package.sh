#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package of the game into build-deb/ and prints its path:
#   scripts/package.sh          ->  build-deb/velq_VERSION_ARCH.deb
# A build of its own, laid out as Debian lays out games (the launcher in /usr/games,
# the program in /usr/lib/games/velq, the data in /usr/share/games/velq), compiled
# with Debian's build flags, stripped, and packed by CPack; dpkg-shlibdeps works out
# the libraries it depends on. Install it with: sudo apt install ./build-deb/velq_*.deb
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
out=$root/build-deb
"$root/scripts/setup.sh" >&2

# Debian's compiler and linker flags (optimisation, all the hardening, paths inside
# the program relative to the tree); the preprocessor's go with the compilers', as
# CMake reads no CPPFLAGS. The dates (files, manual page) are those of the newest
# changelog entry, so the same tree gives the same package.
cd "$root"
DEB_BUILD_MAINT_OPTIONS=hardening=+all
export DEB_BUILD_MAINT_OPTIONS
eval "$(dpkg-buildflags --export=sh)"
SOURCE_DATE_EPOCH=$(dpkg-parsechangelog -l "$root/packaging/changelog" -STimestamp)
export SOURCE_DATE_EPOCH

cmake -S "$root" -B "$out" -DCMAKE_BUILD_TYPE=None -DVELQ_TESTS=OFF -DVELQ_BENCH=OFF \
    -DCMAKE_C_FLAGS="$CFLAGS $CPPFLAGS" -DCMAKE_CXX_FLAGS="$CXXFLAGS $CPPFLAGS" \
    -DCMAKE_EXE_LINKER_FLAGS="$LDFLAGS" \
    -DCMAKE_INSTALL_PREFIX=/usr -DCMAKE_INSTALL_BINDIR=games \
    -DVELQ_INSTALL_GAMEDIR=lib/games/velq -DVELQ_INSTALL_DATADIR=share/games/velq >&2
cmake --build "$out" -j"$(nproc)" >&2
rm -f "$out"/velq_*.deb
(cd "$out" && cpack -G DEB >&2)
ls "$out"/velq_*.deb
