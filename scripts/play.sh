#!/bin/sh
# Sets up, builds and starts the game from the build directory, where the
# Resources/ tree lives. Arguments are passed on as settings lines (screenX=1024 ...).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh" velq
if [ -z "${DISPLAY:-}" ]; then
    cat >&2 <<MSG
play: no display (DISPLAY is not set). To run the game without a screen, start it
under a virtual X server, with silent audio if there is no sound card:

    SDL_AUDIODRIVER=dummy xvfb-run -s "-screen 0 800x600x24" scripts/play.sh

MSG
    exit 1
fi
cd "$root/build"
exec ./velq "$@"
