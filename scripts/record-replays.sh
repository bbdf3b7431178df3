#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Records the two games of level 1 that the tests keep in tests/data/replays/, after
# a change that alters how the game plays (the replay test then says where the old
# ones part). Needs a build (scripts/build.sh velq velq_resources).
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
export VELQ_BIN="$root/build/velq" VELQ_RESOURCES="$root/build/Resources"
[ -x "$VELQ_BIN" ] || { echo "record-replays: build the game first (scripts/build.sh velq velq_resources)" >&2; exit 1; }
. "$root/tests/e2e/lib.sh"
. "$root/tests/e2e/games.sh"
out=$root/tests/data/replays
mkdir -p "$out"
start_xvfb 800x600
play_walk_and_fire "$WORK/level1-walk-and-fire.rec"
play_towers "$WORK/level1-towers.rec"
cp "$WORK/level1-walk-and-fire.rec" "$WORK/level1-towers.rec" "$out/"
ls -l "$out"
