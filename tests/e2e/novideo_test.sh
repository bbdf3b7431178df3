#!/bin/sh
# Bad settings and a window that cannot be opened: every line that means nothing is
# named with its source on standard error while standard output stays as it was; a
# mode the display refuses falls back to the default one; with no window at all the
# run ends at once with exit code 1 and the reason.
. "$(dirname "$0")/lib.sh"

start_xvfb 800x600
SETTINGS="screnX=1024
screenBPP=7
screenY=768
"
start_game screenX=1024 maxfps=-1
wait_for_line "Starting Kernel Loop from VELQ"
size=$(game_window_size)
[ "$size" = "800x600" ] || fail "expected the default 800x600 window, found '$size'"
stop_game
cat >"$WORK/want.txt" <<'END'
settings.esf:2: "screenBPP=7": must be 16, 24 or 32; screenBPP stays 16
command line: "maxfps=-1": must be 0 or more; maxfps stays 0
VELQ: cannot open the window of screenX=1024, screenY=768, screenBPP=16 (full screen): No video mode large enough for 1024x768
VELQ: opening the default window instead: 800x600 at 16 bits per pixel (full screen)
settings.esf:1: "screnX=1024": no such setting; ignored
END
cmp -s "$WORK/want.txt" "$WORK/err.txt" || fail "standard error: $(diff "$WORK/want.txt" "$WORK/err.txt")"
grep -q "setting\|VELQ:" "$WORK/out.txt" && fail "a warning on standard output"
grep -q "Unable to set the video mode 1024x768 at 16 bits per pixel" "$WORK/game/clntlog.txt" ||
    fail "client log has no video-mode message: $(cat "$WORK/game/clntlog.txt")"

# A screen too small even for the default mode: no windowless game runs on.
kill "$XVFB_PID"
rm -rf "$WORK"
start_xvfb 640x480
SETTINGS=""
start_game
wait_for_exit
[ "$GAME_RC" -eq 1 ] || fail "exit code $GAME_RC, not 1"
grep -q "Starting Kernel Loop" "$WORK/out.txt" && fail "the kernel loop ran without a window"
cat >"$WORK/want.txt" <<'END'
VELQ: cannot open the window of screenX=800, screenY=600, screenBPP=16 (full screen): No video mode large enough for 800x600
VELQ: there is no window to play in; the game ends
END
cmp -s "$WORK/want.txt" "$WORK/err.txt" || fail "standard error: $(diff "$WORK/want.txt" "$WORK/err.txt")"
grep -q "goodbye cruel world" "$WORK/out.txt" || fail "no clean shutdown"
echo "PASS: bad settings named, default window as fallback, no window ends the run"
