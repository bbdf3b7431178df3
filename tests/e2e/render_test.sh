#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# What a player sees: the red title and the white head-up display on the selection
# level, the help page (its words and a notice: language_test.sh), level 1's ground, the shadow-map view and
# the wireframe; and a texture whose rows are no multiple of four bytes drawn as painted.
. "$(dirname "$0")/lib.sh"

launch

RED="r>0.6 && g<0.3 && b<0.3"
WHITE="r>0.85 && g>0.85 && b>0.85"
BLACK="r+g+b<0.05"
GREY="abs(r-g)<0.02 && abs(g-b)<0.02 && r>0.2"

# "Velq!" at (100, 500), glyphs 24 x 32; "Health: 100" and the weapon at the lower right.
wait_until shows 100 500 110 32 "$RED" 150
wait_until shows 630 0 170 32 "$WHITE" 150
# The ground: the middle of the window is drawn (the figures there are small), in more
# than a few colours.
shows 250 150 300 300 "$BLACK" 0 3000 || fail "$SHOWN black pixels in the middle of the ground"
colours=$(convert "$WORK/shot.png" -crop 300x300+250+150 +repage -colors 16 -unique-colors -format "%w" info:)
[ "$colours" -ge 4 ] || fail "the ground looks flat: $colours colours"

# F1 shows the help page in white (eleven lines from x 170 down from y 484), a second
# F1 takes it away.
press F1 shows 170 330 400 170 "$WHITE" 1500
press F1 shows 170 330 400 170 "$WHITE" 0 300

# Key 5: level 1, no title, ground everywhere.
press 5 seen "LEVEL CHANGE" 1
wait_until shows 100 500 110 32 "$RED" 0 0
shows 100 100 600 400 "$BLACK" 0 5000 || fail "level 1: $SHOWN black pixels"

# y: the light's depth image in grey over the lower-left 512 x 512 pixels.
press y shows 20 20 470 470 "$GREY" 150000
press y shows 20 20 470 470 "$GREY" 0 60000
# F7: everything as lines, so most of the picture is the black between them.
press F7 shows 100 100 600 400 "$BLACK" 120000

quit_from_level
grep -q "I require ARB_depth_texture" "$WORK/out.txt" && fail "the render task refused to start"
grep -q "error loading texture" "$WORK/out.txt" && fail "a texture did not load"

# The floor as a 3 x 5 texture of 24 bits (rows of 9 bytes), each row one colour: red,
# green, blue, yellow, cyan from the bottom. The selection level's ground then shows
# bands across the window, every line of pixels in one colour; rows read at a 4-byte
# alignment would mix the colours along a line and run past the image. On these bands
# the enemies' paths (p) stand out: the path points (25, 25) and (35, 25) of every enemy
# make a line 3 units below the player, wherever the enemy is.
kill "$XVFB_PID"
rm -rf "$WORK"
start_xvfb 800x600
{
    printf '\0\0\2\0\0\0\0\0\0\0\0\0\3\0\5\0\30\0'
    for bgr in '\0\0\377' '\0\377\0' '\377\0\0' '\0\377\377' '\377\377\0'; do printf "$bgr$bgr$bgr"; done
} >"$WORK/floor.tga"
# On the selection level an enemy far away, the player at (30, 28).
printf '28 30 s\n60 60 f\n5 5 e\n' | use_map select.map
use_texture floor1.tga <"$WORK/floor.tga"
start_game
wait_for_line "Starting Kernel Loop from VELQ"
wait_until shows 100 500 110 32 "$RED" 150
# Lines 200 pixels long between the figures, counted from the top as ImageMagick does.
for y in 160 200 250 350 450; do
    spread=$(convert "$WORK/shot.png" -crop 200x1+250+$y +repage \
        -format "%[fx:max(standard_deviation.r,max(standard_deviation.g,standard_deviation.b))]" info:)
    awk -v s="$spread" 'BEGIN { exit !(s < 0.02) }' || fail "the floor's line at y $y is not one colour ($spread)"
done
shows 240 205 320 15 "$BLACK" 0 0 || fail "a line below the player before the paths are shown"
press p shows 240 205 320 15 "$BLACK" 400
stop_game
echo "PASS: the selection level, the help, level 1, the shadow map, the wireframe, a 3 x 5 floor and the paths are drawn"
