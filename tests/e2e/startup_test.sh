#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# The real program starts, prints its start-up lines in order (all nine tasks, the
# game's own spelling included), loads the selection level with every model, opens its
# window at the configured size (file first, then the command line), and shuts down cleanly.
. "$(dirname "$0")/lib.sh"

start_xvfb 1024x768
SETTINGS="screenX=640
screenY=480
"
start_game screenX=1024 screenY=768
wait_for_line "Starting Kernel Loop from VELQ"

size=$(game_window_size)
[ "$size" = "1024x768" ] || fail "expected a 1024x768 window, found '$size'"

# Until the game has its quit key, SIGTERM ends the run through the kernel.
stop_game

expect_in_order "$WORK/out.txt" \
    "hello world" \
    "VELQ started: Creating Log Files" \
    "starting Settings Manager and Kernel... done." \
    "Add Video Task..." \
    "Add Input Task..." \
    "Add Timer Task..." \
    "Add Game Task..." \
    "Loading Map Resources/Maps/select.map" \
    "Player spawning Point added" \
    "Flag added" \
    "Loading Sound Files" \
    "depth: 1" \
    "Add Render Task..." \
    "Add Inpute Handle Task..." \
    "Add Enemy AI Task..." \
    "Add Tower AI Task..." \
    "Add Movement Task..." \
    "Starting Kernel Loop from VELQ" \
    "goodbye cruel world"
grep -q "^Total Objects in SceneGraph: [1-9][0-9]*$" "$WORK/out.txt" || fail "no scene-graph total"
grep -q "Unable to open MD2 File\|rejected" "$WORK/out.txt" && fail "a model did not load"
[ -s "$WORK/err.txt" ] && fail "unexpected standard error: $(cat "$WORK/err.txt")"
[ -f "$WORK/game/applog.txt" ] && [ -f "$WORK/game/clntlog.txt" ] && [ -f "$WORK/game/srvrlog.txt" ] ||
    fail "log files missing"
[ ! -s "$WORK/game/clntlog.txt" ] || fail "client log not empty: $(cat "$WORK/game/clntlog.txt")"
echo "PASS: start-up and shutdown"
