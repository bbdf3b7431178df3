#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# An installation as a player gets it: the files under their prefixes, and the
# installed launcher, started through a link from an empty folder, running the game
# in the player's own folder with the data link, its settings (moved there once from
# where an older launcher kept them) in the desktop's folder for settings and its logs
# in the one for state, and checking the data it plays and the settings it reads.
. "$(dirname "$0")/lib.sh"
: "${VELQ_BUILD:?VELQ_BUILD must name the build directory}"

start_xvfb 800x600
# Nothing of the player's outside the scratch space.
export HOME="$WORK/home" XDG_CONFIG_HOME="$WORK/config" XDG_STATE_HOME="$WORK/state"
prefix=$WORK/prefix
cmake --install "$VELQ_BUILD" --prefix "$prefix" >"$WORK/install.txt" 2>&1 ||
    fail "cmake --install: $(tail -n 3 "$WORK/install.txt")"
for file in bin/velq libexec/velq/velq; do
    [ -x "$prefix/$file" ] || fail "$file is not installed as a program"
done
for file in share/applications/velq.desktop share/icons/hicolor/scalable/apps/velq.svg \
    share/metainfo/org.example.velq.metainfo.xml share/man/man6/velq.6.gz \
    share/doc/velq/copyright share/doc/velq/changelog.gz share/locale/en/LC_MESSAGES/velq.mo; do
    [ -s "$prefix/$file" ] || fail "$file is not installed"
done
# man finds the page below the prefix, and it names the installed files.
MANPATH=$prefix/share/man man 6 velq 2>/dev/null | grep -qF "$prefix/bin/velq" || fail "man velq: no page naming $prefix/bin/velq"
diff -r "$VELQ_RESOURCES" "$prefix/share/velq/Resources" >/dev/null || fail "installed game data differs from the build's"
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$prefix/share/applications/velq.desktop" || fail "menu entry does not validate"
fi

# The player's folder holds the settings an older launcher kept there and a stale link
# from another installation; the game starts from an empty folder through a link to the
# launcher.
home=$WORK/data/velq
mkdir -p "$home" "$WORK/start" "$WORK/links"
printf 'screenX=640\nscreenY=480\n' >"$home/settings.esf"
ln -s /nonexistent/Resources "$home/Resources"
ln -s "$prefix/bin/velq" "$WORK/links/velq"
(cd "$WORK/start" && XDG_DATA_HOME=$WORK/data VELQ_FIXED_STEP_MS=16 \
    exec "$WORK/links/velq" -fullscreen >"$WORK/out.txt" 2>"$WORK/err.txt") &
GAME_PID=$!
wait_for_line "Starting Kernel Loop from VELQ"
[ "$(game_window_size)" = "640x480" ] || fail "settings.esf not read: window $(game_window_size)"
press Escape seen "VELQ KillAllTasks" 1
wait_for_exit
[ "$GAME_RC" -eq 0 ] || fail "exit code $GAME_RC"
for log in applog.txt clntlog.txt srvrlog.txt; do
    [ -f "$WORK/state/velq/$log" ] || fail "$log is not in the state folder"
done
[ -f "$WORK/config/velq/settings.esf" ] && [ ! -e "$home/settings.esf" ] && grep -q "^velq: moved settings.esf" "$WORK/err.txt" ||
    fail "settings.esf not moved to the settings' folder: $(ls "$home" "$WORK/config/velq")"
[ -z "$(find "$home" -name '*.txt')" ] || fail "logs in the player's folder"
printf 'screenX=1\n' >"$home/settings.esf"  # older than the moved one: left alone
[ "$(readlink "$home/Resources")" = "$prefix/share/velq/Resources" ] || fail "data link: $(readlink "$home/Resources")"
[ -z "$(ls -A "$WORK/start")" ] || fail "written to the starting folder: $(ls -A "$WORK/start")"

# A moved installation: the link follows it. A real Resources folder stays as it is,
# and without XDG_DATA_HOME (or with a relative one) the folder is under HOME.
mv "$prefix" "$WORK/moved"
launch() { (cd "$WORK/start" && env -u DISPLAY "$@" "$WORK/moved/bin/velq" --version 2>"$WORK/err.txt"); }
[ "$(launch "XDG_DATA_HOME=$WORK/data")" = "Velq! 1.0" ] || fail "--version through the launcher"
env -u DISPLAY -u LANGUAGE LC_ALL=C.UTF-8 "$WORK/moved/libexec/velq/velq" --help | grep -q "^Usage: velq" ||
    fail "the moved game does not find its English catalog"
[ "$(readlink "$home/Resources")" = "$WORK/moved/share/velq/Resources" ] || fail "data link not refreshed"
grep -q "screenX=640" "$WORK/config/velq/settings.esf" && [ -f "$home/settings.esf" ] || fail "settings moved over newer ones"
# The check through the launcher: the installed data and the player's settings, and no
# silent sound asked for (it would be taken for a file to check).
(cd "$WORK/start" && env -u DISPLAY -u SDL_AUDIODRIVER XDG_DATA_HOME="$WORK/data" "$WORK/moved/bin/velq" --check \
    >"$WORK/out.txt" 2>"$WORK/err.txt") && [ ! -s "$WORK/err.txt" ] &&
    [ "$(cat "$WORK/out.txt")" = "checked $(($(find "$WORK/moved/share/velq/Resources" -type f | wc -l) + 1)) files: 0 errors, 0 warnings" ] ||
    fail "--check through the launcher: $(cat "$WORK/out.txt" "$WORK/err.txt")"
mkdir -p "$WORK/own/velq/Resources"
launch "XDG_DATA_HOME=$WORK/own" >/dev/null && [ ! -L "$WORK/own/velq/Resources" ] && [ ! -s "$WORK/err.txt" ] ||
    fail "own Resources folder: $(cat "$WORK/err.txt")"
launch "XDG_DATA_HOME=relative" "XDG_CONFIG_HOME=" "XDG_STATE_HOME=" >/dev/null &&
    [ -L "$WORK/home/.local/share/velq/Resources" ] && [ -f "$WORK/home/.config/velq/settings.esf" ] &&
    [ -d "$WORK/home/.local/state/velq" ] || fail "no player's folders under HOME: $(find "$WORK/home")"

# Without the program or its data, the launcher says so in one line.
for part in libexec/velq/velq share/velq/Resources; do
    mv "$WORK/moved/$part" "$WORK/aside"
    launch "XDG_DATA_HOME=$WORK/data" >/dev/null && fail "started without $part"
    [ "$(wc -l <"$WORK/err.txt")" -eq 1 ] && grep -q "^velq: .*missing" "$WORK/err.txt" ||
        fail "without $part: $(cat "$WORK/err.txt")"
    mv "$WORK/aside" "$WORK/moved/$part"
done
echo "PASS: installed files, the launcher's folders, settings moved once, and logs"
