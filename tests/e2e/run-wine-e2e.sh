#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The Windows installer end to end under Wine: installs silently into a fresh Wine
# prefix, checks what landed where, starts the installed program with a search as the
# Start-menu shortcut does, and checks through the X clipboard (Wine hands the Windows
# clipboard to X) that Ctrl+B and Ctrl+T copy what the Linux build copies for the same
# search. Finally uninstalls silently and checks that nothing is left.
#
#   tests/e2e/run-wine-e2e.sh SETUP.exe LINUX_PROGRAM
#
# LINUX_PROGRAM is the Linux build's velkaro-arama, started from the repository root.
# Ends with `N passed, N failed` and a non-zero status when anything failed.
set -euo pipefail
setup=$(realpath "$1")
linux_program=$(realpath "$2")
cd "$(dirname "$0")/../.."

work=$(mktemp -d /tmp/velkaro-wine-e2e.XXXXXX)
passed=0
failed=0
check() {
    if [ "$2" = "$3" ]; then
        passed=$((passed + 1))
        echo "ok: $1"
    else
        failed=$((failed + 1))
        echo "FAILED: $1: expected '$2', got '$3'"
    fi
}
cleanup() {
    WINEPREFIX=$work/prefix wineserver -k 2>/dev/null || true
    [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# A display of its own, its number left to Xvfb, so that runs side by side never meet.
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 50); do
    [ -s "$work/display" ] && break
    sleep 0.1
done
export DISPLAY=:$(cat "$work/display")
openbox --sm-disable >"$work/openbox.log" 2>&1 &

export VELKARO_WINEPREFIX=$work/prefix
start=$SECONDS
scripts/wine-run "$setup" /S
WINEPREFIX=$work/prefix wineserver --wait
echo "silent install took $((SECONDS - start)) s"
install_dir="$work/prefix/drive_c/Program Files/Zelvor/Velkaro Arama"
for file in velkaro-arama.exe AnaData/Velkaro.mdb yardim platforms/qwindows.dll \
    uninstall.exe LICENSE-WINDOWS.txt qt-6.4.2-no-wintab.patch; do
    check "installed $file" yes "$([ -f "$install_dir/$file" ] && echo yes || echo no)"
done
shortcut="$work/prefix/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Zelvor/Zelvor VUK Velkaro Arama.lnk"
check "Start-menu shortcut" yes "$([ -f "$shortcut" ] && echo yes || echo no)"

# Ctrl+B then Ctrl+T on the first row found, as copied to the X clipboard.
copies() {
    local folder=$1
    shift
    local before window=
    before=$(xdotool search --name 'Velkaro' 2>/dev/null | sort || true)
    (cd "$folder" && exec "$@" '--ara=çelik' >/dev/null 2>&1) &
    local program_pid=$!
    for _ in $(seq 600); do
        window=$(comm -13 <(echo "$before") \
            <(xdotool search --onlyvisible --name 'Velkaro' 2>/dev/null | sort || true) | head -1)
        [ -n "$window" ] && break
        sleep 0.1
    done
    if [ -z "$window" ]; then
        echo "no window|"
        kill "$program_pid" 2>/dev/null || true
        return
    fi
    # The search fills the list before the first paint; the grid takes the keys once
    # the window is active.
    sleep 3
    xdotool windowactivate --sync "$window" 2>/dev/null || true
    sleep 0.5
    local result=
    for key in ctrl+b ctrl+t; do
        printf '' | xclip -selection clipboard -i
        xdotool key --clearmodifiers "$key"
        sleep 1
        # Windows' clipboard text ends lines with CR LF.
        result+=$(timeout 5 xclip -o -selection clipboard 2>/dev/null | tr -d '\r' || true)
        result+='|'
    done
    echo "$result"
    kill "$program_pid" 2>/dev/null || true
    wait "$program_pid" 2>/dev/null || true
}

# The Wine run reads numbers the English way (scripts/wine-run), so the Linux one does too.
linux=$(LC_ALL=C.UTF-8 copies . "$linux_program")
# Started as the shortcut starts it: in the install folder, with --kullanici-verisi.
windows=$(copies "$install_dir" "$PWD/scripts/wine-run" "$install_dir/velkaro-arama.exe" \
    --kullanici-verisi)
check "Linux build copies a life and a rate" yes \
    "$([[ $linux =~ ^[0-9]+\|[0-9.,]+\|$ ]] && echo yes || echo no)"
check "Ctrl+B and Ctrl+T copy the same under Wine as on Linux" "$linux" "$windows"
WINEPREFIX=$work/prefix wineserver -k 2>/dev/null || true

scripts/wine-run "$install_dir/uninstall.exe" /S
WINEPREFIX=$work/prefix wineserver --wait
# The uninstaller copies itself away and returns at once; its copy does the work.
for _ in $(seq 100); do
    [ -e "$install_dir" ] || break
    sleep 0.2
done
check "uninstall leaves no folder" no "$([ -e "$install_dir" ] && echo yes || echo no)"
check "uninstall removes the shortcut" no "$([ -e "$shortcut" ] && echo yes || echo no)"

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
