#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# velq --check as a modder runs it, with no display and no audio driver named: the
# game's own data in the working folder passes clean, a folder with a good and a broken
# level gets its lines and exit 1, and the check with a replay is bad usage (exit 2).
. "$(dirname "$0")/lib.sh"

WORK=$(mktemp -d /tmp/velq-check-XXXXXX)
cd "$WORK" || fail "no scratch folder"
check() { env -u DISPLAY -u SDL_AUDIODRIVER "$VELQ_BIN" --check "$@" >out.txt 2>err.txt; }

ln -s "$VELQ_RESOURCES" Resources
files=$(find -L Resources -type f | wc -l)
check || fail "the game's own data: exit $?"
[ "$(cat out.txt)" = "checked $files files: 0 errors, 0 warnings" ] && [ ! -s err.txt ] ||
    fail "the game's own data: $(cat out.txt err.txt)"

# Level 5: a tab among its cells, the start walled in, half a height field; a sound cut
# short and a texture of 200 x 128.
mkdir -p mymod/Maps mymod/SFX mymod/Textures
cp Resources/Maps/level1.map Resources/Maps/level1.map.raw mymod/Maps/
awk 'BEGIN { for (r = 0; r < 64; r++) { line = ""
                 for (c = 0; c < 64; c++) {
                     cell = (r == 0 || r == 63 || c == 0 || c == 63) ? "w" : "."
                     if (r >= 38 && r <= 42 && c >= 30 && c <= 36 && (r == 38 || r == 42 || c == 30 || c == 36)) cell = "w"
                     if (r == 2 && c == 17) cell = "\t"
                     if (r == 40 && c == 32) cell = "s"
                     if (r == 9 && c == 32) cell = "f"
                     line = line cell }
                 print line } }' >mymod/Maps/level5.map
head -c 524288 Resources/Maps/level1.map.raw >mymod/Maps/level5.map.raw
head -c 1000 Resources/SFX/dsplasma.ogg >mymod/SFX/laser.ogg
{ printf '\0\0\2\0\0\0\0\0\0\0\0\0\310\0\200\0\30\0'; head -c 76800 /dev/zero; } >mymod/Textures/wall1.tga
check mymod
rc=$?
cat >want.txt <<'EOF'
mymod/Maps/level5.map:3: warning: unknown cell '\x09' in column 18 is left empty
mymod/Maps/level5.map: warning: the player's start (s, line 41, column 33) cannot reach the flag (f, line 10, column 33): walls close it off
mymod/Maps/level5.map.raw: error: the height field has 524288 bytes, not 1048576
mymod/SFX/laser.ogg: warning: SDL_mixer: OGG bitstream is not valid Vorbis stream!; the game plays on without it
mymod/Textures/wall1.tga: warning: 200x128 has a side that is no power of two, which OpenGL 1.x cannot take
checked 6 files: 1 error, 4 warnings
EOF
[ $rc -eq 1 ] && diff want.txt out.txt >diff.txt && [ ! -s err.txt ] ||
    fail "a good and a broken level: exit $rc: $(cat diff.txt err.txt)"

check --replay Resources/x.rec
[ $? -eq 2 ] && grep -q -- "--check" err.txt || fail "--check with a replay: $(cat out.txt err.txt)"
echo "PASS: the game's data clean, a broken level named line by line, the check alone"
