#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# What a player finds on the command line and in the window: --help (with the keys in
# force, in English, or in German where the locale is German) and --version without a display, the game itself without one saying how to run it under Xvfb (exit
# 1, nothing on standard output), an unknown option refused, -fullscreen in an 800 x 600 window
# titled "Velq!", Alt+Enter to full screen, F12 screenshots, and -sound without any
# audio driver.
. "$(dirname "$0")/lib.sh"

WORK=$(mktemp -d /tmp/velq-e2e-XXXXXX)
printf 'layout=azerty\n' >"$WORK/mine.esf"
env -u DISPLAY -u LANGUAGE LC_ALL=C.UTF-8 "$VELQ_BIN" --help --settings "$WORK/mine.esf" key.fire=f >"$WORK/help.txt" 2>&1 ||
    fail "--help: exit $?"
for want in "Usage: velq" "--record FILE" "fullscreen=1" "sound=1" "maxfps=0" "volumeFX=100" "Keys ("; do
    grep -qF -- "$want" "$WORK/help.txt" || fail "--help lacks '$want'"
done
for key in "key.help=f1 +help" "key.fire=f +fire" "key.forward=z,up +walk forward" "pad.fire=axis5\+,joy5 +fire"; do
    grep -qE "^  $key" "$WORK/help.txt" || fail "--help lacks the key row '$key'"
done
env -u DISPLAY -u LANGUAGE LC_ALL=de_DE.UTF-8 "$VELQ_BIN" --help language=fr >"$WORK/help.txt" 2>&1 &&
    [ "$(grep -cE '^Tasten \(|^  key.fire=space,mouse1 +feuern|language=fr": no catalog for that' "$WORK/help.txt")" -eq 3 ] ||
    fail "--help in a German locale: $(head -n 3 "$WORK/help.txt")"
[ "$(env -u DISPLAY "$VELQ_BIN" --version)" = "Velq! 1.0" ] || fail "--version"
(cd "$WORK" && env -u DISPLAY "$VELQ_BIN" >"$WORK/out.txt" 2>"$WORK/err.txt")
rc=$?
[ $rc -eq 1 ] && grep -q "xvfb-run" "$WORK/err.txt" && [ ! -s "$WORK/out.txt" ] ||
    fail "no display: exit $rc, $(cat "$WORK/out.txt" "$WORK/err.txt")"
env -u DISPLAY "$VELQ_BIN" screenX=640 --frobnicate >"$WORK/out.txt" 2>&1
rc=$?
[ $rc -eq 2 ] || fail "unknown option: exit $rc"
[ "$(wc -l <"$WORK/out.txt")" -eq 1 ] && grep -q -- "--frobnicate.*--help" "$WORK/out.txt" ||
    fail "unknown option: $(cat "$WORK/out.txt")"
rm -rf "$WORK"

start_xvfb 1024x768
export XDG_DATA_HOME="$WORK/data"
SDL_AUDIODRIVER=nosuchdriver
start_game -fullscreen -sound
wait_for_line "Starting Kernel Loop from VELQ"
[ "$(game_window_size)" = "800x600" ] || fail "-fullscreen: window $(game_window_size)"
xdotool search --name '^Velq!$' >/dev/null || fail "no window titled Velq!"

shot_taken() { grep -q "^Screenshot: " "$WORK/out.txt"; }
press F12 shot_taken
shot=$(sed -n 's/^Screenshot: //p' "$WORK/out.txt")
case "$shot" in "$XDG_DATA_HOME/velq/screenshots/velq-"*.png) ;; *) fail "screenshot at '$shot'" ;; esac
[ "$(identify -format '%w x %h' "$shot")" = "800 x 600" ] || fail "screenshot size"
mean=$(convert "$shot" -colorspace Gray -format "%[fx:round(mean*255)]" info:)
[ "$mean" -gt 20 ] || fail "screenshot is black (mean $mean)"
# Upright: the red title stands in the upper left, the white HUD at the bottom right.
[ "$(count_pixels "$shot" 60 420 200 120 "r>0.8 && g<0.4 && b<0.4")" -gt 100 ] || fail "screenshot upside down"

# Alt+Enter: the full screen covers the whole display.
window_is() { [ "$(game_window_size)" = "$1" ]; }
xdotool keydown alt
press Return window_is 1024x768
xdotool keyup alt

press Escape seen "VELQ KillAllTasks" 1
wait_for_exit
[ "$GAME_RC" -eq 0 ] || fail "exit code $GAME_RC"
grep -q "audio" "$WORK/err.txt" && fail "-sound still asked for audio: $(cat "$WORK/err.txt")"
echo "PASS: options, window, screenshot and silent play"
