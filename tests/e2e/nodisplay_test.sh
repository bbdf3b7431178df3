#!/bin/sh
# Started without any X display, the program says how to run it under Xvfb and
# ends with code 1 before it writes anything else.
. "$(dirname "$0")/lib.sh"

WORK=$(mktemp -d /tmp/velq-e2e-XXXXXX)
unset DISPLAY
start_game
wait_for_exit
[ "$GAME_RC" -eq 1 ] || fail "exit code $GAME_RC, expected 1"
grep -q "xvfb-run" "$WORK/err.txt" || fail "no hint about xvfb-run: $(cat "$WORK/err.txt")"
[ ! -s "$WORK/out.txt" ] || fail "unexpected output: $(cat "$WORK/out.txt")"
echo "PASS: no X display"
