#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Plays the game for a long while with random but seeded input and watches it:
#   scripts/soak.sh [MINUTES] [SEED]      (default 1 minute, seed 1)
# Under a private X server, a driver changes levels, walks, aims, fires every weapon,
# places towers and the ring, flips every toggle and the sound, opens the pause's menu
# and changes the volumes and the graphics there, while the game's resident memory is
# sampled every 10 s. Fails when the game ends on its own (a crash
# or an assertion), or when its memory grows by more than 10 % after the first minute.
# Needs a build (scripts/build.sh velq velq_resources).
set -u
minutes=${1:-1}
seed=${2:-1}
root=$(cd "$(dirname "$0")/.." && pwd)
export VELQ_BIN="$root/build/velq" VELQ_RESOURCES="$root/build/Resources"
# Mesa's llvmpipe keeps what it compiles for each new drawing state, and over a long
# game its memory steps up for a long while, with the game's own heap unchanged.
# softpipe compiles nothing, so the curve shows what the game holds, its textures and
# display lists included. GALLIUM_DRIVER=llvmpipe soaks the usual driver instead.
GALLIUM_DRIVER=${GALLIUM_DRIVER:-softpipe}
export GALLIUM_DRIVER
[ -x "$VELQ_BIN" ] || { echo "soak: build the game first (scripts/build.sh velq velq_resources)" >&2; exit 1; }
LIMIT_SECONDS=60
. "$root/tests/e2e/lib.sh"

start_xvfb 800x600
export XDG_DATA_HOME="$WORK/data"  # F12 screenshots land here
STEP_MS=16
start_game -fullscreen
wait_for_line "Starting Kernel Loop from VELQ"

rss() { awk '/^VmRSS:/ { print $2 }' "/proc/$GAME_PID/status" 2>/dev/null; }
alive() {
    kill -0 "$GAME_PID" 2>/dev/null && return 0
    wait "$GAME_PID"
    fail "the game ended by itself (exit $?) after $(( $(date +%s) - started )) s"
}

# One action per line: "key NAME MS", "button N MS", "move X Y", "back LEVELKEY",
# "menu PAGE ROW" (the options' page, 0 sound or 3 graphics, and the row to change).
awk -v seed="$seed" 'BEGIN {
    srand(seed)
    split("w a s d Up Down Left Right space space space Tab z c 1 2 o i Prior Next", play, " ")
    split("F1 F2 F3 F4 F5 F6 F7 F8 y p m F12", toggle, " ")
    for (i = 0; i < 200000; i++) {
        r = rand()
        if (r < 0.45) printf "key %s %d\n", play[int(rand() * 20) + 1], 50 + int(rand() * 600)
        else if (r < 0.65) printf "move %d %d\n", int(rand() * 800), int(rand() * 600)
        else if (r < 0.78) printf "button %d %d\n", (rand() < 0.6 ? 1 : (rand() < 0.5 ? 2 : 3)), 50 + int(rand() * 400)
        else if (r < 0.91) printf "key %s 80\n", toggle[int(rand() * 12) + 1]
        else if (r < 0.96) printf "back %d\n", 5 + int(rand() * 4)
        else printf "menu %d %d\n", (rand() < 0.5 ? 0 : 3), int(rand() * 3)
    }
}' >"$WORK/actions.txt"

