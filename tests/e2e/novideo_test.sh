#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Bad settings and a window that cannot be opened: every line that means nothing is
# named with its source on standard error while standard output stays as it was; a
# window the display refuses falls back to the default one; full screen on a screen
# smaller than the frame opens at the screen's size, the frame scaled down.
. "$(dirname "$0")/lib.sh"

start_xvfb 800x600
SETTINGS="screnX=1024
screenBPP=7
screenY=768
"
start_game -fullscreen screenX=16384 screenY=16384 maxfps=-1
wait_for_line "Starting Kernel Loop from VELQ"
size=$(game_window_size)
[ "$size" = "800x600" ] || fail "expected the default 800x600 window, found '$size'"
stop_game
cat >"$WORK/want.txt" <<'END'
settings.esf:2: "screenBPP=7": must be 16, 24 or 32; screenBPP stays 16
command line: "maxfps=-1": must be 0 or more; maxfps stays 0
VELQ: cannot open the window of screenX=16384, screenY=16384, screenBPP=16 (in a window): A scanline is too wide
VELQ: opening the default window instead: 800x600 at 16 bits per pixel (in a window)
settings.esf:1: "screnX=1024": no such setting; ignored
END
cmp -s "$WORK/want.txt" "$WORK/err.txt" || fail "standard error: $(diff "$WORK/want.txt" "$WORK/err.txt")"
grep -q "setting\|VELQ:" "$WORK/out.txt" && fail "a warning on standard output"
grep -q "Unable to set the video mode 16384x16384 at 16 bits per pixel" "$WORK/game/clntlog.txt" ||
    fail "client log has no video-mode message: $(cat "$WORK/game/clntlog.txt")"

# A screen smaller than the frame: full screen at its size, the frame scaled down to
# it (the title in its place, two thirds as large), nothing to say.
kill "$XVFB_PID"
rm -rf "$WORK"
start_xvfb 640x480
SETTINGS=""
start_game
wait_for_line "Starting Kernel Loop from VELQ"
[ "$(game_window_size)" = "640x480" ] || fail "full screen opened $(game_window_size) on a 640x480 screen"
# The title's red: frame pixels 100..210 x 60..100 (from the top) times 0.8, given to
# shows as counted up from the bottom of an 800 x 600 screen (top 48 is 600 - 520 - 32).
wait_until shows 80 520 88 32 "r>0.8 && g<0.5 && b<0.5" 100
stop_game
[ ! -s "$WORK/err.txt" ] || fail "standard error: $(cat "$WORK/err.txt")"
echo "PASS: bad settings named, default window as fallback, a small screen gets the frame scaled down"
