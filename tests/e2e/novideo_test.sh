#!/bin/sh
# A video mode that cannot be set: message 9 goes to the client log, the video
# task stays out of the loop and the program goes on without a window.
. "$(dirname "$0")/lib.sh"

launch screenX=100000 screenY=100000
stop_game
grep -q "Unable to set the video mode 100000x100000 at 16 bits per pixel" "$WORK/game/clntlog.txt" ||
    fail "client log has no video-mode message: $(cat "$WORK/game/clntlog.txt")"
grep -q "goodbye cruel world" "$WORK/out.txt" || fail "no clean shutdown"
echo "PASS: video mode refused"
