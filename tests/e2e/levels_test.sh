#!/bin/sh
# A player picks level 1 with its key, leaves it with Escape, and ends the run with a
# second Escape on the selection level.
. "$(dirname "$0")/lib.sh"

# count TEXT: how many lines the game printed that are exactly TEXT.
count() { grep -cxF -- "$1" "$WORK/out.txt" 2>/dev/null; }

# press KEY TEXT N: holds the key down until the N-th line TEXT appears or the game
# ends. The game polls the keyboard, so a key is only seen when it stays down over a
# frame, and a second press only when a frame saw it up in between: a press that goes
# unseen for two seconds is let go and made again.
press() {
    waited=0
    while [ "$(count "$2")" -lt "$3" ] && kill -0 "$GAME_PID" 2>/dev/null; do
        xdotool keydown "$1"
        held=0
        while [ "$(count "$2")" -lt "$3" ] && kill -0 "$GAME_PID" 2>/dev/null && [ $held -lt 20 ]; do
            held=$((held + 1))
            sleep 0.1
        done
        xdotool keyup "$1" 2>/dev/null
        waited=$((waited + held))
        [ $waited -gt $((LIMIT_SECONDS * 10)) ] && fail "no '$2' number $3 within ${LIMIT_SECONDS}s"
        sleep 0.1
    done
}

start_xvfb 800x600
start_game
wait_for_line "Starting Kernel Loop from VELQ"

press 5 "LEVEL CHANGE" 1
press Escape "LEVEL CHANGE" 2
press Escape "VELQ KillAllTasks" 1
wait_for_exit
[ "$GAME_RC" -eq 0 ] || fail "exit code $GAME_RC"

expect_in_order "$WORK/out.txt" \
    "Starting Kernel Loop from VELQ" \
    "LEVEL CHANGE" \
    "Loading Map Resources/Maps/level1.map" \
    "LEVEL CHANGE" \
    "Loading Map Resources/Maps/select.map" \
    "VELQ KillAllTasks" \
    "goodbye cruel world"
[ "$(grep -cx "LEVEL CHANGE" "$WORK/out.txt")" -eq 2 ] || fail "a key press changed the level twice"
echo "PASS: level choice and quit by keys"
