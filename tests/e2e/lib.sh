# SPDX-License-Identifier: GPL-3.0-or-later
# Shared pieces of the end-to-end tests: a private X server, the game started in a
# scratch directory with the generated Resources/, and waits on its console output.
# Waits are on conditions (a line appears, the process ends), bounded by a
# generous limit so a hang fails instead of blocking CI.

set -u

: "${VELQ_BIN:?VELQ_BIN must name the velq executable}"
: "${VELQ_RESOURCES:?VELQ_RESOURCES must name the generated Resources directory}"
export SDL_AUDIODRIVER=dummy
LIMIT_SECONDS=${LIMIT_SECONDS:-120}

fail() {
    echo "FAIL: $*" >&2
    if [ -n "${WORK:-}" ] && [ -f "$WORK/out.txt" ]; then
        echo "--- game output ---" >&2
        tail -n 40 "$WORK/out.txt" >&2
        echo "--- game errors ---" >&2
        tail -n 20 "$WORK/err.txt" >&2
    fi
    exit 1
}

cleanup() {
    [ -n "${GAME_PID:-}" ] && kill "$GAME_PID" 2>/dev/null
    [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null
    [ -n "${WORK:-}" ] && rm -rf "$WORK"
}
trap cleanup EXIT

# start_xvfb WIDTHxHEIGHT: a private X server; sets DISPLAY.
start_xvfb() {
    WORK=$(mktemp -d /tmp/velq-e2e-XXXXXX)
    exec 5>"$WORK/display"
    Xvfb -displayfd 5 -screen 0 "${1:-800x600}x24" -nolisten tcp >"$WORK/xvfb.log" 2>&1 &
    XVFB_PID=$!
    waited=0
    while [ ! -s "$WORK/display" ]; do
        waited=$((waited + 1))
        [ $waited -gt $((LIMIT_SECONDS * 10)) ] && fail "Xvfb did not start"
        sleep 0.1
    done
    exec 5>&-
    DISPLAY=":$(head -n1 "$WORK/display")"
    export DISPLAY
}

# use_map NAME: the game gets a Resources/ tree of its own whose map NAME (e.g.
# level1.map) is read from standard input as "ROW COLUMN CELL" lines on an empty 64 x 64
# field; everything else is the generated tree. Call before start_game.
use_map() {
    mkdir -p "$WORK/game/Resources/Maps"
    for d in "$VELQ_RESOURCES"/*; do
        [ "$(basename "$d")" = Maps ] || ln -s "$d" "$WORK/game/Resources/"
    done
    cp "$VELQ_RESOURCES"/Maps/* "$WORK/game/Resources/Maps/"
    awk 'NF == 3 { cell[$1, $2] = $3 }
         END { for (r = 0; r < 64; r++) { line = ""
                   for (c = 0; c < 64; c++) line = line (((r, c) in cell) ? cell[r, c] : ".")
                   print line } }' >"$WORK/game/Resources/Maps/$1"
}

# use_texture NAME: the game gets a Resources/ tree of its own (or keeps the one use_map
# made) whose texture NAME (e.g. floor1.tga) is read from standard input.
use_texture() {
    rm -f "$WORK/game/Resources/Textures"
    mkdir -p "$WORK/game/Resources/Textures"
    for d in "$VELQ_RESOURCES"/*; do
        [ -e "$WORK/game/Resources/$(basename "$d")" ] || ln -s "$d" "$WORK/game/Resources/"
    done
    ln -s "$VELQ_RESOURCES"/Textures/* "$WORK/game/Resources/Textures/"
    rm "$WORK/game/Resources/Textures/$1"
    cat >"$WORK/game/Resources/Textures/$1"
}

# start_game ARGS...: the game in $WORK/game with Resources/ linked in, at a fixed
# clock step (STEP_MS, default 16) so game time does not depend on machine speed.
start_game() {
    mkdir -p "$WORK/game"
    [ -e "$WORK/game/Resources" ] || ln -s "$VELQ_RESOURCES" "$WORK/game/Resources"
    [ -n "${SETTINGS:-}" ] && printf '%s' "$SETTINGS" >"$WORK/game/settings.esf"
    (cd "$WORK/game" && VELQ_FIXED_STEP_MS=${STEP_MS:-16} exec "$VELQ_BIN" "$@" >"$WORK/out.txt" 2>"$WORK/err.txt") &
    GAME_PID=$!
}

# launch ARGS...: an 800 x 600 X server and the game on it, up to its main loop.
launch() {
    start_xvfb 800x600
    start_game "$@"
    wait_for_line "Starting Kernel Loop from VELQ"
}

# stop_game: SIGTERM ends the run through the kernel, with exit code 0.
stop_game() {
    kill -TERM "$GAME_PID"
    wait_for_exit
    [ "$GAME_RC" -eq 0 ] || fail "exit code $GAME_RC"
}

# quit_from_level: Escape back to the selection level, a second one ends the run
# with exit code 0.
quit_from_level() {
    press Escape seen "LEVEL CHANGE" 2
    press Escape seen "VELQ KillAllTasks" 1
    wait_for_exit
    [ "$GAME_RC" -eq 0 ] || fail "exit code $GAME_RC"
}

# wait_for_line TEXT: until the game printed a line containing TEXT.
wait_for_line() {
    waited=0
    while ! grep -qF -- "$1" "$WORK/out.txt" 2>/dev/null; do
        kill -0 "$GAME_PID" 2>/dev/null || fail "game ended before printing '$1'"
        waited=$((waited + 1))
        [ $waited -gt $((LIMIT_SECONDS * 10)) ] && fail "no '$1' within ${LIMIT_SECONDS}s"
        sleep 0.1
    done
}

# wait_for_exit: until the game ends; sets GAME_RC.
wait_for_exit() {
    waited=0
    while kill -0 "$GAME_PID" 2>/dev/null; do
        waited=$((waited + 1))
        [ $waited -gt $((LIMIT_SECONDS * 10)) ] && fail "game did not end within ${LIMIT_SECONDS}s"
        sleep 0.1
    done
    wait "$GAME_PID"
    GAME_RC=$?
    GAME_PID=""
    # In a sanitizer build every report fails the test, whatever the exit code.
    ! grep -qE "ERROR: [A-Za-z]+Sanitizer|runtime error:" "$WORK/err.txt" 2>/dev/null ||
        fail "sanitizer report: $(grep -m1 -E "Sanitizer|runtime error:" "$WORK/err.txt")"
}

# expect_in_order FILE LINE...: each LINE appears as a whole line, after the previous one.
expect_in_order() {
    file=$1
    shift
    from=0
    for line in "$@"; do
        at=$(awk -v want="$line" -v from="$from" 'NR > from && $0 == want { print NR; exit }' "$file")
        [ -n "$at" ] || fail "line '$line' missing or out of order"
        from=$at
    done
}

# game_window_size: "WxH" of the largest top-level window on the display.
game_window_size() {
    xwininfo -root -children | awk '/^ +0x/ { for (i = 1; i <= NF; i++) if ($i ~ /^[0-9]+x[0-9]+\+/) { split($i, a, "+"); print a[1] } }' | sort -t x -k1,1n | tail -n1
}

# screenshot FILE: the whole screen as a PNG.
screenshot() {
    import -window root "$1" 2>/dev/null || fail "screenshot failed"
}

# count_pixels FILE X Y W H TEST: how many pixels of the rectangle (window pixels, y
# counted up from the bottom as the game draws) pass TEST, an ImageMagick fx
# expression on r, g, b in 0..1 (e.g. "r>0.6 && g<0.3 && b<0.3"). Big rectangles are
# sampled at every 2nd or 4th pixel (no blending) and the count scaled back.
count_pixels() {
    top=$((600 - $3 - $5))
    step=1
    [ $(($4 * $5)) -gt 20000 ] && step=2
    [ $(($4 * $5)) -gt 80000 ] && step=4
    convert "$1" -crop "$4x$5+$2+$top" +repage -sample "$((100 / step))%" -fx "($6) ? 1 : 0" \
        -format "%[fx:round(mean*$4*$5)]" info: 2>/dev/null
}

# shows X Y W H TEST MIN [MAX]: a fresh screenshot ($WORK/shot.png) has at least MIN
# (and, when given, at most MAX) pixels passing TEST in the rectangle.
shows() {
    screenshot "$WORK/shot.png"
    SHOWN=$(count_pixels "$WORK/shot.png" "$1" "$2" "$3" "$4" "$5")
    [ "${SHOWN:-0}" -ge "$6" ] && { [ -z "${7:-}" ] || [ "$SHOWN" -le "$7" ]; }
}

# differs FILE MIN: a fresh screenshot ($WORK/now.png) differs from FILE in at least
# MIN pixels.
differs() {
    screenshot "$WORK/now.png"
    SHOWN=$(compare -metric AE -fuzz 10% "$1" "$WORK/now.png" null: 2>&1)
    [ "${SHOWN%%.*}" -ge "$2" ]
}

# seen TEXT N: the game has printed at least N lines that are exactly TEXT.
seen() {
    [ "$(grep -cxF -- "$1" "$WORK/out.txt" 2>/dev/null)" -ge "$2" ]
}

# wait_until CHECK...: until the check (a command such as shows or seen) passes.
wait_until() {
    waited=0
    until "$@"; do
        kill -0 "$GAME_PID" 2>/dev/null || fail "game ended while waiting for: $*"
        waited=$((waited + 1))
        [ $waited -gt $((LIMIT_SECONDS * 4)) ] && fail "not within ${LIMIT_SECONDS}s: $* (last count ${SHOWN:-})"
        sleep 0.25
    done
}

# to_laser KEY: two presses of the weapon key, from the shotgun to the rocket launcher
# (a longer name in the lower-right corner, moved in from the edge), then to the laser
# machine gun.
to_laser() {
    white="r>0.85 && g>0.85 && b>0.85"
    shows 0 0 1 1 "1" 1
    before=$(count_pixels "$WORK/shot.png" 600 16 200 16 "$white")
    press "$1" shows 600 16 200 16 "$white" $((before * 6 / 5))
    before=$(count_pixels "$WORK/shot.png" 600 16 200 16 "$white")
    press "$1" shows 600 16 200 16 "$white" 0 $((before * 2 / 3))
}

# press KEY CHECK...: holds the key (or mouse button: button1 to button3) down until
# the check passes, then lets it go. The game polls the keyboard, so a key is only
# seen when it stays down over a frame, and a second press only when a frame saw it up
# in between: a press that goes unseen for two seconds is let go and made again.
press() {
    key=$1
    shift
    case $key in
        button*) down="mousedown ${key#button}" up="mouseup ${key#button}" ;;
        *) down="keydown $key" up="keyup $key" ;;
    esac
    waited=0
    until "$@"; do
        kill -0 "$GAME_PID" 2>/dev/null || fail "game ended while pressing $key for: $*"
        xdotool $down
        held=0
        until "$@" || [ $held -ge 8 ]; do
            held=$((held + 1))
            sleep 0.25
        done
        xdotool $up
        waited=$((waited + held))
        [ $waited -gt $((LIMIT_SECONDS * 4)) ] && fail "pressing $key: not within ${LIMIT_SECONDS}s: $*"
    done
}
