#!/bin/sh
# A recorded game played back as fast as Mesa's llvmpipe draws it under Xvfb at
# 800 x 600 (--timedemo), with its state hash checked:
#   bench/timedemo.sh [FILE] [PICTURE.png|PICTURE.svg]
# FILE defaults to the kept level-4 battle, bench/data/level4-battle.rec (re-recorded
# by bench/record-battle.sh). Prints the frames, frames per second, worst 1 % frame and
# the most projectiles alive in one frame; with a PICTURE, also the frame-time graph.
# Needs a build (scripts/build.sh velq velq_resources).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
file=$(readlink -f "${1:-$root/bench/data/level4-battle.rec}")
picture=${2:-}
bin=${VELQ_BIN:-$root/build/velq}
[ -x "$bin" ] || { echo "timedemo: build the game first (scripts/build.sh velq velq_resources)" >&2; exit 1; }
work=$(mktemp -d /tmp/velq-timedemo-XXXXXX)
trap 'rm -rf "$work"' EXIT
mkdir "$work/game"
ln -s "$root/build/Resources" "$work/game/Resources"
status=0
(cd "$work/game" && VELQ_FRAME_TIMES="$work/frames.txt" SDL_AUDIODRIVER=dummy LIBGL_ALWAYS_SOFTWARE=1 \
    xvfb-run -a -s "-screen 0 800x600x24 -nolisten tcp" "$bin" --timedemo "$file" -fullscreen -sound) \
    >"$work/out.txt" 2>"$work/err.txt" || status=$?
grep -E "^(Timedemo|Replay):" "$work/out.txt" || { cat "$work/err.txt" >&2; exit 1; }
awk 'NR > 1 && NF > 1 && $2 > peak { peak = $2 } END { if (peak != "") print "Projectiles alive: at most " peak " in one frame" }' "$work/frames.txt"
if [ -n "$picture" ]; then
    "$root/bench/frame-graph.sh" "$work/frames.txt" "$picture" "$(basename "$file") played back by $(basename "$bin")"
fi
exit "$status"
