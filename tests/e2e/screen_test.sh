#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# The game's 800 x 600 frame on other screens and windows: it fills them with its
# proportions kept between black bars, the title and the HUD scaled in their places;
# a click over a bar fires towards that edge; the pause key stops the countdown (the
# frames go on, the clock does not) and resumes it; losing the focus pauses and a
# click resumes; a game recorded with its pauses replays to its hash.
. "$(dirname "$0")/lib.sh"

RED="r>0.8 && g<0.5 && b<0.5"
WHITE="r>0.9 && g>0.9 && b>0.9"
LIT="r+g+b>0.05"

# frame_rect X Y W H: the frame's rectangle (pixels from its upper-left corner) on the
# screen of SCREEN_W x SCREEN_H that the game fills; sets RECT to "X Y W H".
frame_rect() {
    if [ $((SCREEN_W * 600)) -le $((SCREEN_H * 800)) ]; then
        fw=$SCREEN_W fh=$(((SCREEN_W * 600 + 400) / 800))
    else
        fh=$SCREEN_H fw=$(((SCREEN_H * 800 + 300) / 600))
    fi
    fx=$(((SCREEN_W - fw) / 2)) fy=$((SCREEN_H - (SCREEN_H - fh) / 2 - fh))
    RECT="$((fx + $1 * fw / 800)) $((fy + $2 * fh / 600)) $(($3 * fw / 800)) $(($4 * fh / 600))"
}

# count_at FILE X Y W H TEST: pixels of the screen rectangle (y downwards) passing TEST,
# sampled at every 4th pixel in big rectangles and scaled back.
count_at() {
    step=1
    [ $(($4 * $5)) -gt 40000 ] && step=4
    convert "$1" -crop "$4x$5+$2+$3" +repage -sample "$((100 / step))%" -fx "($6) ? 1 : 0" \
        -format "%[fx:round(mean*$4*$5)]" info: 2>/dev/null
}

# in_frame X Y W H TEST MIN [MAX]: a fresh screenshot has MIN (to MAX) pixels passing
# TEST in that rectangle of the frame.
in_frame() {
    screenshot "$WORK/shot.png"
    frame_rect "$1" "$2" "$3" "$4"
    # shellcheck disable=SC2086
    SHOWN=$(count_at "$WORK/shot.png" $RECT "$5")
    [ "${SHOWN:-0}" -ge "$6" ] && { [ -z "${7:-}" ] || [ "$SHOWN" -le "$7" ]; }
}

# frame_fills: the bars are black and the frame reaches them, lit, on the side they
# stand (the frame's own edge strips of 4 pixels).
frame_fills() {
    screenshot "$WORK/shot.png"
    frame_rect 0 0 800 600
    set -- $RECT
    if [ "$1" -gt 0 ]; then
        bars="0 0 $1 $SCREEN_H|$(($1 + $3)) 0 $((SCREEN_W - $1 - $3)) $SCREEN_H"
        edges="$1 0 4 $SCREEN_H|$(($1 + $3 - 4)) 0 4 $SCREEN_H" edge=$((4 * SCREEN_H))
    else
        bars="0 0 $SCREEN_W $2|0 $(($2 + $4)) $SCREEN_W $((SCREEN_H - $2 - $4))"
        edges="0 $2 $SCREEN_W 4|0 $(($2 + $4 - 4)) $SCREEN_W 4" edge=$((4 * SCREEN_W))
    fi
    IFS='|'
    for r in $bars; do
        IFS=' '
        # shellcheck disable=SC2086
        [ "$(count_at "$WORK/shot.png" $r "$LIT")" -eq 0 ] || fail "a bar is not black at $r"
    done
    IFS='|'
    for r in $edges; do
        IFS=' '
        # shellcheck disable=SC2086
        [ "$(count_at "$WORK/shot.png" $r "$LIT")" -ge $((edge * 9 / 10)) ] || fail "the frame does not reach $r"
    done
    IFS=' '
}

# seen_screenshots N: the game has written N screenshots.
seen_screenshots() { [ "$(grep -c "^Screenshot: " "$WORK/out.txt")" -ge "$1" ]; }

# countdown FILE: the countdown's digits (frame 384..432 x 584..600) cut out of FILE.
countdown() {
    frame_rect 384 580 48 20
    # shellcheck disable=SC2086
    set -- "$1" $RECT
    convert "$WORK/shot.png" -crop "$4x$5+$2+$3" +repage "$1"
}

