#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Includes point one way between the layers: app -> render -> gameplay -> world -> engine.
# The libraries catch a wrong-way call at link time; this catches a wrong-way header,
# which an inline function or a type alone would let through.
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
status=0
above() {
    case $1 in
    engine) echo "world gameplay render app" ;;
    world) echo "gameplay render app" ;;
    gameplay) echo "render app" ;;
    render) echo "app" ;;
    esac
}
for layer in engine world gameplay render; do
    for up in $(above $layer); do
        hits=$(grep -rnE "#include \"$up/" "$root/$layer" 2>/dev/null)
        if [ -n "$hits" ]; then
            echo "$layer includes $up:"
            echo "$hits"
            status=1
        fi
    done
done
# The platform's headers only in their corners: SDL_mixer in the sound manager, OpenGL in
# the drawing (and GLUT's start in main), SDL in the engine's clock, input, video and
# kernel, and where the sound manager and the program open and close it.
corner() {
    pattern=$1
    shift
    for f in $(cd "$root" && grep -rlE "#include <($pattern)" app engine world gameplay render); do
        allowed=no
        for a in "$@"; do
            case $f in $a) allowed=yes ;; esac
        done
        if [ $allowed = no ]; then
            echo "$f includes <$pattern> outside its corner"
            status=1
        fi
    done
}
corner "SDL_mixer.h" world/soundmanager.cpp
corner "GL/" "render/*" app/main.cpp
corner "SDL.h|SDL_syswm.h" engine/clock.cpp engine/inputtask.cpp engine/videotask.cpp engine/kernel.cpp \
    world/soundmanager.cpp app/application.cpp
# Every source file says its licence in its first lines.
for f in $(cd "$root" && git ls-files 2>/dev/null | grep -E '\.(cpp|h|c|sh)$|CMakeLists\.txt$'); do
    if [ -f "$root/$f" ] && ! head -3 "$root/$f" | grep -q 'SPDX-License-Identifier: '; then
        echo "$f: no SPDX-License-Identifier line at the top"
        status=1
    fi
done
[ $status -eq 0 ] && echo "PASS: includes point down the layers, the platform stays in its corners, every source file names its licence"
exit $status
