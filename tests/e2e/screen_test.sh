#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# The game's frame on other screens and windows: 600 lines high and, on a screen wider
# than 4:3, as wide as its shape, so it fills the screen with more of the level at the
# sides; -widescreen keeps 4:3 between black bars. The HUD keeps to its edges, the
# pause's menu to the middle, and a click near either edge fires exactly towards that
# point. The pause key stops the countdown (the frames go on, the clock does not) and
# resumes it; losing the focus pauses and a click resumes; games recorded on wide
# screens, with their pauses, replay to their hash, one of them in an 800 x 600 window.
. "$(dirname "$0")/lib.sh"

RED="r>0.8 && g<0.5 && b<0.5"
WHITE="r>0.9 && g>0.9 && b>0.9"
LIT="r+g+b>0.05"

# screen_is WxH [WIDE]: the screen the game fills; sets SCREEN_W, SCREEN_H and the
# frame's width FW (the game's own rule: the nearest even width of the screen's shape
# at 600 lines, 800 to 2400; 800 when WIDE is 0) and its rectangle FX FY FWIN FHIN on
# the screen (from the upper-left corner).
screen_is() {
    SCREEN_W=${1%x*} SCREEN_H=${1#*x}
    FW=800
    if [ "${2:-1}" -eq 1 ]; then
        FW=$((2 * ((SCREEN_W * 600 + SCREEN_H) / (2 * SCREEN_H))))
        [ $FW -lt 800 ] && FW=800
        [ $FW -gt 2400 ] && FW=2400
    fi
    if [ $FW -gt 800 ] && [ $FW -lt 2400 ]; then
        FX=0 FY=0 FWIN=$SCREEN_W FHIN=$SCREEN_H
    elif [ $((SCREEN_W * 600)) -le $((SCREEN_H * FW)) ]; then
        FWIN=$SCREEN_W FHIN=$(((SCREEN_W * 600 + FW / 2) / FW))
    else
        FHIN=$SCREEN_H FWIN=$(((SCREEN_H * FW + 300) / 600))
    fi
    FX=$(((SCREEN_W - FWIN) / 2)) FY=$(((SCREEN_H - FHIN) / 2))
}

# frame_rect X Y W H: that rectangle of the frame (its pixels from its upper-left
# corner) on the screen, as "X Y W H" in RECT.
frame_rect() {
    RECT="$((FX + $1 * FWIN / FW)) $((FY + $2 * FHIN / 600)) $(($3 * FWIN / FW)) $(($4 * FHIN / 600))"
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
# TEST in that rectangle of the frame; MIN may be a percentage ("90%").
in_frame() {
    screenshot "$WORK/shot.png"
    frame_rect "$1" "$2" "$3" "$4"
    # shellcheck disable=SC2086
    set -- $RECT "$5" "$6" "${7:-}"
    SHOWN=$(count_at "$WORK/shot.png" "$1" "$2" "$3" "$4" "$5")
    least=$6
    case $least in *%) least=$(($3 * $4 * ${least%\%} / 100)) ;; esac
    [ "${SHOWN:-0}" -ge "$least" ] && { [ -z "$7" ] || [ "$SHOWN" -le "$7" ]; }
}

# frame_fills: any bars are black and the frame reaches them, lit, on the side they
# stand (the frame's own edge strips of 4 pixels); without bars it reaches the screen's
# left and right edges.
frame_fills() {
    screenshot "$WORK/shot.png"
    if [ "$FY" -eq 0 ]; then
        bars="0 0 $FX $SCREEN_H|$((FX + FWIN)) 0 $((SCREEN_W - FX - FWIN)) $SCREEN_H"
        edges="$FX 0 4 $SCREEN_H|$((FX + FWIN - 4)) 0 4 $SCREEN_H" edge=$((4 * SCREEN_H))
    else
        bars="0 0 $SCREEN_W $FY|0 $((FY + FHIN)) $SCREEN_W $((SCREEN_H - FY - FHIN))"
        edges="0 $FY $SCREEN_W 4|0 $((FY + FHIN - 4)) $SCREEN_W 4" edge=$((4 * SCREEN_W))
    fi
    IFS='|'
    for r in $bars; do
        IFS=' '
        set -- $r
        [ "$3" -gt 0 ] || continue
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

# An empty level 1: the player in the middle, an enemy walled in a far corner, so the
# level is neither won nor lost, and nothing stands in the way of a shot.
empty_level() {
    echo "32 32 s"
    echo "60 60 f"
    for i in 2 3 4 5 6; do
        echo "2 $i w"
        echo "6 $i w"
        echo "$i 2 w"
        echo "$i 6 w"
    done
    echo "4 4 e"
}

# fired_towards X Y: a fresh screenshot shows the shotgun's white pellets of two shots or
# more flying from the figure (in the frame's middle) towards frame point (X, Y): the
# line they run along (the long axis of their pixels between 15 % and 95 % of the way)
# within 3 degrees of the cursor's. (The pellets of a shot start beside each other, so
# their line is beside the cursor's; a cursor read a sixth too short or long sideways
# turns it by 5 degrees or more.)
fired_towards() {
    screenshot "$WORK/shot.png"
    x0=$((FX + FW / 2 * FWIN / FW)) y0=$((FY + 300 * FHIN / 600))
    x1=$((FX + $1 * FWIN / FW)) y1=$((FY + $2 * FHIN / 600))
    left=$((x0 + (x1 - x0) * 15 / 100)) right=$((x0 + (x1 - x0) * 95 / 100))
    top=$((y0 + (y1 - y0) * 15 / 100)) bottom=$((y0 + (y1 - y0) * 95 / 100))
    [ $left -gt $right ] && { t=$left left=$right right=$t; }
    [ $top -gt $bottom ] && { t=$top top=$bottom bottom=$t; }
    left=$((left - 30)) top=$((top - 30)) right=$((right + 30)) bottom=$((bottom + 30))
    SHOWN=$(convert "$WORK/shot.png" -crop "$((right - left))x$((bottom - top))+$left+$top" +repage \
        -fx "($WHITE) ? 1 : 0" txt:- 2>/dev/null |
        awk -F'[,: ]+' -v dx=$((x1 - x0)) -v dy=$((y1 - y0)) -v scale="$FWIN / $FW" '
            /^[0-9]/ && /#FFFFFF|white/ { n++; sx += $1; sy += $2; sxx += $1 * $1; syy += $2 * $2; sxy += $1 * $2 }
            END {
                if (n < 6) { print "none"; exit }
                cxx = sxx / n - (sx / n) ^ 2; cyy = syy / n - (sy / n) ^ 2; cxy = sxy / n - sx * sy / n / n
                split(scale, f, " / "); len = sqrt(dx * dx + dy * dy)
                along = sqrt((dx * dx * cxx + 2 * dx * dy * cxy + dy * dy * cyy) / (len * len)) * f[2] / f[1]
                if (along < 60) { print "none"; exit }
                pi = atan2(0, -1); off = (0.5 * atan2(2 * cxy, cxx - cyy) - atan2(dy, dx)) * 180 / pi
                while (off > 90) off -= 180
                while (off < -90) off += 180
                printf "%d pixels, %.1f degrees off\n", n, off < 0 ? -off : off
            }')
    case $SHOWN in none) return 1 ;; esac
    off=${SHOWN##*, }
    [ "${off%%.*}" -lt 3 ] || fail "the pellets flew away from the cursor at $1,$2: $SHOWN"
}

# widened: on level 1, the strips beyond the 4:3 middle are drawn, the right column of
# the HUD (health) ends near the right edge, and a click near the right and near the
# left edge fires towards that point.
widened() {
    side=$(((FW - 800) / 2))
    [ $side -gt 0 ] || fail "the frame did not widen on $SCREEN_W x $SCREEN_H"
    wait_until in_frame 0 0 $side 600 "$LIT" 90%
    in_frame $((FW - side)) 0 $side 600 "$LIT" 90% || fail "the right strip is not drawn ($SHOWN)"
    in_frame $((FW - 72)) 584 44 16 "$WHITE" 4% || fail "the health is not at the right edge ($SHOWN)"
    for aim in "$((FW - 20)) 530" "20 40"; do
        # shellcheck disable=SC2086
        set -- $aim
        xdotool mousemove $((FX + $1 * FWIN / FW)) $((FY + $2 * FHIN / 600))
        press button1 fired_towards "$1" "$2"
    done
}

# --- Full screen on 1920 x 1080: widened, paused, recorded -------------------------------
start_xvfb 1920x1080
screen_is 1920x1080
export XDG_DATA_HOME="$WORK/data"
empty_level | use_map level1.map
STEP_MS=100 start_game --record "$WORK/wide.rec"
wait_for_line "Starting Kernel Loop from VELQ"
[ "$(game_window_size)" = "1920x1080" ] || fail "full screen opened $(game_window_size)"
wait_until in_frame 100 60 110 40 "$RED" 300   # the title, at its place from the left
frame_fills
press 5 seen "LEVEL CHANGE" 1
widened

# Paused by the key: eight screenshots (each a press the game saw, a frame with the
# key up between) are sixteen frames, 1.6 seconds of a running clock at 100 ms a frame,
# and the countdown does not move; the screenshots hold the frame, without bars.
countdown() {
    frame_rect $((FW / 2 - 16)) 580 48 20
    # shellcheck disable=SC2086
    set -- "$1" $RECT
    convert "$WORK/shot.png" -crop "$4x$5+$2+$3" +repage "$1"
}
press F9 seen "Paused" 1
wait_until in_frame $((FW / 2 - 100)) 225 200 40 "$WHITE" 2%  # the menu's "PAUSE", centred
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
[ "$size" = "${FW}x600" ] || fail "a screenshot of $size, not the ${FW}x600 frame"
press F9 seen "Resumed" 1
countdown_moved() {
    screenshot "$WORK/shot.png"
    countdown "$WORK/now.png"
    ! compare -metric AE "$WORK/paused.png" "$WORK/now.png" null: 2>/dev/null
}
wait_until countdown_moved
quit_from_level

# replays FILE ARGS...: the recording plays back to its hash, with the settings given.
replays() {
    file=$1
    shift
    (cd "$WORK/game" && "$VELQ_BIN" "$@" --timedemo "$file" >"$WORK/replay.txt" 2>&1) ||
        fail "replay of $file: $(tail -n 3 "$WORK/replay.txt")"
    grep -q "^Replay: $file matches the recording" "$WORK/replay.txt" ||
        fail "replay: $(grep "^Replay" "$WORK/replay.txt")"
}
replays "$WORK/wide.rec" -fullscreen screenX=800 screenY=600

# --- Full screen on 1280 x 800; and with -widescreen, 4:3 between bars ----------------------
kill "$XVFB_PID"
rm -rf "$WORK"
start_xvfb 1280x800
screen_is 1280x800
empty_level | use_map level1.map
STEP_MS=100 start_game
wait_for_line "Starting Kernel Loop from VELQ"
frame_fills
press 5 seen "LEVEL CHANGE" 1
widened
stop_game
screen_is 1280x800 0
STEP_MS=100 start_game -widescreen
wait_for_line "Starting Kernel Loop from VELQ"
wait_until in_frame 100 60 110 40 "$RED" 150
frame_fills
stop_game

# --- A 1000 x 400 window: widened; the focus lost and a click, recorded ---------------------
kill "$XVFB_PID"
rm -rf "$WORK"
start_xvfb 1000x400
screen_is 1000x400
empty_level | use_map level1.map
start_game -fullscreen screenX=1000 screenY=400 --record "$WORK/paused.rec"
wait_for_line "Starting Kernel Loop from VELQ"
[ "$(game_window_size)" = "1000x400" ] || fail "the window is $(game_window_size)"
wait_until in_frame 100 60 110 40 "$RED" 100
game=$(xdotool search --name "^Velq!$" | head -n1)
press 5 seen "LEVEL CHANGE" 1
widened
xdotool mousemove 500 100  # the game's, not under the window that takes the focus
xmessage -geometry 120x40+0+0 elsewhere 2>/dev/null &
OTHER_PID=$!
other_window() { OTHER=$(xdotool search --name "^xmessage$" | head -n1) && [ -n "$OTHER" ]; }
wait_until other_window
xdotool windowfocus "$OTHER"
wait_for_line "Paused"
wait_until in_frame $((FW / 2 - 100)) 225 200 40 "$WHITE" 2%
kill "$OTHER_PID"
xdotool windowfocus "$game"
xdotool mousemove 500 100
press button1 seen "Resumed" 1
quit_from_level
grep -q "^Recorded [0-9]* frames to $WORK/paused.rec" "$WORK/out.txt" || fail "no recording"
replays "$WORK/paused.rec"
grep -q "^Paused$" "$WORK/replay.txt" && grep -q "^Resumed$" "$WORK/replay.txt" || fail "the replay did not pause"
echo "PASS: the frame widens to any screen's shape, its HUD at the edges, the cursor and the pause follow"
