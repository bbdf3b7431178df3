#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Whether two builds draw the same picture: both play a recorded game back under Xvfb
# and llvmpipe at 800 x 600 and write the listed frames, which are then compared pixel
# by pixel.
#   bench/compare-frames.sh OLD_VELQ NEW_VELQ RECORDING "FRAME FRAME ..." [KEEP_DIR]
# Prints, per frame, the pixels that differ and the largest difference of a colour
# channel; exits 1 when any frame differs. KEEP_DIR keeps the pictures and the
# differences (diff-NNNNN.png) to look at.
set -eu
[ $# -ge 4 ] || { echo "usage: bench/compare-frames.sh OLD_VELQ NEW_VELQ RECORDING \"FRAMES\" [KEEP_DIR]" >&2; exit 2; }
root=$(cd "$(dirname "$0")/.." && pwd)
old=$(readlink -f "$1")
new=$(readlink -f "$2")
recording=$(readlink -f "$3")
frames=$4
work=${5:-}
if [ -z "$work" ]; then
    work=$(mktemp -d /tmp/velq-compare-XXXXXX)
    trap 'rm -rf "$work"' EXIT
fi
mkdir -p "$work/old" "$work/new"
last=$(printf "frame-%05d.png" "$(echo $frames | tr ' ' '\n' | sort -n | tail -n1)")
for side in old new; do
    eval "bin=\$$side"
    mkdir -p "$work/$side/game"
    ln -sfn "$root/build/Resources" "$work/$side/game/Resources"
    (cd "$work/$side/game" && VELQ_CAPTURE_FRAMES="$frames" VELQ_CAPTURE_DIR="$work/$side" SDL_AUDIODRIVER=dummy \
        exec xvfb-run -a -s "-screen 0 800x600x24 -nolisten tcp" "$bin" --timedemo "$recording" -fullscreen -sound) \
        >"$work/$side/out.txt" 2>&1 &
    game=$!
    # The rest of the game is not needed once the last listed frame is written.
    while kill -0 "$game" 2>/dev/null && [ ! -s "$work/$side/$last" ]; do sleep 0.5; done
    sleep 0.5
    pkill -TERM -P "$game" 2>/dev/null || true
    wait "$game" 2>/dev/null || true
done
status=0
for n in $frames; do
    name=$(printf "frame-%05d.png" "$n")
    [ -f "$work/old/$name" ] && [ -f "$work/new/$name" ] || { echo "frame $n: not drawn"; status=1; continue; }
    pixels=$(compare -metric AE "$work/old/$name" "$work/new/$name" "$work/diff-${name#frame-}" 2>&1 || true)
    most=$(convert "$work/old/$name" "$work/new/$name" -compose difference -composite -format "%[fx:round(maxima*255)]" info:)
    echo "frame $n: $pixels pixels differ, by at most $most of 255"
    [ "${pixels%%.*}" = 0 ] || status=1
done
exit $status