tap() { xdotool keydown "$1"; sleep 0.1; xdotool keyup "$1"; }
# menu PAGE ROW: the pause's menu, Options, the page, a row's value changed, and
# Escape page by page until the game resumes (never the menu's Quit or a rebinding).
# Each key is held until the menu answers with a line, however slowly the game draws.
answered() { [ "$(grep -c "^Menu: " "$WORK/out.txt")" -gt "$1" ] || seen "Resumed" "$2"; }
step() { press "$1" answered "$(grep -c "^Menu: " "$WORK/out.txt")" $(($(grep -cx "Resumed" "$WORK/out.txt") + 1)); }
menu() {
    resumed=$(grep -cx "Resumed" "$WORK/out.txt")
    xdotool mousemove 2 2  # in a corner, off the menu's rows, which follow the pointer
    press F9 answered "$(grep -c "^Menu: " "$WORK/out.txt")" 1000000  # paused, its first row told
    step Down; step Return
    i=0; while [ $i -lt "$1" ]; do step Down; i=$((i + 1)); done
    step Return
    i=0; while [ $i -lt "$2" ]; do step Down; i=$((i + 1)); done
    # A value at its end does not move to the right: then to the left; a switch that
    # takes neither is switched with Return.
    told=$(grep -c "^Menu: " "$WORK/out.txt")
    for k in Right Left Return; do
        # Held (up to 3 s) rather than tapped: a slow renderer polls the keys seldom.
        xdotool keydown "$k"
        i=0; while [ $i -lt 12 ] && ! answered "$told" 1000000; do sleep 0.25; i=$((i + 1)); done
        xdotool keyup "$k"
        answered "$told" 1000000 && break
    done
    answered "$told" 1000000 || fail "the menu changed no value"
    while ! seen "Resumed" $((resumed + 1)); do step Escape; done
}
started=$(date +%s)
# Warm-up, inside the first minute where the machine allows: every level once, every
# toggle on and then off again with every weapon fired in between, so each drawing
# state and every level's data has been met before memory is measured against that
# minute. When the warm-up takes longer, the first sample follows it.
# The driver ends in level 4: it presses Escape only inside a level.
n=0
for level in 5 6 7 8; do
    if [ "$n" -gt 0 ]; then
        press Escape seen "LEVEL CHANGE" $((n + 1))
        n=$((n + 1))
    fi
    press "$level" seen "LEVEL CHANGE" $((n + 1))
    n=$((n + 1))
    for k in F1 F2 F3 F4 F5 F6 F7 F8 y p; do tap "$k"; tap space; tap 1; tap Tab; done
    for k in F1 F2 F3 F4 F5 F6 F7 F8 y p; do tap "$k"; tap 2; tap space; done
done
ends=$((started + minutes * 60))
next_sample=$(date +%s)  # the first sample when the warm-up is done
samples=""
first_minute=""
worst=0
exec 6<"$WORK/actions.txt"
while [ "$(date +%s)" -lt "$ends" ]; do
    now=$(date +%s)
    if [ "$now" -ge "$next_sample" ]; then
        alive
        kb=$(rss)
        samples="$samples $((now - started))s:${kb}kB"
        if [ $((now - started)) -ge 60 ]; then
            [ -z "$first_minute" ] && first_minute=$kb
            [ "$kb" -gt "$worst" ] && worst=$kb
        fi
        next_sample=$((next_sample + 10))
    fi
    read -r what a b <&6 || break
    case $what in
        key) xdotool keydown "$a"; sleep "$(awk -v ms="$b" 'BEGIN { print ms / 1000 }')"; xdotool keyup "$a" ;;
        button) xdotool mousedown "$a"; sleep "$(awk -v ms="$b" 'BEGIN { print ms / 1000 }')"; xdotool mouseup "$a" ;;
        move) xdotool mousemove "$a" "$b" ;;
        # Back to the selection level and, once the game has gone there, straight into
        # a level: an Escape on the selection level would quit.
        back) n=$(grep -cx "LEVEL CHANGE" "$WORK/out.txt")
              press Escape seen "LEVEL CHANGE" $((n + 1))
              press "$a" seen "LEVEL CHANGE" $((n + 2)) ;;
        menu) menu "$a" "$b" ;;
    esac
done
alive
end_kb=$(rss)
samples="$samples end:${end_kb}kB"
# Quit as the window manager would; the game shuts down cleanly.
kill -TERM "$GAME_PID"
wait_for_exit
[ "$GAME_RC" -eq 0 ] || fail "exit code $GAME_RC after SIGTERM"
grep -q "Assertion" "$WORK/err.txt" && fail "an assertion fired: $(grep Assertion "$WORK/err.txt")"
grep -q "^goodbye cruel world$" "$WORK/out.txt" || fail "no clean shutdown"
echo "soak: memory$samples"
if [ -n "$first_minute" ] && [ $((worst * 10)) -gt $((first_minute * 11)) ]; then
    fail "memory grew from ${first_minute} kB after the first minute to ${worst} kB"
fi
echo "PASS: soak of $minutes minute(s), seed $seed, $GALLIUM_DRIVER, $(grep -c "LEVEL CHANGE" "$WORK/out.txt") level changes, $(grep -cx "Resumed" "$WORK/out.txt") menu visits"
