#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The real program timed from outside the process, in a private X server, against a bare
# Qt window started the same way: process start to the window's first pixels (X Damage),
# a key typed into the first term box to the grid's first repaint, and the memory of the
# program and its helper processes. The executables take turns, round after round, so
# that load from other work falls on all of them. Run by hand; it wraps
# ../shared/tools/xtiming (python3-xlib) and needs Xvfb.
#
#   cmake --build build --target velkaro-arama velkaro-empty-window
#   bench/xtiming-against-bare.sh [options]
#     --build DIR      build folder (default: build)
#     --rounds N       start-up rounds (default: 11)
#     --data DIR       folder with AnaData/ and yardim to start in (default: the repository)
#     --key-rounds N   rounds of key timing, 15 keys each (default: 3; 0 skips it)
#     --also EXE       another build of the program to time beside it (a baseline)
#     --settle S       quiet seconds that end a start-up (default: 1.5, and xtiming's
#                      own before the keys); a list that takes longer than this to read
#                      before its window maps needs more
#
# The key timing types "zxq" (found nowhere) and times further keys; give a --data
# folder with a large list (bench/make-large-mdb) to time the search at that size.
# Without a window manager the window keeps its designed size at its designed place;
# the box and grid positions below are for that window.
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
build=$repo/build
rounds=11
data=$repo
key_rounds=3
also=
settle=
while [ $# -gt 0 ]; do
    case $1 in
    --build) build=$2; shift 2 ;;
    --rounds) rounds=$2; shift 2 ;;
    --data) data=$2; shift 2 ;;
    --key-rounds) key_rounds=$2; shift 2 ;;
    --also) also=$2; shift 2 ;;
    --settle) settle=$2; shift 2 ;;
    *) echo "unknown option $1" >&2; exit 2 ;;
    esac
done
build=$(cd "$build" && pwd)
data=$(cd "$data" && pwd)
xtiming=${XTIMING:-$repo/../shared/tools/xtiming}
program=$build/src/app/velkaro-arama
bare=$build/bench/startup/velkaro-empty-window
for needed in "$xtiming" "$program" "$bare" ${also:+"$also"}; do
    [ -x "$needed" ] || { echo "missing $needed" >&2; exit 1; }
done
command -v Xvfb >/dev/null || { echo "needs Xvfb" >&2; exit 1; }

# Window coordinates of the first term box and of the grid, for the designed window.
edit=100,42
grid=0,122,720,447

work=$(mktemp -d)
xvfb_pid=
cleanup() {
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
display=":$(head -n 1 "$work/display")"

names=(bare program)
exes=("$bare" "$program")
if [ -n "$also" ]; then
    names+=(also)
    exes+=("$also")
fi

# The bare window quits after its first paint unless told to stay.
export STARTUP_BENCH_STAY=1
for ((round = 0; round <= rounds; ++round)); do
    for i in "${!names[@]}"; do
        out=$work/startup-${names[$i]}-$round.json
        "$xtiming" --display "$display" --cwd "$data" --bin "${exes[$i]}" --startup-only \
            --settle "${settle:-1.5}" --json "$out" >/dev/null
        ((round == 0)) && rm -f "$out" # warm-up: caches, fonts
    done
done
for ((round = 1; round <= key_rounds; ++round)); do
    for i in "${!names[@]}"; do
        [ "${names[$i]}" = bare ] && continue
        "$xtiming" --display "$display" --cwd "$data" --bin "${exes[$i]}" --edit "$edit" \
            --grid "$grid" ${settle:+--settle "$settle"} --keys 15 --json "$work/keys-${names[$i]}-$round.json" >/dev/null
    done
done

python3 - "$work" "${names[@]}" <<'EOF'
import glob, json, os, statistics, sys
work, names = sys.argv[1], sys.argv[2:]
def load(kind, name):
    return [json.load(open(f)) for f in sorted(glob.glob(os.path.join(work, f'{kind}-{name}-*.json')))]
def med(values):
    values = [v for v in values if v is not None]
    return statistics.median(values) if values else float('nan')
print(f'start-up, {len(load("startup", "bare"))} rounds, medians (ms from process start)')
# "own": the program's process alone, without the web view's helper processes.
print(f'{"":10} {"map":>8} {"pixels":>8} {"maps":>5} {"unmaps":>6} {"RSS MiB":>8} {"PSS MiB":>8} {"own PSS":>8}')
firsts = {}
for name in names:
    runs = load('startup', name)
    firsts[name] = med(r.get('first_damage_after_map_ms') for r in runs)
    print(f'{name:10} {med(r["map_ms"][0] if r["map_ms"] else None for r in runs):8.1f}'
          f' {firsts[name]:8.1f} {med(len(r["map_ms"]) for r in runs):5.0f}'
          f' {med(len(r["unmap_ms"]) for r in runs):6.0f}'
          f' {med(r["rss_total_kb"] for r in runs) / 1024:8.1f} {med(r["pss_total_kb"] for r in runs) / 1024:8.1f}'
          f' {med(r["memory"][0][3] if r["memory"] else None for r in runs) / 1024:8.1f}')
for name in names[1:]:
    print(f'first pixels, {name} / bare: {firsts[name] / firsts["bare"]:.2f}x (budget 2x)')
for name in names[1:]:
    runs = load('keys', name)
    if not runs:
        continue
    print(f'key to grid repaint, {name}, {len(runs)} runs of 15 keys, median of the medians (ms):')
    for label in runs[0].get('keys', {}):
        first = med(r['keys'][label]['grid_first_damage_median_ms'] for r in runs if label in r.get('keys', {}))
        last = med(r['keys'][label]['grid_last_damage_median_ms'] for r in runs if label in r.get('keys', {}))
        print(f'  {label:32} first {first:7.2f}  last {last:7.2f}')
EOF
