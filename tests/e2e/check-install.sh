#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the build into a scratch prefix and checks what a desktop needs to start the
# program: the entry's Exec is the installed program, its Path holds the list and the help
# file the program opens from its working directory, and the icon and metainfo are where
# desktops look, and the translations are found. Usage: check-install.sh <build dir> <application id>
set -euo pipefail
build_dir=$1
app_id=$2
prefix=$(mktemp -d /tmp/velkaro-install.XXXXXX)
trap 'rm -rf "$prefix"' EXIT

cmake --install "$build_dir" --prefix "$prefix" >/dev/null

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

entry=$prefix/share/applications/$app_id.desktop
[ -f "$entry" ] || { echo "FAIL: no desktop entry at $entry"; exit 1; }
exec_line=$(sed -n 's/^Exec=//p' "$entry")
path_line=$(sed -n 's/^Path=//p' "$entry")
# The menu starts the user's own list when there is one, as the desktop search reads it.
[ "$exec_line" = "$prefix/bin/velkaro-arama --kullanici-verisi" ] \
    || fail "Exec=$exec_line, expected $prefix/bin/velkaro-arama --kullanici-verisi"
[ -x "${exec_line%% *}" ] || fail "Exec names no executable: $exec_line"
[ "$path_line" = "$prefix/share/velkaro-arama" ] || fail "Path=$path_line, expected $prefix/share/velkaro-arama"
for file in AnaData/Velkaro.mdb AnaData/vuk_list.csv yardim; do
    cmp -s "$path_line/$file" "$(dirname "$0")/../../$file" || fail "$file in Path is missing or differs"
done
for size in 16 24 32 48 64 128 256; do
    icon=$prefix/share/icons/hicolor/${size}x$size/apps/velkaro-arama.png
    [ -f "$icon" ] || { fail "missing $icon"; continue; }
    # A wrongly renamed size would be shown blurred or cut: read the PNG header's size.
    read -r w1 w2 w3 w4 h1 h2 h3 h4 < <(od -An -tu1 -j16 -N8 "$icon")
    width=$(((w1 << 24) | (w2 << 16) | (w3 << 8) | w4))
    height=$(((h1 << 24) | (h2 << 16) | (h3 << 8) | h4))
    [ "$width" = "$size" ] && [ "$height" = "$size" ] || fail "$icon is ${width}x$height"
done
# The installed programs find their translations beside the data, as a Turkish user sees.
for program_says in 'velkaro-arama:--ara <TERİM>' 'velkaro-arama-search:Masaüstünün aramasını'; do
    program=${program_says%%:*}
    help=$(env -u LC_ALL -u LANGUAGE LANG=tr_TR.UTF-8 "$prefix/bin/$program" --help 2>&1) || true
    grep -qF -- "${program_says#*:}" <<<"$help" || fail "$program --help is not Turkish when installed"
done
icon_name=$(sed -n 's/^Icon=//p' "$entry")
[ "$icon_name" = velkaro-arama ] || fail "Icon=$icon_name"
metainfo=$prefix/share/metainfo/$app_id.metainfo.xml
[ -f "$metainfo" ] || fail "missing $metainfo"
grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" \
    || fail "metainfo does not launch $app_id.desktop"
copyright=$prefix/share/doc/velkaro-arama/copyright
grep -qx 'License: GPL-3.0-or-later' "$copyright" 2>/dev/null \
    || fail "$copyright does not name the licence"
grep -q '<project_license>GPL-3.0-or-later</project_license>' "$metainfo" \
    || fail "metainfo does not name the licence"

if [ "$failures" -ne 0 ]; then
    echo "$failures install check(s) failed"
    exit 1
fi
echo "install layout OK"
