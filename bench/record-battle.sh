#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Records the level-4 battle that bench/timedemo.sh plays back: five rings of towers
# by the flag, then, a few cells back, the rocket launcher and the shotgun held down
# while the cursor sweeps round the player and the towers fire at the enemies closing
# in. Played as a player would, at the game's fixed 16 ms step; the holds last until
# the game has printed enough deaths, so the battle grows the same way on a slow or a
# fast machine.
#   bench/record-battle.sh [FILE]      (default bench/data/level4-battle.rec)
# Needs a build (scripts/build.sh velq velq_resources).
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
target=${1:-$root/bench/data/level4-battle.rec}
export VELQ_BIN="${VELQ_BIN:-$root/build/velq}" VELQ_RESOURCES="$root/build/Resources"
[ -x "$VELQ_BIN" ] || { echo "record-battle: build the game first (scripts/build.sh velq velq_resources)" >&2; exit 1; }
LIMIT_SECONDS=3600
. "$root/tests/e2e/lib.sh"

deaths() { grep -c "^object died" "$WORK/out.txt" 2>/dev/null || echo 0; }
# hold_until_deaths N: until N more objects have died since the call.
hold_until_deaths() {
    want=$(($(deaths) + $1))
    wait_until test "$(deaths)" -ge "$want"
}
# sweep KEY DEATHS: holds KEY while the cursor walks a circle round the screen's
# middle, until DEATHS more objects have died.
sweep() {
    want=$(($(deaths) + $2))
    xdotool keydown "$1"
    i=0
    while [ "$(deaths)" -lt "$want" ]; do
        kill -0 "$GAME_PID" 2>/dev/null || fail "game ended during the battle"
        # Eight points on a circle of 250 pixels round (400, 300).
        point=$(echo "650 300 577 477 400 550 223 477 150 300 223 123 400 50 577 123" |
            cut -d' ' -f$((i % 8 * 2 + 1))-$((i % 8 * 2 + 2)))
        xdotool mousemove $point
        i=$((i + 1))
        sleep 0.5
    done
    xdotool keyup "$1"
}

start_xvfb 800x600
start_game -fullscreen --record "$WORK/battle.rec"
wait_for_line "Starting Kernel Loop from VELQ"
xdotool mousemove 400 100
press 8 seen "LEVEL CHANGE" 1
screenshot "$WORK/still.png"

# Up to the flag, then five rings of sixteen towers round it while the enemies close
# in, the player walking a little between them.
press w differs "$WORK/still.png" 60000
for ring in 1 2 3 4 5; do
    screenshot "$WORK/still.png"
    press z differs "$WORK/still.png" 5000
    screenshot "$WORK/still.png"
    [ "$ring" -lt 5 ] && press "$(echo a d s w | cut -d' ' -f"$ring")" differs "$WORK/still.png" 30000
done

# Back out of the rings: a tower's shot that crosses the player's cell hits the player
# and is gone, so from a few cells away the towers' shots fly on and the battle fills.
for step in 1 2; do
    screenshot "$WORK/still.png"
    press s differs "$WORK/still.png" 60000
done

# The rocket launcher, then the shotgun, held down while the cursor sweeps.
screenshot "$WORK/still.png"
press Tab differs "$WORK/still.png" 500
sweep space 1200
press Tab seen "object died" 1
press Tab seen "object died" 1
sweep space 1800
quit_from_level
grep -q "^Recorded [0-9]* frames to $WORK/battle.rec" "$WORK/out.txt" || fail "no recording written"
mkdir -p "$(dirname "$target")"
cp "$WORK/battle.rec" "$target"
grep "^Recorded" "$WORK/out.txt"
