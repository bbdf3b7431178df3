#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package as a player gets it, without touching the machine's own package
# database: its control data and file list, the distribution's checkers on it, and
# the game unpacked into a scratch root, started from there by its launcher under a
# virtual X server up to a drawn frame and ended with Escape. The game writes only
# into the player's folders (its settings file and logs where the desktop keeps them); the root is left as unpacked, and removing the
# package's files leaves it empty.
#   VELQ_DEB=build-deb/velq_1.0_amd64.deb [VELQ_RESOURCES=build/Resources] sh package_test.sh
# VELQ_RESOURCES, when given, names a build's generated data, whose file names the
# package must carry.
export LC_ALL=C
: "${VELQ_DEB:?VELQ_DEB must name the package (scripts/package.sh builds it)}"
deb=$(readlink -f "$VELQ_DEB")
build_resources=${VELQ_RESOURCES:-}
# The game and its data as the package lays them out, below the root unpacked here.
launcher=/usr/games/velq
data=/usr/share/games/velq/Resources
VELQ_BIN=$launcher VELQ_RESOURCES=$data
. "$(dirname "$0")/../e2e/lib.sh"

start_xvfb 800x600
root=$WORK/root
# A player whose home and XDG folders are all in the scratch space.
player=$WORK/player
mkdir -p "$player/home"
export HOME="$player/home" XDG_DATA_HOME="$player/data" XDG_CONFIG_HOME="$player/config" \
    XDG_STATE_HOME="$player/state" XDG_CACHE_HOME="$player/cache"

# Control data: the name, a version, the games section, and dependencies that
# dpkg-shlibdeps found on the libraries the game links.
[ "$(dpkg-deb -f "$deb" Package)" = velq ] || fail "package name: $(dpkg-deb -f "$deb" Package)"
[ "$(dpkg-deb -f "$deb" Section)" = games ] || fail "section: $(dpkg-deb -f "$deb" Section)"
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libc6 libsdl1.2debian libsdl-mixer1.2 libglew libglut libglu1 libpng16-16; do
    echo "$depends" | grep -q "\(^\|, \)$lib" || fail "Depends lacks $lib: $depends"
done

# The file list: exactly these files and the folders above them (and above the game
# data) outside the game data, every one of the build's data files, nothing elsewhere.
dpkg-deb --fsys-tarfile "$deb" | tar -t | sed 's,^\./,/,; s,/$,,' | grep -v '^/*$' | sort >"$WORK/files.txt"
grep -v "^$data/" "$WORK/files.txt" | grep -vx "$data" >"$WORK/outside.txt"
for f in $launcher /usr/lib/games/velq/velq /usr/share/applications/velq.desktop /usr/share/doc/velq/changelog.gz \
    /usr/share/doc/velq/copyright /usr/share/icons/hicolor/scalable/apps/velq.svg /usr/share/man/man6/velq.6.gz \
    /usr/share/metainfo/org.example.velq.metainfo.xml /usr/share/locale/en/LC_MESSAGES/velq.mo "$data"; do
    [ "$f" = "$data" ] || echo "$f"
    while [ "$f" != /usr ]; do f=${f%/*}; echo "$f"; done
done | sort -u >"$WORK/expected.txt"
diff "$WORK/expected.txt" "$WORK/outside.txt" >"$WORK/diff.txt" ||
    fail "files outside the game data, expected (<) and packed (>): $(cat "$WORK/diff.txt")"
for folder in Maps Models Textures SFX; do
    grep -q "^$data/$folder/." "$WORK/files.txt" || fail "no game data in $data/$folder"
done
if [ -n "$build_resources" ]; then
    (cd "$build_resources" && find . -type f | sed "s,^\.,$data," | sort) >"$WORK/built.txt"
    comm -23 "$WORK/built.txt" "$WORK/files.txt" >"$WORK/missing.txt"
    [ ! -s "$WORK/missing.txt" ] || fail "game data missing from the package: $(cat "$WORK/missing.txt")"
fi

# The distribution's checkers: lintian on the package (no error, no warning), and on
# the unpacked files the manual page, the metadata and the menu entry.
lintian --fail-on error,warning "$deb" >"$WORK/lintian.txt" 2>&1 || fail "lintian: $(cat "$WORK/lintian.txt")"
dpkg-deb -x "$deb" "$root" || fail "dpkg-deb -x"
(cd "$root" && find . -printf '%p %y %s %m %T@\n' | sort) >"$WORK/unpacked.txt"
warnings=$(man --warnings -l "$root/usr/share/man/man6/velq.6.gz" 2>&1 >/dev/null)
[ -z "$warnings" ] || fail "man --warnings: $warnings"
appstreamcli validate --no-net "$root/usr/share/metainfo/org.example.velq.metainfo.xml" >"$WORK/appstream.txt" 2>&1 ||
    fail "appstreamcli: $(cat "$WORK/appstream.txt")"
desktop-file-validate "$root/usr/share/applications/velq.desktop" || fail "desktop-file-validate"
version=$(env -u DISPLAY "$root$launcher" --version 2>/dev/null)
[ "$version" = "Velq! $(dpkg-deb -f "$deb" Version)" ] || fail "--version says '$version', the package $(dpkg-deb -f "$deb" Version)"

# The unpacked game, started by its launcher from an empty folder.
mkdir -p "$WORK/start"
(cd "$WORK/start" && VELQ_FIXED_STEP_MS=16 exec "$root$launcher" -fullscreen >"$WORK/out.txt" 2>"$WORK/err.txt") &
GAME_PID=$!
wait_for_line "Starting Kernel Loop from VELQ"
# A frame on the screen: the red title in the upper left.
wait_until shows 60 420 200 120 "r>0.8 && g<0.4 && b<0.4" 100
press Escape seen "VELQ KillAllTasks" 1
wait_for_exit
[ "$GAME_RC" -eq 0 ] || fail "exit code $GAME_RC"
grep -qx "goodbye cruel world" "$WORK/out.txt" || fail "no clean shutdown"
[ -f "$XDG_STATE_HOME/velq/applog.txt" ] && [ -f "$XDG_CONFIG_HOME/velq/settings.esf" ] ||
    fail "no logs or settings in the player's folders for them: $(find "$player")"
[ -z "$(ls -A "$WORK/start")" ] || fail "written to the starting folder: $(ls -A "$WORK/start")"
(cd "$root" && find . -printf '%p %y %s %m %T@\n' | sort) >"$WORK/played.txt"
diff "$WORK/unpacked.txt" "$WORK/played.txt" >"$WORK/diff.txt" ||
    fail "the game changed its installation: $(cat "$WORK/diff.txt")"

# Removed as dpkg removes it: the package's files, then its folders once empty.
sort -r "$WORK/files.txt" | while read -r path; do
    if [ -d "$root$path" ] && [ ! -L "$root$path" ]; then
        rmdir "$root$path" 2>/dev/null || true
    else
        rm -f "$root$path"
    fi
done
left=$(cd "$root" && find . -mindepth 1)
[ -z "$left" ] || fail "left behind after removing the package's files: $left"
echo "PASS: package $(basename "$deb"): control data, files, lintian, manual page, metadata, menu entry, first frame, clean quit and removal"
