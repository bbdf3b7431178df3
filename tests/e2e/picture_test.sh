#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# The picture: kept games played back draw the frames of tests/data/frames, taken from
# the game before its drawing was made cheaper (particles batched and laid over the
# frame at a quarter of its size, passes limited to what they can change) and kept at
# half size, each pixel the mean of four; a played frame is halved the same way. Frames
# without particles are drawn exactly as before; with particles the soft glows differ
# by a few levels, and their rims by a quarter-size pixel where they meet a figure:
# level 1 at 50-53 dB peak signal-to-noise ratio, the level-4 battle at 38.6 dB, which
# side by side look the same. Each frame has its least ratio, 46 dB on level 1 and
# 37 dB in the battle (llvmpipe on another processor may round a little differently):
# one enemy left out (60 x 50 pixels painted over with grass) takes a level-1 frame
# to 36-39 dB and the battle to 35.5 dB, a texture 5 % darker to 34 dB. Refresh a
# reference only on purpose, from the frame this test keeps when it fails.
. "$(dirname "$0")/lib.sh"
LIMIT_SECONDS=600

# frames RECORDING "FRAME:NAME:LEAST_DB ...": plays RECORDING back, writing the listed
# frames, and compares each with tests/data/frames/NAME.png.
frames() {
    rm -rf "$WORK/shots" && mkdir -p "$WORK/shots"
    list=$(for f in $2; do printf '%s ' "${f%%:*}"; done)
    last=$(for f in $list; do echo "$f"; done | sort -n | tail -n1)
    (cd "$WORK/game" && VELQ_CAPTURE_FRAMES="$list" VELQ_CAPTURE_DIR="$WORK/shots" \
        exec "$VELQ_BIN" --timedemo "$1" -fullscreen -sound >"$WORK/out.txt" 2>"$WORK/err.txt") &
    GAME_PID=$!
    wait_until test -s "$(printf "%s/shots/frame-%05d.png" "$WORK" "$last")"
    kill -TERM "$GAME_PID" 2>/dev/null
    wait_for_exit
    for f in $2; do
        frame=${f%%:*} least=${f##*:} name=${f#*:} && name=${name%:*}
        shot=$(printf "%s/shots/frame-%05d.png" "$WORK" "$frame")
        convert "$shot" -scale 50% "$WORK/half.png"
        psnr=$(compare -metric PSNR "$VELQ_TEST_DATA/frames/$name.png" "$WORK/half.png" null: 2>&1 || true)
        echo "$name: $psnr dB (at least $least)"
        case $psnr in
            inf) ;;
            [0-9]*) awk -v p="$psnr" -v m="$least" 'BEGIN { exit !(p >= m) }' ||
                { cp "$shot" "/tmp/velq-picture-$name.png"; fail "$name differs (kept in /tmp/velq-picture-$name.png)"; } ;;
            *) fail "$name: $psnr" ;;
        esac
    done
}

start_xvfb 800x600
mkdir -p "$WORK/game" && ln -s "$VELQ_RESOURCES" "$WORK/game/Resources"
# The selection level; level 1 with its figures, water, shadows, shots and their glow.
frames "$VELQ_TEST_DATA/replays/level1-walk-and-fire.rec" "2:select:46 200:shots:46"
# Towers firing across the water, reflected.
frames "$VELQ_TEST_DATA/replays/level1-towers.rec" "600:towers:46"
# The level-4 battle, full of shots and their glow.
frames "$VELQ_TEST_DATA/../../bench/data/level4-battle.rec" "1500:battle:37"
echo "PASS: the kept games draw their reference frames"
