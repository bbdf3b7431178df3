#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# The help page, a notice and the result in English with language=en, by default German,
# told apart by where the glyphs reach: "F1: Help" ends a glyph before "F1: Hilfe",
# "Enemy paths" six after "Pfade", "YOU WON!" one before "GEWONNEN!".
. "$(dirname "$0")/lib.sh"
WHITE="r>0.85 && g>0.85 && b>0.85" GREEN="r<0.3 && g>0.6 && b<0.3"

# speaks ENGLISH ARGS...: level 1 without enemies, won at once, with help and notice.
speaks() {
    start_xvfb 800x600
    printf '30 30 s\n60 60 f\n' | use_map level1.map
    english=$1 && shift && start_game "$@"
    wait_for_line "Starting Kernel Loop from VELQ"
    press 5 seen "LEVEL CHANGE" 1
    wait_until shows 300 50 160 32 "$GREEN" 200
    press F1 shows 170 486 100 12 "$WHITE" 20
    press p shows 0 582 60 12 "$WHITE" 20
    # WHAT X Y W H TEST ENGLISH: the text's glyphs are in the rectangle when ENGLISH is 1.
    while read -r what x y w h test there; do
        n=$(count_pixels "$WORK/shot.png" "$x" "$y" "$w" "$h" "$(eval echo "\$$test")")
        { [ "$there" = 1 ] && [ "$n" -ge 10 ]; } || { [ "$there" = 0 ] && [ "$n" -le 2 ]; } || fail "$what: $n pixels"
    done <<EOT
help 284 486 14 12 WHITE $((1 - english))
notice 80 582 70 12 WHITE $english
result 474 54 16 24 GREEN $((1 - english))
EOT
    stop_game && kill "$XVFB_PID" && rm -rf "$WORK"
}
speaks 1 language=en
speaks 0
echo "PASS: the help page, a notice and the result in English with language=en, in German by default"
