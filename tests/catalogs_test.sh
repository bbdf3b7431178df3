#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# The catalogs as translators' tools see them: each po/LANG.po passes msgfmt --check,
# and the English one, merged with the template the sources give now, translates every
# text, none of them as a guess (fuzzy).
set -u
: "${VELQ_PO_DIR:?}" "${VELQ_POT:?}"
status=0
for po in "$VELQ_PO_DIR"/*.po; do
    msgfmt --check -o /dev/null "$po" || { echo "FAIL: msgfmt --check $po"; status=1; }
done
merged=$(mktemp /tmp/velq-en-XXXXXX.po)
trap 'rm -f "$merged"' EXIT
msgmerge --quiet -o "$merged" "$VELQ_PO_DIR/en.po" "$VELQ_POT" || exit 1
for kind in untranslated only-fuzzy; do
    # The entries after the header, which msgattrib keeps.
    left=$(msgattrib --$kind --no-obsolete --no-location "$merged" | awk '/^msgid / { n++ } n > 1')
    [ -z "$left" ] || { echo "FAIL: en.po, $kind: $left"; status=1; }
done
[ $status -eq 0 ] && echo "PASS: the catalogs check, and en.po translates every text"
exit $status
