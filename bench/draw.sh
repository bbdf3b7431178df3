#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Frame time against the number of projectiles alive (0, 100, 300, 1,000) on level 4,
# drawn by llvmpipe under Xvfb at 800 x 600, or full screen at VELQ_SCREEN (e.g.
# VELQ_SCREEN=1920x1080, the frame widened to the screen's shape):
# VELQ_EFFECTS=light draws with the lighter effects.
#   bench/draw.sh [BENCHMARK ARGUMENTS...]
# DrawSteps splits the frame into the render task's steps (light, water mask, dim,
# mirror, water, lit, particles, hud) and showing it, each finished before the next.
# Needs a build (scripts/build.sh velq_draw_bench).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
bin=$root/build/bench/velq_draw_bench
[ -x "$bin" ] || { echo "draw: build it first (scripts/build.sh velq_draw_bench)" >&2; exit 1; }
screen=${VELQ_SCREEN:-800x600}
case $screen in [1-9]*x[1-9]*) ;; *) echo "draw: VELQ_SCREEN must be WIDTHxHEIGHT, not '$screen'" >&2; exit 2 ;; esac
cd "$root/build"
exec xvfb-run -a -s "-screen 0 ${screen}x24 -nolisten tcp" env SDL_AUDIODRIVER=dummy LIBGL_ALWAYS_SOFTWARE=1 "$bin" "$@"
