#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Asks the desktop search service what GNOME Shell and KRunner ask, the way they ask it:
# by the bus name and object path that GNOME Shell reads from the provider file, over the
# session bus, so that D-Bus starts the service from its activation file. Expects the
# shipped list. Run it inside a session bus (dbus-run-session).
#
#   ask-search-service.sh <installed …search-provider.ini>
set -euo pipefail
[ $# -eq 1 ] || { echo "usage: $0 <search provider ini file>" >&2; exit 2; }
ini=$1
# gdbus prints the answers in the locale's encoding: without a UTF-8 one (a bare system
# has no LANG) every Turkish letter would read as "?".
export LC_ALL=C.UTF-8
bus=$(sed -n 's/^BusName=//p' "$ini")
path=$(sed -n 's/^ObjectPath=//p' "$ini")

failures=0
expect() {
    local what=$1 answer=$2 wanted=$3
    if [[ "$answer" == *"$wanted"* ]]; then
        echo "ok: $what"
    else
        echo "FAIL: $what: wanted $wanted in: $answer"
        failures=$((failures + 1))
    fi
}
ask() {
    gdbus call --session --timeout 30 --dest "$bus" --object-path "$path" --method "$@" 2>&1 || true
}

gnome=org.gnome.Shell.SearchProvider2
# The rows with a life and a rate first, the headings ("1 Binalar") after them.
expect "GNOME Shell: BİNA finds the buildings, answers first" \
    "$(ask $gnome.GetInitialResultSet "['BİNA']")" "(['3', '5', '6', '7', '0', '1'],)"
expect "GNOME Shell: BINA is bına and finds nothing" \
    "$(ask $gnome.GetInitialResultSet "['BINA']")" "(@as [],)"
expect "GNOME Shell: every term must be found" \
    "$(ask $gnome.GetSubsearchResultSet "['2', '3']" "['kargir', 'ahşap']")" "(['3'],)"
expect "GNOME Shell: a result reads as in the window" \
    "$(ask $gnome.GetResultMetas "['2']")" \
    "'description': <'50 yıl · %2,00'>, 'gicon': <'velkaro-arama'>, 'id': <'2'>, 'name': <'1.1.1 Beton, kargir, demir, çelik'>"
krunner=org.kde.krunner1
expect "KRunner: ISI finds ısıtıcılı" \
    "$(ask $krunner.Match "ISI")" "'3.10.11 Elektrik ısıtıcılı yemek dağıtım tezgahı', 'velkaro-arama', 30"
expect "KRunner: a word of no rate finds nothing" "$(ask $krunner.Match "zeplin")" "(@a(sssida{sv}) [],)"
expect "KRunner: no actions" "$(ask $krunner.Actions)" "(@a(sss) [],)"

[ "$failures" -eq 0 ] || { echo "$failures search service check(s) failed"; exit 1; }
echo "the search service answered GNOME Shell's and KRunner's questions"
