#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Frame rate of the real game under Xvfb with Mesa's llvmpipe, on a screen of 800 x 600
# or of VELQ_SCREEN (e.g. VELQ_SCREEN=1920x1080; the game starts full screen at it):
#   bench/fps.sh [LEVEL] [SECONDS] [GAME ARGUMENTS...]
#                                       (level 0 to 4, default 0; default 10 s)
# Prints the average frames per second and the worst 1 % frame time over the last
# SECONDS of play, from the game's own per-frame timings, and the time from process
# start to the first drawn frame. Needs a build (scripts/build.sh velq).
# VELQ_GRAPH=PICTURE.png (or .svg) also draws every frame's length as a graph.
set -eu
level=${1:-0}
seconds=${2:-10}
[ $# -ge 2 ] && shift 2 || shift $#
root=$(cd "$(dirname "$0")/.." && pwd)
bin=$root/build/velq
[ -x "$bin" ] || { echo "fps: build the game first (scripts/build.sh velq)" >&2; exit 1; }
case $level in 0|1|2|3|4) ;; *) echo "fps: level must be 0 to 4" >&2; exit 2 ;; esac
screen=${VELQ_SCREEN:-800x600}
case $screen in [1-9]*x[1-9]*) ;; *) echo "fps: VELQ_SCREEN must be WIDTHxHEIGHT, not '$screen'" >&2; exit 2 ;; esac

work=$(mktemp -d /tmp/velq-fps-XXXXXX)
cleanup() {
    [ -n "${game:-}" ] && kill "$game" 2>/dev/null
    [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
exec 5>"$work/display"
Xvfb -displayfd 5 -screen 0 "${screen}x24" -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
while [ ! -s "$work/display" ]; do sleep 0.1; done
exec 5>&-
export DISPLAY=":$(head -n1 "$work/display")" SDL_AUDIODRIVER=dummy LIBGL_ALWAYS_SOFTWARE=1

mkdir "$work/game"
ln -s "$root/build/Resources" "$work/game/Resources"
launched=$(date +%s%3N)
(cd "$work/game" && VELQ_FRAME_TIMES="$work/frames.txt" exec "$bin" "$@" >"$work/out.txt" 2>"$work/err.txt") &
game=$!
until grep -q "Starting Kernel Loop" "$work/out.txt" 2>/dev/null; do
    kill -0 "$game" 2>/dev/null || { echo "fps: the game ended early" >&2; cat "$work/err.txt" >&2; exit 1; }
    sleep 0.1
done
sleep 1
if [ "$level" -gt 0 ]; then
    # The game polls the keyboard: hold the key until the level has changed.
    xdotool keydown "$((level + 4))"
    until grep -q "^LEVEL CHANGE" "$work/out.txt"; do sleep 0.1; done
    xdotool keyup "$((level + 4))"
    sleep 2  # the level loads and settles before measuring
fi
sleep "$seconds"
kill -TERM "$game"
wait "$game" || true
game=""

awk -v launched="$launched" -v screen="$screen" -v seconds="$seconds" -v level="$level" '
    NR == 1 { first = $2 - launched; next }
    { ms[n++] = $1 }
    END {
        # The frames of the last SECONDS, counted back from the end.
        total = 0; from = n
        while (from > 0 && total + ms[from - 1] <= seconds * 1000) { from--; total += ms[from] }
        count = n - from
        if (count == 0) { print "fps: no frames measured"; exit 1 }
        for (i = 0; i < count; i++) sorted[i] = ms[from + i]
        # Insertion sort is enough for a few thousand frames.
        for (i = 1; i < count; i++) { v = sorted[i]; for (j = i - 1; j >= 0 && sorted[j] > v; j--) sorted[j + 1] = sorted[j]; sorted[j + 1] = v }
        worst = sorted[int(count * 0.99)]
        printf "level %d on " screen ": %.1f frames per second over %d frames; worst 1%% frame %.1f ms; first frame %d ms after start\n",
               level, count * 1000 / total, count, worst, first
    }' "$work/frames.txt"
if [ -n "${VELQ_GRAPH:-}" ]; then
    "$root/bench/frame-graph.sh" "$work/frames.txt" "$VELQ_GRAPH" "level $level at rest"
fi
