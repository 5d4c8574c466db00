#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Start-up to the first painted window, offscreen, from the repository root with the
# shipped list: a bare Qt Widgets window, the program's start-up (web view after the
# first paint), and the same with the web view created before the first paint. The three
# take turns, round after round, so that load from other work falls on all of them;
# one warm-up round is not counted. Prints the median and quartiles of each.
#
#   cmake --build build-bench --target velkaro-empty-window bench_startup_window
#   bench/startup/run-startup-bench.sh [build-dir (build-bench)] [rounds (21)]
set -euo pipefail

repo=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$repo/build-bench}" && pwd)
rounds=${2:-21}
empty=$build/bench/startup/velkaro-empty-window
real=$build/bench/startup/bench_startup_window
for exe in "$empty" "$real"; do
    [[ -x $exe ]] || { echo "missing $exe: build it first" >&2; exit 1; }
done

export QT_QPA_PLATFORM=offscreen
# $EPOCHREALTIME writes the locale's decimal point; the executables read ".".
export LC_ALL=C
# Root needs these for the web view (see the design notes); harmless otherwise.
export QTWEBENGINE_DISABLE_SANDBOX=1 QTWEBENGINE_CHROMIUM_FLAGS=--disable-gpu
cd "$repo"

names=(empty-window real-window real-window-web-before-paint)
start() {
    case $1 in
    0) "$empty" ;;
    1) "$real" ;;
    2) "$real" --web-before-paint ;;
    esac
}
results=$(mktemp -d)
trap 'rm -rf "$results"' EXIT

for ((round = 0; round <= rounds; ++round)); do
    for i in "${!names[@]}"; do
        export STARTUP_BENCH_T0=$EPOCHREALTIME
        t0=$STARTUP_BENCH_T0
        paint=$(start "$i" 2>/dev/null | awk '/^first-paint-ms/ {print $2}')
        t1=$EPOCHREALTIME
        if [[ -z $paint ]]; then
            echo "${names[$i]}: no first paint reported" >&2
            exit 1
        fi
        ((round == 0)) && continue
        echo "$paint" >>"$results/${names[$i]}.paint"
        awk -v a="$t0" -v b="$t1" 'BEGIN {printf "%.3f\n", (b - a) * 1000}' \
            >>"$results/${names[$i]}.exit"
    done
done

# Median and quartiles (nearest rank) of one file of numbers.
summary() {
    sort -g "$1" | awk '{v[NR] = $1}
        END {printf "%8.1f  (%.1f-%.1f)", v[int((NR + 1) / 2)], v[int((NR + 3) / 4)],
            v[int((3 * NR + 3) / 4)]}'
}

echo "$rounds rounds, $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg)"
printf '%-30s %28s %28s\n' "ms, median (quartiles)" "to first paint" "to exit"
for name in "${names[@]}"; do
    printf '%-30s %28s %28s\n' "$name" "$(summary "$results/$name.paint")" \
        "$(summary "$results/$name.exit")"
done
median() { sort -g "$1" | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }
awk -v e="$(median "$results/empty-window.paint")" -v r="$(median "$results/real-window.paint")" \
    'BEGIN {printf "real / empty window to first paint: %.2fx (budget 2x)\n", r / e}'
