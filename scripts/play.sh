#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Sets up, builds and starts the game from the build directory, where the
# Resources/ tree lives. Arguments are passed on as settings lines (screenX=1024 ...).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh" velq
if [ -z "${DISPLAY:-}" ]; then
    cat >&2 <<MSG
play: no display (DISPLAY is not set). To run the game without a screen, start it
under a virtual X server (without a sound card the game plays silently):

    xvfb-run -s "-screen 0 800x600x24" scripts/play.sh

MSG
    exit 1
fi
cd "$root/build"
# Without a sound card or sound server (a virtual X server, a container) the game
# would stop at the audio device; play silently instead, unless the caller chose
# an audio driver.
if [ -z "${SDL_AUDIODRIVER:-}" ] && [ ! -e /dev/snd ] && [ ! -e /dev/dsp ] &&
    [ ! -S "${XDG_RUNTIME_DIR:-/nonexistent}/pulse/native" ] &&
    [ ! -S "${XDG_RUNTIME_DIR:-/nonexistent}/pipewire-0" ]; then
    echo "play: no sound card or sound server found; playing without sound (-sound)" >&2
    set -- -sound "$@"
fi
exec ./velq "$@"
