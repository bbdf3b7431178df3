#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# The menu as a player uses it: F9 opens it over the pause; the music is turned down with
# the arrow keys and once more with the mouse on the value's left arrow; fire is rebound
# to f and fires with it; the file keeps its other lines, after a restart the settings
# are in force, and the game, recorded, replays to its hash. A settings folder the game
# cannot write gets its word, and the game plays on with the change.
. "$(dirname "$0")/lib.sh"

SETTINGS='# my own settings
unknownName=5
volumeMusic=100
screenX=800
'
start_xvfb 800x600
start_game -sound --record "$WORK/menu.rec"
wait_for_line "Starting Kernel Loop from VELQ"
RED="r>0.8 && g<0.5 && b<0.5"
PANEL="b>0.1 && b<0.25 && r<0.1"
xdotool mousemove 10 10

press F9 seen "Paused" 1
wait_until shows 120 240 560 120 "$PANEL" 20000
press Down seen "Menu: PAUSE / Optionen" 1
press Return seen "Menu: Optionen / Ton" 1
press Return seen "Menu: Ton / Effekte: < 100 % >" 1
press Down seen "Menu: Ton / Musik: < 100 % >" 1
press Left seen "Menu: Ton / Musik: < 90 % >" 1
# The Musik row's value: the sound page's four rows stand in a panel from y 214 to 386
# (from the bottom), the second row's text at y 297; the value begins at x 430.
xdotool mousemove 436 300
press button1 seen "Menu: Ton / Musik: < 80 % >" 1

# Fire on f: the controls page, eight rows down to "feuern", then the new key.
press Escape seen "Menu: Optionen / Ton" 2
press Down seen "Menu: Optionen / Steuerung" 1
press Return seen "Menu: Steuerung / Tastatur: < qwerty >" 1
for row in "Totzone der Sticks: < 20 % >" Standardbelegung "vorwärts: w,up" "rückwärts: s,down" \
    "nach links: a,left" "nach rechts: d,right" "feuern: space,mouse1"; do
    press Down seen "Menu: Steuerung / $row" 1
done
press Return seen "Menu: Steuerung / feuern: ..." 1
press f seen "Menu: Steuerung / feuern: f" 1
press F9 seen "Resumed" 1
# The laser machine gun leaves red trails where it fires.
xdotool mousemove 400 60
to_laser Tab
press f shows 200 120 400 300 "$RED" 64
press Escape seen "VELQ KillAllTasks" 1
wait_for_exit
[ "$GAME_RC" -eq 0 ] || fail "exit code $GAME_RC"
expected='# my own settings
unknownName=5
volumeMusic=80
screenX=800
key.fire=f'
[ "$(cat "$WORK/game/settings.esf")" = "$expected" ] ||
    fail "the settings file is now: $(cat "$WORK/game/settings.esf")"

(cd "$WORK/game" && "$VELQ_BIN" --timedemo "$WORK/menu.rec" >"$WORK/replay.txt" 2>&1) ||
    fail "replay: $(grep "^Replay" "$WORK/replay.txt")"
grep -q "^Menu: Steuerung / feuern: f$" "$WORK/replay.txt" || fail "the replay did not rebind fire"

# After a restart they are in force, and --help names the key.
(cd "$WORK/game" && "$VELQ_BIN" --help) | grep -q "key.fire=f " || fail "--help does not name f for fire"
SETTINGS="" start_game -sound
wait_for_line "Starting Kernel Loop from VELQ"
press F9 seen "Paused" 1
press Down seen "Menu: PAUSE / Optionen" 1
press Return seen "Menu: Optionen / Ton" 1
press Return seen "Menu: Ton / Effekte: < 100 % >" 1
press Down seen "Menu: Ton / Musik: < 80 % >" 1
stop_game

# A folder the game cannot write: the word on standard error and in the menu, the old
# file left as it was, and play goes on. Root writes anywhere, so the game runs as
# nobody then.
mkdir -p "$WORK/ro" "$WORK/nobody"
printf 'volumeFX=100\n' >"$WORK/ro/settings.esf"
ln -s "$VELQ_RESOURCES" "$WORK/nobody/Resources"
chmod 755 "$WORK" && chmod 555 "$WORK/ro" && chmod 777 "$WORK/nobody"
as=""
[ "$(id -u)" -eq 0 ] && as="setpriv --reuid=nobody --regid=nogroup --clear-groups"
(cd "$WORK/nobody" && VELQ_FIXED_STEP_MS=16 exec $as "$VELQ_BIN" -sound --settings "$WORK/ro/settings.esf" \
    >"$WORK/out.txt" 2>"$WORK/err.txt") &
GAME_PID=$!
wait_for_line "Starting Kernel Loop from VELQ"
press F9 seen "Paused" 1
press Down seen "Menu: PAUSE / Optionen" 1
press Return seen "Menu: Optionen / Ton" 1
press Return seen "Menu: Ton / Effekte: < 100 % >" 1
press Left seen "Menu: Ton / Effekte: < 90 % >" 1
grep -q "^VELQ: cannot keep the settings: .*ro/settings.esf: Permission denied; playing on" "$WORK/err.txt" ||
    fail "no word on standard error: $(cat "$WORK/err.txt")"
[ "$(cat "$WORK/ro/settings.esf")" = "volumeFX=100" ] || fail "the read-only file changed"
press F9 seen "Resumed" 1
stop_game
chmod 755 "$WORK/ro"
echo "PASS: the menu changes the volume by keys and mouse, rebinds fire, keeps the file's lines and says when it cannot"
