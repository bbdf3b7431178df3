#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# A level is lost when its minute runs out ("VERLOREN!" in red) and won when its last
# enemy dies ("GEWONNEN!" in green). Both levels are small maps of the test's own: an
# enemy shut in by walls, far from the player, with and without a tower beside it.
. "$(dirname "$0")/lib.sh"

# shut_in_enemy [TOWER]: a ring of walls around rows and columns 28..36 with an enemy
# inside, the player at (10, 10) and the flag far outside.
shut_in_enemy() {
    echo "10 10 s"
    echo "55 55 f"
    for i in 28 29 30 31 32 33 34 35 36; do
        echo "28 $i w"
        echo "36 $i w"
        echo "$i 28 w"
        echo "$i 36 w"
    done
    echo "32 32 e"
    [ -n "${1:-}" ] && echo "33 33 t"
}

RED="r>0.6 && g<0.3 && b<0.3"
GREEN="r<0.3 && g>0.6 && b<0.3"

# play_level STEP_MS SHOWN NOT_SHOWN [TOWER]: level 1 at the clock step until SHOWN
# stands where the result is written, never together with NOT_SHOWN.
play_level() {
    start_xvfb 800x600
    shut_in_enemy "${4:-}" | use_map level1.map
    STEP_MS=$1 start_game
    wait_for_line "Starting Kernel Loop from VELQ"
    press 5 seen "LEVEL CHANGE" 1
    wait_until shows 300 50 200 32 "$2" 200
    shows 300 50 200 32 "$3" 0 0 || fail "won and lost at once"
    grep -q "Enemy added" "$WORK/out.txt" || fail "the test's map has no enemy"
    stop_game
    kill "$XVFB_PID"
    rm -rf "$WORK"
}
# Lost: nothing can reach the enemy; the countdown ends the level. A coarse clock step
# makes the minute pass in a few hundred frames.
play_level 100 "$RED" "$GREEN"
# Won: the tower beside the enemy shoots it dead within the minute.
play_level 32 "$GREEN" "$RED" tower
echo "PASS: a level lost by its countdown and a level won"
