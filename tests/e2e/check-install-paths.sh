#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the build into a staging tree (DESTDIR), stripped as the Debian package is, and
# checks where the installed program would load code from: the web view plugin must lie at
# the path the program looks at, relative to its own folder, and no installed file may
# name the build or source folder, since a program that loads code from such a path runs
# whatever someone later puts there. Then it starts the installed program headless and
# reads from its log where the plugin came from.
#
#   check-install-paths.sh <build dir> <source dir> <full bin dir> <plugin folder from bin dir>
set -euo pipefail
[ $# -eq 4 ] || { echo "usage: $0 <build dir> <source dir> <full bin dir> <plugin folder from bin dir>" >&2; exit 2; }
build_dir=$(realpath "$1")
source_dir=$(realpath "$2")
bin_dir=$3
plugin_from_bin=$4
stage=$(mktemp -d /tmp/velkaro-stage.XXXXXX)
program_pid=
cleanup() {
    [ -z "$program_pid" ] || kill -KILL -- "-$program_pid" 2>/dev/null || true
    rm -rf "$stage"
}
trap cleanup EXIT

DESTDIR=$stage cmake --install "$build_dir" --strip >/dev/null

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

program=$stage$bin_dir/velkaro-arama
[ -x "$program" ] || fail "no program at $program"
plugin_folder=$(realpath -m "$stage$bin_dir/$plugin_from_bin")
case "$plugin_folder" in
"$stage"/*) ;;
*) fail "the plugin folder $plugin_from_bin leads out of the installed tree" ;;
esac
plugins=("$plugin_folder"/velkaro-webengine.*)
[ -f "${plugins[0]}" ] || fail "no web view plugin where the program looks: $plugin_folder"

# Text in the program may be 8-bit or UTF-16 (QStringLiteral), so both are read. The
# source folder holds the build folder in the usual layout; both are checked in case
# they lie apart.
while IFS= read -r -d '' file; do
    for folder in "$build_dir" "$source_dir"; do
        if { strings -a "$file"; strings -a -el "$file"; } | grep -qF -- "$folder"; then
            fail "${file#"$stage"} names $folder"
        fi
    done
done < <(find "$stage" -type f -print0)

# The program leads a process group of its own, so that the web engine's helpers end
# with it.
run=$stage/run
mkdir -p "$run/AnaData"
cp "$source_dir/AnaData/Velkaro.mdb" "$run/AnaData/"
if [ -x "$program" ] && [ -f "${plugins[0]}" ]; then
    (
        cd "$run"
        exec env QT_QPA_PLATFORM=offscreen QTWEBENGINE_DISABLE_SANDBOX=1 \
            QTWEBENGINE_CHROMIUM_FLAGS=--disable-gpu \
            QT_LOGGING_RULES=velkaro.webpanel.debug=true setsid "$program"
    ) >"$run/log" 2>&1 &
    program_pid=$!
    for _ in $(seq 300); do
        grep -q '^velkaro\.webpanel: ' "$run/log" && break
        kill -0 "$program_pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -KILL -- "-$program_pid" 2>/dev/null || true
    wait "$program_pid" 2>/dev/null || true
    program_pid=
    expected="velkaro.webpanel: The web view plugin is ${plugins[0]}"
    if ! grep -qxF "$expected" "$run/log"; then
        fail "the installed program did not load ${plugins[0]#"$stage"}; its log:"
        cat "$run/log"
    fi
fi

if [ "$failures" -ne 0 ]; then
    echo "$failures installed-path check(s) failed"
    exit 1
fi
echo "installed program and plugin name no build folder; the program loads the plugin from $plugin_from_bin"
