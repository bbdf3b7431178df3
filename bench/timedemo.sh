#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# A recorded game played back as fast as Mesa's llvmpipe draws it under Xvfb at
# 800 x 600 (--timedemo), with its state hash checked:
#   bench/timedemo.sh [FILE] [PICTURE.png|PICTURE.svg|-] [GAME ARGUMENTS...]
# FILE defaults to the kept level-4 battle, bench/data/level4-battle.rec (re-recorded
# by bench/record-battle.sh). Prints the frames, frames per second, worst 1 % frame and
# the most projectiles alive in one frame; with a PICTURE, also the frame-time graph.
# VELQ_FRAMES=N plays only the first N frames (the game is stopped once it has drawn
# them; the figures are those frames' own), for builds too slow to play it all.
# GAME ARGUMENTS go to the game after the file's own, e.g. effects=light.
# Needs a build (scripts/build.sh velq velq_resources).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
file=$(readlink -f "${1:-$root/bench/data/level4-battle.rec}")
picture=${2:-}
[ "$picture" = "-" ] && picture=""
[ $# -ge 2 ] && shift 2 || shift $#
bin=${VELQ_BIN:-$root/build/velq}
[ -x "$bin" ] || { echo "timedemo: build the game first (scripts/build.sh velq velq_resources)" >&2; exit 1; }
work=$(mktemp -d /tmp/velq-timedemo-XXXXXX)
trap 'rm -rf "$work"' EXIT
mkdir "$work/game"
ln -s "$root/build/Resources" "$work/game/Resources"
frames=${VELQ_FRAMES:-}
case $frames in *[!0-9]*) echo "timedemo: VELQ_FRAMES must be a number of frames" >&2; exit 2 ;; esac
status=0
if [ -z "$frames" ]; then
    (cd "$work/game" && VELQ_FRAME_TIMES="$work/frames.txt" SDL_AUDIODRIVER=dummy LIBGL_ALWAYS_SOFTWARE=1 \
        xvfb-run -a -s "-screen 0 800x600x24 -nolisten tcp" "$bin" --timedemo "$file" -fullscreen -sound "$@") \
        >"$work/out.txt" 2>"$work/err.txt" || status=$?
    grep -E "^(Timedemo|Replay):" "$work/out.txt" || { cat "$work/err.txt" >&2; exit 1; }
else
    (cd "$work/game" && VELQ_FRAME_TIMES="$work/all.txt" VELQ_CAPTURE_FRAMES="$frames" VELQ_CAPTURE_DIR="$work" \
        SDL_AUDIODRIVER=dummy LIBGL_ALWAYS_SOFTWARE=1 \
        exec xvfb-run -a -s "-screen 0 800x600x24 -nolisten tcp" "$bin" --timedemo "$file" -fullscreen -sound "$@") \
        >"$work/out.txt" 2>"$work/err.txt" &
    runner=$!
    last=$(printf "%s/frame-%05d.png" "$work" "$frames")
    while kill -0 "$runner" 2>/dev/null && [ ! -s "$last" ]; do sleep 0.5; done
    # Stopped the way a player's SIGTERM stops it, so it writes its frame times.
    pkill -TERM -P "$runner" -f -- "--timedemo" || true
    wait "$runner" || true
    [ -s "$last" ] && [ -s "$work/all.txt" ] || { cat "$work/err.txt" >&2; echo "timedemo: the game ended before frame $frames" >&2; exit 1; }
    awk -v n="$frames" 'NR <= n + 1' "$work/all.txt" >"$work/frames.txt"
    sum=$(awk 'NR > 1 { s += $1 } END { print s }' "$work/frames.txt")
    worst=$(awk 'NR > 1 { print $1 }' "$work/frames.txt" | sort -n | awk -v k="$((frames * 99 / 100 + 1))" 'NR == k')
    awk -v n="$frames" -v s="$sum" -v w="$worst" \
        'BEGIN { printf "Timedemo: the first %d frames, %.1f frames per second, worst 1%% frame %.1f ms\n", n, n * 1000 / s, w }'
fi
awk 'NR > 1 && NF > 1 && $2 > peak { peak = $2 } END { if (peak != "") print "Projectiles alive: at most " peak " in one frame" }' "$work/frames.txt"
if [ -n "$picture" ]; then
    "$root/bench/frame-graph.sh" "$work/frames.txt" "$picture" "$(basename "$file") played back by $(basename "$bin")"
fi
exit "$status"
