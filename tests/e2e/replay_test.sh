#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Recorded games: a game played here with --record replays with --replay to the same
# state hash, the kept recordings of level 1 still replay to theirs (a change to how
# the game plays shows up here), --timedemo reports its frame rate, and a file that
# is cut short or from another version is refused before any window opens. No game
# leaves an object alive at exit.
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/games.sh"

# replays FILE [OPTION]: the game plays FILE back and says it matched.
replays() {
    (cd "$WORK/game" && "$VELQ_BIN" "${2:---replay}" "$1" >"$WORK/replay.txt" 2>&1) ||
        fail "replay of $1: exit $? $(tail -n 3 "$WORK/replay.txt")"
    grep -q "^Replay: $1 matches the recording" "$WORK/replay.txt" ||
        fail "replay of $1: $(grep "^Replay" "$WORK/replay.txt")"
    # A whole game (start, level 1, play, back, quit) leaves no object alive: the
    # memory manager reports survivors into the application log at exit.
    [ -f "$WORK/game/applog.txt" ] || fail "no application log after $1"
    ! grep "Object still alive at exit" "$WORK/game/applog.txt" || fail "survivors after $1"
}

start_xvfb 800x600
play_walk_and_fire "$WORK/game.rec"
replays "$WORK/game.rec"

# The kept games: one as a timedemo, which checks its hash all the same.
how=--timedemo
for kept in "$VELQ_TEST_DATA"/replays/*.rec; do
    replays "$kept" $how
    if [ "$how" = --timedemo ]; then
        grep -q "^Timedemo: [0-9]* frames, [0-9.]* frames per second, worst 1% frame [0-9.]* ms$" "$WORK/replay.txt" ||
            fail "timedemo: $(cat "$WORK/replay.txt")"
    fi
    how=--replay
done

# Refused with the reason, exit 1, nothing written and no display needed.
mkdir "$WORK/refused"
head -c 100 "$WORK/game.rec" >"$WORK/refused/cut.rec"
sed 's/Velq! 1\.0/Velq! 0.9/' "$WORK/game.rec" >"$WORK/refused/old.rec"
for bad in cut:"truncated" old:"recorded by Velq! 0.9, this is Velq! 1.0"; do
    file=$WORK/refused/${bad%%:*}.rec
    (cd "$WORK/refused" && env -u DISPLAY "$VELQ_BIN" --replay "$file" >"$WORK/out.txt" 2>&1)
    rc=$?
    [ $rc -eq 1 ] || fail "replay of ${bad%%:*}.rec: exit $rc"
    grep -q "^VELQ: cannot replay $file: .*${bad#*:}" "$WORK/out.txt" || fail "$(cat "$WORK/out.txt")"
done
[ "$(ls "$WORK/refused")" = "$(printf 'cut.rec\nold.rec')" ] || fail "a refused replay wrote $(ls "$WORK/refused")"
echo "PASS: recorded games replay to their hashes"
