#!/bin/sh
# What a player sees on the selection level: the red title, the white head-up display
# at the lower right, lit and textured ground over the whole window.
. "$(dirname "$0")/lib.sh"

start_xvfb 800x600
start_game
wait_for_line "Starting Kernel Loop from VELQ"

RED="r>0.6 && g<0.3 && b<0.3"
WHITE="r>0.85 && g>0.85 && b>0.85"
# "Velq!" at (100, 500), glyphs 24 x 32.
wait_for_pixels 100 500 110 32 "$RED" 150
# "Health: 100" and the weapon name at the lower right.
wait_for_pixels 630 0 170 32 "$WHITE" 150
# The ground: the middle of the window is drawn (the figures there are small), in
# more than a few colours.
n=$(count_pixels "$WORK/shot.png" 250 150 300 300 "r+g+b<0.05")
[ "$n" -lt 3000 ] || fail "$n black pixels in the middle of the ground"
colours=$(convert "$WORK/shot.png" -crop 300x300+250+150 +repage -colors 16 -unique-colors -format "%w" info:)
[ "$colours" -ge 4 ] || fail "the ground looks flat: $colours colours"

kill -TERM "$GAME_PID"
wait_for_exit
[ "$GAME_RC" -eq 0 ] || fail "exit code $GAME_RC"
grep -q "I require ARB_depth_texture" "$WORK/out.txt" && fail "the render task refused to start"
grep -q "error loading texture" "$WORK/out.txt" && fail "a texture did not load"
echo "PASS: the selection level is drawn"
