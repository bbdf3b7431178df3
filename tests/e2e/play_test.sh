#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# A player with an AZERTY keyboard, a fire key of their own and the volumes turned down,
# on the selection level, walks forward on z (the view follows), changes to the laser
# machine gun and fires on f (red trails on the screen), mutes and unmutes the sound (back
# to the volumes set), picks level 1 with its key, leaves it with Escape, and ends the run
# with a second Escape on the selection level. (The game's own keys play the recorded
# games of the replay test.)
. "$(dirname "$0")/lib.sh"

launch layout=azerty key.fire=f key.level1=5 volumeFX=50 volumeMusic=30
RED="r>0.8 && g<0.5 && b<0.5"
WHITE="r>0.85 && g>0.85 && b>0.85"

# The cursor near the top edge: the figure faces up the screen.
xdotool mousemove 400 60
wait_until shows 630 0 170 32 "$WHITE" 150
screenshot "$WORK/still.png"
# Standing still, only the water and the figure move.
wait_until shows 0 0 1 1 "1" 1
calm=$(compare -metric AE -fuzz 10% "$WORK/still.png" "$WORK/shot.png" null: 2>&1)
calm=${calm%%.*}
[ "$calm" -lt 100000 ] || fail "the picture changes by $calm pixels without input"
press z differs "$WORK/still.png" $((calm + 150000))

to_laser Tab
# Holding fire leaves red trails around the figure (the title's red is further up).
press f shows 200 120 400 300 "$RED" 64
press m seen "Sound off" 1
press m seen "Sound on: effects 50 %, music 30 %" 1

press 5 seen "LEVEL CHANGE" 1
quit_from_level
expect_in_order "$WORK/out.txt" \
    "LEVEL CHANGE" \
    "Loading Map Resources/Maps/level1.map" \
    "LEVEL CHANGE" \
    "Loading Map Resources/Maps/select.map" \
    "VELQ KillAllTasks" \
    "goodbye cruel world"
[ "$(grep -cx "LEVEL CHANGE" "$WORK/out.txt")" -eq 2 ] || fail "a key press changed the level twice"
echo "PASS: walking and firing on keys of one's own, weapons, volumes, level choice and quitting"
