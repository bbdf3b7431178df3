#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# What the game says about itself agrees everywhere: the settings with their
# defaults and the options of --help against the README and the manual page, one
# version in --version, the manual page, the changelog and the metadata;
# and the distribution's checkers accept the manual page, the metadata and the menu
# entry.
set -u
export LC_ALL=C
: "${VELQ_BIN:?VELQ_BIN must name the velq executable}"
: "${VELQ_BUILD:?VELQ_BUILD must name the build directory}"
: "${VELQ_SOURCE:?VELQ_SOURCE must name the source tree}"
page=$VELQ_BUILD/packaging/velq.6
metainfo=$VELQ_SOURCE/packaging/org.example.velq.metainfo.xml
WORK=$(mktemp -d /tmp/velq-metadata-XXXXXX)
trap 'rm -rf "$WORK"' EXIT
failed=0
fail() {
    echo "FAIL: $*" >&2
    failed=1
}

env -u DISPLAY "$VELQ_BIN" --help >"$WORK/help.txt" || fail "--help: exit $?"
MANWIDTH=200 man -l "$page" >"$WORK/page.txt" 2>/dev/null || fail "man cannot show $page"

# Settings as name=default: --help's, the README's table (Configuration: the default
# is its last column), the page's.
awk '/^Settings/ { on = 1; next } /^$/ { on = 0 } on && /^  [^ ]+=/ { print $1 }' \
    "$WORK/help.txt" | sort >"$WORK/help-settings.txt"
[ -s "$WORK/help-settings.txt" ] || fail "--help lists no settings"
awk -F'|' '/^## / { on = ($0 == "## Configuration") } /^### / { on = 0 }
           on && $2 ~ /^ `[^`]+` $/ { name = $2; value = $(NF - 1)
               gsub(/[ `]/, "", name); gsub(/^ +| +$/, "", value); print name "=" value }' \
    "$VELQ_SOURCE/README.md" | sort >"$WORK/readme-settings.txt"
diff "$WORK/help-settings.txt" "$WORK/readme-settings.txt" >"$WORK/diff.txt" ||
    fail "settings of --help (<) and of the README's table (>) differ: $(cat "$WORK/diff.txt")"
while read -r setting; do
    grep -qE -- "^ *$setting( |$)" "$WORK/page.txt" || fail "the manual page lacks the setting $setting"
done <"$WORK/help-settings.txt"

# Options: every one of --help in the README and in the page.
for option in $(awk '/^  --[a-z]/ { print $1 }' "$WORK/help.txt"); do
    grep -qF -- "\`$option" "$VELQ_SOURCE/README.md" || fail "the README does not name $option"
    grep -qE -- "^ *$option( |$)" "$WORK/page.txt" || fail "the manual page lacks $option"
done

# One version.
version=$(env -u DISPLAY "$VELQ_BIN" --version | sed -n 's/^Velq! //p')
[ -n "$version" ] || fail "--version: '$(env -u DISPLAY "$VELQ_BIN" --version)'"
grep -q "^\.TH VELQ 6 \"[0-9-]*\" \"Velq! $version\" \"Games\"$" "$page" ||
    fail "the manual page's title line: $(grep '^\.TH' "$page")"
changelog=$(dpkg-parsechangelog -l "$VELQ_SOURCE/packaging/changelog" -SVersion)
[ "$changelog" = "$version" ] || fail "the changelog's newest entry is $changelog, the game is $version"
release=$(sed -n 's/.*<release version="\([^"]*\)".*/\1/p' "$metainfo" | head -n 1)
[ "$release" = "$version" ] || fail "the metadata's newest release is $release, the game is $version"

# The distribution's checkers.
warnings=$(man --warnings -l "$page" 2>&1 >/dev/null)
[ -z "$warnings" ] || fail "man --warnings: $warnings"
appstreamcli validate --no-net --pedantic "$metainfo" >"$WORK/appstream.txt" 2>&1 ||
    fail "appstreamcli: $(cat "$WORK/appstream.txt")"
desktop-file-validate "$VELQ_SOURCE/packaging/velq.desktop" >"$WORK/desktop.txt" 2>&1 &&
    [ ! -s "$WORK/desktop.txt" ] || fail "desktop-file-validate: $(cat "$WORK/desktop.txt")"

[ "$failed" -eq 0 ] || exit 1
echo "PASS: settings, options, keys and version agree; manual page, metadata and menu entry validate"