# --- Full screen on 1920 x 1080: the frame at the desktop's size ------------------------
start_xvfb 1920x1080
SCREEN_W=1920 SCREEN_H=1080
export XDG_DATA_HOME="$WORK/data"
STEP_MS=100 start_game
wait_for_line "Starting Kernel Loop from VELQ"
[ "$(game_window_size)" = "1920x1080" ] || fail "full screen opened $(game_window_size)"
wait_until in_frame 100 60 110 40 "$RED" 300   # the title, scaled in its place
frame_fills

# The cursor over the right bar aims at the frame's right edge: the shotgun's white
# pellets fly right of the figure, along its height.
xdotool mousemove 1900 540
press 5 seen "LEVEL CHANGE" 1
press button1 in_frame 430 280 370 40 "$WHITE" 32

# Paused by the key: eight screenshots (each a press the game saw, a frame with the
# key up between) are sixteen frames, 1.6 seconds of a running clock at 100 ms a frame,
# and the countdown does not move; the screenshots hold the 800 x 600 frame.
press F9 seen "Paused" 1
wait_until in_frame 300 270 200 60 "$WHITE" 500  # "PAUSE"
screenshot "$WORK/shot.png"
countdown "$WORK/paused.png"
n=0
while [ $n -lt 8 ]; do
    n=$((n + 1))
    press F12 seen_screenshots $n
done
screenshot "$WORK/shot.png"
countdown "$WORK/still.png"
compare -metric AE "$WORK/paused.png" "$WORK/still.png" null: 2>/dev/null ||
    fail "the countdown moved while paused"
size=$(identify -format "%wx%h" "$(ls "$XDG_DATA_HOME"/velq/screenshots/*.png | head -n1)")
[ "$size" = "800x600" ] || fail "a screenshot of $size, not the 800x600 frame"
press F9 seen "Resumed" 1
countdown_moved() {
    screenshot "$WORK/shot.png"
    countdown "$WORK/now.png"
    ! compare -metric AE "$WORK/paused.png" "$WORK/now.png" null: 2>/dev/null
}
wait_until countdown_moved
stop_game

# --- A 1280 x 720 window: the focus lost and a click, recorded ----------------------------
kill "$XVFB_PID"
rm -rf "$WORK"
start_xvfb 1280x720
SCREEN_W=1280 SCREEN_H=720
start_game -fullscreen screenX=1280 screenY=720 --record "$WORK/paused.rec"
wait_for_line "Starting Kernel Loop from VELQ"
[ "$(game_window_size)" = "1280x720" ] || fail "the window is $(game_window_size)"
wait_until in_frame 100 60 110 40 "$RED" 150
frame_fills
game=$(xdotool search --name "^Velq!$" | head -n1)
xdotool mousemove 640 100
press 5 seen "LEVEL CHANGE" 1
xmessage -geometry 120x40+0+0 elsewhere 2>/dev/null &
OTHER_PID=$!
other_window() { OTHER=$(xdotool search --name "^xmessage$" | head -n1) && [ -n "$OTHER" ]; }
wait_until other_window
xdotool windowfocus "$OTHER"
wait_for_line "Paused"
wait_until in_frame 300 270 200 60 "$WHITE" 300
kill "$OTHER_PID"
xdotool windowfocus "$game"
xdotool mousemove 640 100
press button1 seen "Resumed" 1
quit_from_level
grep -q "^Recorded [0-9]* frames to $WORK/paused.rec" "$WORK/out.txt" || fail "no recording"
(cd "$WORK/game" && "$VELQ_BIN" --timedemo "$WORK/paused.rec" >"$WORK/replay.txt" 2>&1) ||
    fail "replay: $(tail -n 3 "$WORK/replay.txt")"
grep -q "^Paused$" "$WORK/replay.txt" && grep -q "^Resumed$" "$WORK/replay.txt" || fail "the replay did not pause"
grep -q "^Replay: $WORK/paused.rec matches the recording" "$WORK/replay.txt" ||
    fail "replay: $(grep "^Replay" "$WORK/replay.txt")"
echo "PASS: the frame fills any screen between black bars, the cursor and the pause follow"
