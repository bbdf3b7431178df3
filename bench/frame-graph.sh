#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Draws a frame-time record (the file VELQ_FRAME_TIMES writes) as a graph: every
# frame's length in milliseconds and, where the record has them, the projectiles alive,
# against the frame number. PNG or SVG by the picture's name; gnuplot draws it.
#   bench/frame-graph.sh FRAMES PICTURE [TITLE]
set -eu
[ $# -ge 2 ] || { echo "usage: bench/frame-graph.sh FRAMES PICTURE [TITLE]" >&2; exit 2; }
frames=$1
picture=$2
title=${3:-$(basename "$frames")}
command -v gnuplot >/dev/null || { echo "frame-graph: gnuplot is missing (apt-get install gnuplot-nox)" >&2; exit 1; }
case $picture in
    *.svg) terminal="svg size 1000,500 dynamic background rgb 'white'" ;;
    *.png) terminal="pngcairo size 1000,500" ;;
    *) echo "frame-graph: the picture must end in .png or .svg" >&2; exit 2 ;;
esac
data=$(mktemp /tmp/velq-graph-XXXXXX)
trap 'rm -f "$data"' EXIT
# Frame numbers from 1; the first line of the record is the first frame's wall time.
awk 'NR > 1 { print NR - 1, $1, (NF > 1 ? $2 : "NaN") }' "$frames" >"$data"
counted=$(awk '$3 != "NaN" { n++ } END { print n + 0 }' "$data")
gnuplot <<GNUPLOT
set terminal $terminal
set output '$picture'
set title '$title'
set xlabel 'frame'
set ylabel 'frame time (ms)'
set grid
set key top left
set yrange [0:*]
$(if [ "$counted" -gt 0 ]; then
    echo "set y2label 'projectiles alive'"
    echo "set y2tics"
    echo "set y2range [0:*]"
    echo "plot '$data' using 1:2 with lines lw 1 lc rgb '#c03030' title 'frame time', '$data' using 1:3 axes x1y2 with lines lw 2 lc rgb '#3060c0' title 'projectiles'"
else
    echo "plot '$data' using 1:2 with lines lw 1 lc rgb '#c03030' title 'frame time'"
fi)
GNUPLOT
echo "frame-graph: $picture"
