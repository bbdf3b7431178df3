#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Frame time against the number of projectiles alive (0, 100, 300, 1,000) on level 4,
# drawn by llvmpipe under Xvfb at 800 x 600:
#   bench/draw.sh [BENCHMARK ARGUMENTS...]
# DrawSteps splits the frame into the render task's steps (light, water mask, dim,
# mirror, water, lit, particles, hud) and showing it, each finished before the next.
# Needs a build (scripts/build.sh velq_draw_bench).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
bin=$root/build/bench/velq_draw_bench
[ -x "$bin" ] || { echo "draw: build it first (scripts/build.sh velq_draw_bench)" >&2; exit 1; }
cd "$root/build"
exec xvfb-run -a -s "-screen 0 800x600x24 -nolisten tcp" env SDL_AUDIODRIVER=dummy LIBGL_ALWAYS_SOFTWARE=1 "$bin" "$@"
