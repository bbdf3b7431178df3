#!/bin/sh
# A player picks level 1 with its key, leaves it with Escape, and ends the run with a
# second Escape on the selection level.
. "$(dirname "$0")/lib.sh"

start_xvfb 800x600
start_game
wait_for_line "Starting Kernel Loop from VELQ"

press 5 seen "LEVEL CHANGE" 1
press Escape seen "LEVEL CHANGE" 2
press Escape seen "VELQ KillAllTasks" 1
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
