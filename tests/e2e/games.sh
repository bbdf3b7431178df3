# SPDX-License-Identifier: GPL-3.0-or-later
# Two short games on level 1, played the way a player would, for recorded-game tests.
# Source after lib.sh; each starts the game recording into FILE and ends with the
# game quit. Every hold lasts until the screen shows its effect, so the games do not
# depend on the machine's speed (the recording keeps whatever happened).

RED="r>0.8 && g<0.5 && b<0.5"

# Level 1 from the selection level, with the cursor at X Y.
enter_level1() {
    wait_for_line "Starting Kernel Loop from VELQ"
    xdotool mousemove "$1" "$2"
    press 5 seen "LEVEL CHANGE" 1
    screenshot "$WORK/still.png"
}

quit_game() {
    quit_from_level
    grep -q "^Recorded [0-9]* frames to $1" "$WORK/out.txt" || fail "no recording written to $1"
}

# Walks up the screen, fires the shotgun, changes to the rocket launcher and fires it.
play_walk_and_fire() {
    start_game -fullscreen --record "$1"
    enter_level1 400 100
    press w differs "$WORK/still.png" 100000
    press space shows 200 120 400 300 "$RED" 64
    screenshot "$WORK/still.png"
    press Tab differs "$WORK/still.png" 2000
    screenshot "$WORK/still.png"
    press space differs "$WORK/still.png" 5000
    quit_game "$1"
}

# Puts a tower behind the player, then the ring of sixteen, walks to the side and
# fires the shotgun at the lower left.
play_towers() {
    start_game -fullscreen --record "$1"
    enter_level1 600 300
    press button3 differs "$WORK/still.png" 20000
    screenshot "$WORK/still.png"
    press z differs "$WORK/still.png" 20000
    screenshot "$WORK/still.png"
    press d differs "$WORK/still.png" 100000
    xdotool mousemove 200 450
    press space shows 0 0 800 600 "$RED" 64
    quit_game "$1"
}
