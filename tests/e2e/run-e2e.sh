#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Drives the real program as a user would, in a private X server: search, copy the rate
# and the useful life through the clipboard, close the window; start it with --ara and
# copy from the result it opens with; then start it with no list and get through the
# error boxes with Enter, reading what the first one says in English, and once more for a
# Turkish user, in Turkish. Given an installed desktop entry, it first starts the program
# as the menu would, from the entry's folder, on the shipped list. Then it chooses
# results in the desktop search service as GNOME Shell and KRunner do, over a session
# bus of its own with the user's own list, and drives the program that opens, the
# keys that leave the list included.
# Last, on a Full HD screen under a window manager (openbox): one window from start to
# end, maximised, a full first screenful, restored size, a narrow window, SIGTERM.
#
#   tests/e2e/run-e2e.sh /usr/bin/velkaro-arama [/usr/share/applications/<id>.desktop]
#
# Every process it starts is ended on the way out, whatever happens. On a failure the
# screen is saved to $VELKARO_E2E_ARTIFACTS (default: /tmp) as velkaro-e2e-failure.png.
set -euo pipefail

if [ $# -lt 1 ] || [ $# -gt 2 ]; then
    echo "usage: $0 <velkaro-arama executable> [desktop entry]" >&2
    exit 2
fi
desktop_entry=${2:-}
program=$(command -v "$1") || { echo "FAIL: no program at $1"; exit 1; }
# Absolute, since the program is started from a directory of its own.
program=$(readlink -f "$program")
here=$(cd "$(dirname "$0")" && pwd)
fixture=$here/../fixtures/fixture.mdb
wait_seconds=${VELKARO_E2E_WAIT:-30}
artifacts=${VELKARO_E2E_ARTIFACTS:-/tmp}

main_title='Zelvor VUK Velkaro Hızlı Arama Programı'
box_title='Zelvor VUK Velkaro Arama'
closing_page='https://www.zelvor.com.tr/zelvor_yazilim.htm'

for tool in Xvfb openbox xdotool xclip /usr/bin/python3 setsid; do
    command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing (scripts/setup installs it)"; exit 1; }
done

work=$(mktemp -d /tmp/velkaro-e2e.XXXXXX)
xvfb_pid=
wm_xvfb_pid=
xvfb_display=
program_pid=
bus_pid=
service_pid=
started=$SECONDS

still_running() {
    { [ -n "$program_pid" ] && kill -0 -- "-$program_pid"; } 2>/dev/null \
        || { [ -n "$service_pid" ] && kill -0 -- "-$service_pid"; } 2>/dev/null \
        || { [ -n "$xvfb_pid" ] && kill -0 "$xvfb_pid"; } 2>/dev/null \
        || { [ -n "$wm_xvfb_pid" ] && kill -0 "$wm_xvfb_pid"; } 2>/dev/null
}

cleanup() {
    local status=$?
    trap - EXIT INT TERM
    if [ "$status" -ne 0 ] && [ -n "$xvfb_display" ] && command -v import >/dev/null; then
        import -display "$xvfb_display" -window root "$artifacts/velkaro-e2e-failure.png" 2>/dev/null \
            && echo "screen at the failure: $artifacts/velkaro-e2e-failure.png"
    fi
    if [ "$status" -ne 0 ] && [ -s "$work/program.log" ]; then
        echo "--- program output (last 20 lines)"
        tail -n 20 "$work/program.log"
    fi
    # No `wait` here: inside an exit trap bash can block in it for good. Forgetting the
    # jobs also keeps bash from reporting them as killed.
    disown -a
    # The program leads its own process group, so its web engine helpers end with it.
    [ -z "$program_pid" ] || kill -KILL -- "-$program_pid" 2>/dev/null || true
    # The programs the search service started are in its process group.
    [ -z "$service_pid" ] || kill -KILL -- "-$service_pid" 2>/dev/null || true
    [ -z "$bus_pid" ] || kill "$bus_pid" 2>/dev/null || true
    # Ending the X server also ends any X client left over, xclip and openbox included.
    [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
    [ -z "$wm_xvfb_pid" ] || kill "$wm_xvfb_pid" 2>/dev/null || true
    local tries=50
    while [ "$tries" -gt 0 ] && still_running; do
        sleep 0.1
        tries=$((tries - 1))
    done
    [ -z "$xvfb_pid" ] || kill -KILL "$xvfb_pid" 2>/dev/null || true
    [ -z "$wm_xvfb_pid" ] || kill -KILL "$wm_xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
    exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Retries "$@" until it succeeds, for at most $wait_seconds; gives up early when the
# program has ended, since nothing it was expected to do can happen any more.
wait_until() {
    local what=$1
    shift
    local deadline=$((SECONDS + wait_seconds))
    until "$@"; do
        if [ -n "$program_pid" ] && ! kill -0 "$program_pid" 2>/dev/null; then
            fail "the program ended while waiting for $what"
        fi
        [ "$SECONDS" -lt "$deadline" ] || fail "timed out after ${wait_seconds}s waiting for $what"
        sleep 0.1
    done
}

# --- a private X server; -displayfd picks a free display and says which when it is ready.
# -noreset: by default the server resets when its last client goes, and a program
# started in that moment cannot connect.
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
wait_until "the X server" test -s "$work/display"
xvfb_display=":$(head -n 1 "$work/display")"
export DISPLAY=$xvfb_display

# --- a stand-in for the desktop's URL opener, so that closing opens no browser
mkdir -p "$work/bin" "$work/home" "$work/runtime"
chmod 700 "$work/runtime"
cat >"$work/bin/xdg-open" <<EOF
#!/bin/sh
printf '%s\n' "\$*" >>"$work/opened-urls"
EOF
chmod +x "$work/bin/xdg-open"

# Runs "$@" in its own process group with the environment of a user's session. As root
# there is no QTWEBENGINE_DISABLE_SANDBOX either: the program must cope by itself. Each
# box the program shows is written to its log (velkaro.boxes), where the text is read.
in_session() {
    exec env -u BROWSER -u DEFAULT_BROWSER -u XDG_CURRENT_DESKTOP -u DESKTOP_SESSION \
        -u LANGUAGE -u QT_QPA_PLATFORM -u WAYLAND_DISPLAY -u QTWEBENGINE_DISABLE_SANDBOX \
        -u XDG_DATA_HOME -u DBUS_SESSION_BUS_ADDRESS \
        LC_ALL=C.UTF-8 LANG=C.UTF-8 HOME="$work/home" XDG_RUNTIME_DIR="$work/runtime" \
        PATH="$work/bin:$PATH" QT_QPA_PLATFORM=xcb QT_LOGGING_RULES=velkaro.boxes.debug=true \
        QTWEBENGINE_CHROMIUM_FLAGS=--disable-gpu "${session_extra[@]}" \
        setsid "$@"
}
session_extra=()

start_program() {
    local program=$1 run_dir=$2
    shift 2
    : >"$work/opened-urls"
    (
        cd "$run_dir"
        in_session "$program" "$@"
    ) >>"$work/program.log" 2>&1 &
    program_pid=$!
}

# Prints the ids of the program's visible windows with exactly this title.
windows_titled() {
    xdotool search --all --onlyvisible --pid "$program_pid" --name "^$1\$" 2>/dev/null || true
}
has_window() { [ -n "$(windows_titled "$1")" ]; }
# Stores the main window's id in the variable named $1; false while none is found. One
# search can come back empty for a moment while the web engine's windows come and go,
# so the id is taken from the search that found it, and an empty answer is retried
# rather than read as a replaced window.
main_window_into() {
    local id
    id=$(windows_titled "$main_title" | head -n 1)
    [ -n "$id" ] && printf -v "$1" '%s' "$id"
}
window_gone() { ! windows_titled "$2" | grep -qx "$1"; }

clipboard() { xclip -selection clipboard -o 2>/dev/null || true; }
clipboard_is() { [ "$(clipboard)" = "$1" ]; }

# Presses keys on the grid and checks that the clipboard then holds exactly the text.
expect_clipboard_after() {
    local keys=$1 expected=$2 what=$3
    xdotool key --clearmodifiers "$keys"
    local deadline=$((SECONDS + 5))
    until clipboard_is "$expected"; do
        [ "$SECONDS" -lt "$deadline" ] \
            || fail "$what: clipboard holds '$(clipboard)', expected '$expected'"
        sleep 0.1
    done
    echo "ok: $what gives '$expected'"
}

# True once the web engine has started for the program: its helper processes run in
# the program's process group.
web_view_arrived() { pgrep -g "$program_pid" -f QtWebEngineProc >/dev/null; }

# Prints the main window's id once the web view has arrived, and checks that the window
# that was mapped first is still the one on screen: the web panel, created after the
# first paint, must not make Qt replace the top-level window.
settled_main_window() {
    local first= current=
    wait_until "the main window" main_window_into first
    wait_until "the web view" web_view_arrived
    # Qt replaces the window, if it does, when the view is shown, just after its engine
    # starts; give that moment time to pass.
    sleep 0.5
    wait_until "the main window after the web view arrived" main_window_into current
    [ "$current" = "$first" ] \
        || fail "the main window was replaced (X window $first, then $current)"
    echo "$current"
}

# Closes a window as the close button would, then waits for the program to end.
close_and_expect_clean_exit() {
    local window=$1
    "$here/close-window.py" "$window"
    local deadline=$((SECONDS + wait_seconds))
    while kill -0 "$program_pid" 2>/dev/null; do
        [ "$SECONDS" -lt "$deadline" ] || fail "the program did not end after its window was closed"
        sleep 0.1
    done
    local status=0
    wait "$program_pid" || status=$?
    program_pid=
    [ "$status" -eq 0 ] || fail "the program ended with status $status"
    wait_until "the publisher's page to be opened" grep -qx "$closing_page" "$work/opened-urls"
    echo "ok: closing ends the program with status 0 and opens $closing_page"
}

# Types the term into the first box, presses Enter and clicks the first row of the result.
# With no window manager the window keeps its own geometry: the term box at (4, 29), the
# grid under the 121 px search panel and its header, the first row 17 px high.
search_and_pick_first_row() {
    local window=$1 term=$2
    xdotool windowfocus --sync "$window"
    xdotool mousemove --window "$window" 100 43 click 1
    xdotool type --delay 20 "$term"
    xdotool key Return
    xdotool mousemove --window "$window" 200 149 click 1
}

# --- run 0: from the desktop entry, as the menu starts it, on the shipped list
if [ -n "$desktop_entry" ]; then
    read -r -a entry_exec <<<"$(sed -n 's/^Exec=//p' "$desktop_entry")"
    entry_path=$(sed -n 's/^Path=//p' "$desktop_entry")
    [ ${#entry_exec[@]} -gt 0 ] && [ -d "$entry_path" ] || fail "$desktop_entry lacks Exec or Path"
    # No list of the user's own in the session's data folder: the shipped one.
    start_program "${entry_exec[0]}" "$entry_path" "${entry_exec[@]:1}"
    main=$(settled_main_window)
    [ -z "$(windows_titled "$box_title")" ] || fail "an error box came up on the shipped list"
    echo "ok: started from the desktop entry in $entry_path"
    search_and_pick_first_row "$main" kargir
    expect_clipboard_after ctrl+b 50 "Ctrl+B on 'Beton, kargir, demir, çelik'"
    expect_clipboard_after ctrl+t 2 "Ctrl+T on 'Beton, kargir, demir, çelik'"
    close_and_expect_clean_exit "$main"
fi

# --- run 1: search the fixture list and copy from the result
mkdir -p "$work/run/AnaData"
cp "$fixture" "$work/run/AnaData/Velkaro.mdb"
start_program "$program" "$work/run"
main=$(settled_main_window)
[ -z "$(windows_titled "$box_title")" ] || fail "an error box came up with a readable list"
echo "ok: main window up after $((SECONDS - started))s"
if [ "$(id -u)" -eq 0 ]; then
    grep -q "Running as root: the web panel runs without Chromium's sandbox" "$work/program.log" \
        || fail "as root, the program did not say it runs the web panel without the sandbox"
    echo "ok: as root, with no sandbox variable, the window and its web view are up"
fi
search_and_pick_first_row "$main" kazan
expect_clipboard_after ctrl+t 2.5 "Ctrl+T on 'ısıtma kazanı'"
expect_clipboard_after ctrl+b 6.5 "Ctrl+B on 'ısıtma kazanı'"
expect_clipboard_after ctrl+c 'ısıtma kazanı' "Ctrl+C on 'ısıtma kazanı'"
xdotool key Down
expect_clipboard_after ctrl+c 'Kazan ve buhar makineleri' "Ctrl+C on the second match"
# A negative rate has no percentage: Ctrl+T must leave the clipboard as it was.
xdotool key --clearmodifiers ctrl+t
sleep 0.5
clipboard_is 'Kazan ve buhar makineleri' \
    || fail "Ctrl+T on a row without a rate: clipboard holds '$(clipboard)'"
echo "ok: Ctrl+T on a row without a rate leaves the clipboard alone"
# F1 shows the description in a dialog, which copies its whole text with Ctrl+C.
xdotool key F1
wait_until "the description dialog" has_window "$box_title"
dialog=$(windows_titled "$box_title" | head -n 1)
xdotool windowfocus --sync "$dialog"
xdotool key --clearmodifiers ctrl+c
dialog_shows() { clipboard | tr -d '\r' | grep -qxF 'Açıklama:Kazan ve buhar makineleri'; }
wait_until "the dialog to show 'Açıklama:Kazan ve buhar makineleri'" dialog_shows
xdotool key Return
wait_until "the dialog to close on Enter" window_gone "$dialog" "$box_title"
echo "ok: F1 shows the description; Enter closes it"
# With no window manager the keys must reach the grid's commands again once the dialog
# is gone: Ctrl+C copies the record's description, not the dialog's text block.
expect_clipboard_after ctrl+c 'Kazan ve buhar makineleri' "Ctrl+C on the grid after the dialog"
close_and_expect_clean_exit "$main"

# --- run 1b: started as the desktop's search starts it, with a term to search for
start_program "$program" "$work/run" --ara ısı
main=$(settled_main_window)
[ -z "$(windows_titled "$box_title")" ] || fail "an error box came up with --ara"
# The list has the focus, on the first row of the result: no click is needed.
xdotool windowfocus --sync "$main"
expect_clipboard_after ctrl+c 'ISITMA TESİSATI' "Ctrl+C after --ara ısı"
xdotool key Down
expect_clipboard_after ctrl+c 'ısıtma kazanı' "Ctrl+C on the second row after --ara ısı"
xdotool mousemove --window "$main" 100 43 click 1
xdotool key --clearmodifiers ctrl+a ctrl+c
wait_until "the first box to hold 'ısı'" clipboard_is 'ısı'
echo "ok: --ara ısı leaves 'ısı' in the first box"
close_and_expect_clean_exit "$main"

# --- run 1c: a result chosen in the desktop's search, as GNOME Shell and KRunner choose
# it: over a session bus of our own, the service reads the user's own list (the fixture,
# in the data folder) and starts the program on it with the chosen row current.
data_home=$work/data-home
mkdir -p "$data_home/velkaro-arama/AnaData"
cp "$fixture" "$data_home/velkaro-arama/AnaData/Velkaro.mdb"
# A bus that activates nothing: with the package installed, a question would otherwise
# start the installed service, which reads the shipped list, before ours has the name.
mkdir -p "$work/no-services"
env XDG_DATA_DIRS="$work/no-services" XDG_DATA_HOME="$work/no-services" \
    dbus-daemon --session --nofork --print-address=1 >"$work/bus-address" 2>>"$work/dbus.log" &
bus_pid=$!
wait_until "the private session bus" test -s "$work/bus-address"
bus_address=$(head -n 1 "$work/bus-address")
session_extra=(DBUS_SESSION_BUS_ADDRESS="$bus_address" XDG_DATA_HOME="$data_home")
(in_session "$(dirname "$program")/velkaro-arama-search") >>"$work/program.log" 2>&1 &
service_pid=$!
session_extra=()
ask() {
    DBUS_SESSION_BUS_ADDRESS=$bus_address LC_ALL=C.UTF-8 gdbus call --session --timeout 10 \
        --dest tr.com.zelvor.VelkaroArama.SearchProvider \
        --object-path /tr/com/zelvor/VelkaroArama/SearchProvider --method "$@" 2>/dev/null
}
gnome=org.gnome.Shell.SearchProvider2
service_answers() { [ "$(ask $gnome.GetInitialResultSet "['ısı']")" = "(['1', '2'],)" ]; }
wait_until "the search service to find ısı in the user's list" service_answers

# The program the service started: its window (the only main window on the screen) and
# its process, which is not our child.
launched_window_into() {
    local id
    id=$(xdotool search --all --onlyvisible --name "^$main_title\$" 2>/dev/null | head -n 1)
    [ -n "$id" ] && printf -v "$1" '%s' "$id"
}
launched=
close_launched() {
    local pid
    pid=$(xdotool getwindowpid "$launched")
    "$here/close-window.py" "$launched"
    wait_until "the started program to end" eval "! kill -0 $pid 2>/dev/null"
    launched=
}

# GNOME Shell: the second of two answers for ısı; the first row would copy 10 and 10.
ask $gnome.ActivateResult 2 "['ısı']" 0 >/dev/null
wait_until "the program GNOME Shell's choice starts" launched_window_into launched
sleep 2 # the web view arrives after the first paint
xdotool windowfocus --sync "$launched"
expect_clipboard_after ctrl+t 2.5 "Ctrl+T on GNOME Shell's second result for ısı"
expect_clipboard_after ctrl+b 6.5 "Ctrl+B on GNOME Shell's second result for ısı"
# Esc in the list: the first box, its text selected; Ctrl+C copies the box's text.
xdotool key --clearmodifiers Escape
expect_clipboard_after ctrl+c 'ısı' "Esc goes to the first box, which holds the term"
# Back into the list by the mouse (its first row, 10 years), then out by Ctrl+Tab: the
# list's Ctrl+B must no longer copy.
xdotool mousemove --window "$launched" 200 149 click 1
xdotool key --clearmodifiers ctrl+Tab
xdotool key --clearmodifiers ctrl+b
sleep 0.5
clipboard_is 'ısı' || fail "Ctrl+Tab did not leave the list: clipboard holds '$(clipboard)'"
echo "ok: Ctrl+Tab leaves the list"
# Ctrl+F from wherever the focus is now: the first box, its text selected and replaced.
xdotool key --clearmodifiers ctrl+f
xdotool type --delay 20 kazan
xdotool key --clearmodifiers ctrl+a
expect_clipboard_after ctrl+c kazan "Ctrl+F selects the first box's text"
close_launched

# KRunner: Run gets the match id alone; the service kept the query's terms.
matches=$(ask org.kde.krunner1.Match 'ısı')
second_id=$(grep -o "('[0-9]*', '" <<<"$matches" | sed -n "2s/[(', ]//gp")
[ "$second_id" = 2 ] || fail "KRunner's second match for ısı is '$second_id': $matches"
ask org.kde.krunner1.Run "$second_id" '' >/dev/null
wait_until "the program KRunner's choice starts" launched_window_into launched
sleep 2
xdotool windowfocus --sync "$launched"
expect_clipboard_after ctrl+t 2.5 "Ctrl+T on KRunner's second match for ısı"
xdotool key --clearmodifiers Escape
expect_clipboard_after ctrl+c 'ısı' "KRunner's query is in the first box"
close_launched
kill -TERM "$service_pid" 2>/dev/null || true

# True once the program's log holds a box with the application's title and this text.
box_said() { grep -qxF "velkaro.boxes: $box_title | $1" "$work/program.log"; }

# --- run 2: no list at all; two error boxes, each closed with Enter, then the window
mkdir -p "$work/empty"
start_program "$program" "$work/empty"
for box_number in 1 2; do
    wait_until "error box $box_number" has_window "$box_title"
    if [ "$box_number" -eq 1 ]; then
        wait_until "the first box to say the list is missing, in English" \
            box_said "Could not find file '$work/empty/AnaData/Velkaro.mdb'"
        echo "ok: under C.UTF-8 the box says the list is missing in English"
    fi
    box=$(windows_titled "$box_title" | head -n 1)
    xdotool windowfocus --sync "$box"
    xdotool key Return
    wait_until "error box $box_number to close on Enter" window_gone "$box" "$box_title"
    echo "ok: error box $box_number closed with Enter"
done
main=$(settled_main_window)
[ -z "$(windows_titled "$box_title")" ] || fail "a third box came up"
echo "ok: main window up after the two boxes"
close_and_expect_clean_exit "$main"

# --- run 2t: the same for a Turkish user: the box keeps its title, its text is Turkish
mkdir -p "$work/bos"
session_extra=(LC_ALL= LANG=tr_TR.UTF-8)
start_program "$program" "$work/bos"
session_extra=()
wait_until "the Turkish error box" has_window "$box_title"
wait_until "the box to say the list is missing, in Turkish" \
    box_said "'$work/bos/AnaData/Velkaro.mdb' dosyası bulunamadı."
echo "ok: under LANG=tr_TR.UTF-8 the box says the list is missing in Turkish"
kill -KILL -- "-$program_pid"
wait "$program_pid" 2>/dev/null || true
program_pid=

# --- run 3: the shipped list on a Full HD screen under a window manager
Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp -noreset 3>"$work/wm-display" 2>>"$work/xvfb.log" &
wm_xvfb_pid=$!
wait_until "the second X server" test -s "$work/wm-display"
xvfb_display=":$(head -n 1 "$work/wm-display")"
export DISPLAY=$xvfb_display
openbox --sm-disable >"$work/openbox.log" 2>&1 &
wait_until "the window manager" eval "\"$here/xwindow.py\" wm >/dev/null"
mkdir -p "$work/full/AnaData"
cp "$here/../../AnaData/Velkaro.mdb" "$work/full/AnaData/"
start_program "$program" "$work/full"
main=$(settled_main_window)
state_has() {
    local state
    state=$("$here/xwindow.py" state "$main")
    grep -qx "$1" <<<"$state"
}
maximised() { state_has _NET_WM_STATE_MAXIMIZED_VERT && state_has _NET_WM_STATE_MAXIMIZED_HORZ; }
wait_until "the main window to be maximised" maximised
echo "ok: one main window from its first map on, maximised with the web view in it"

# Filter by "a" (the "x" is the key that applies it): 62 of the 66 rows match, more
# than the grid shows. Every row on screen must have been fetched before the "x"
# reached its box; a row fetched after it would be tested against "ax", which nothing
# matches, and stay blank.
read -r _ _ _ client_height < <("$here/xwindow.py" geometry "$main")
xdotool mousemove --window "$main" 100 43 click 1
xdotool type --delay 50 ax
sleep 0.5
# The row just above the last one the grid shows, in the list number column.
status_bar=19
row_height=17
last_rows_top=$((client_height - status_bar - 3 * row_height))
inked=$("$here/xwindow.py" inked "$main" 16 "$last_rows_top" 40 $((2 * row_height)))
[ "$inked" -gt 0 ] || fail "the grid's last rows are blank after a filtering key"
echo "ok: a full first screenful after a filtering key"

# Away from the boxes, so that no caret blinks in what is compared below.
xdotool mousemove --window "$main" 200 149 click 1
"$here/xwindow.py" restore "$main"
restored_size() { [[ $("$here/xwindow.py" geometry "$main") == *" 992 466" ]]; }
wait_until "the restored 992x466 window" restored_size
! maximised || fail "the window still says it is maximised"
echo "ok: restoring gives the designed 992x466 client area"
sleep 0.3
search_area=$("$here/xwindow.py" digest "$main" 0 0 385 121)
xdotool windowsize "$main" 600 466
narrow() { [[ $("$here/xwindow.py" geometry "$main") == *" 600 466" ]]; }
wait_until "the window to be 600 px wide" narrow
sleep 0.3
[ "$("$here/xwindow.py" digest "$main" 0 0 385 121)" = "$search_area" ] \
    || fail "the search area changed on a 600 px window"
echo "ok: the search area is unchanged on a 600 px window"

# The grid narrows and scrolls: End takes it to the last column, the communiqué.
header=$("$here/xwindow.py" digest "$main" 16 124 500 14)
xdotool mousemove --window "$main" 200 149 click 1
xdotool key End
sleep 0.3
[ "$("$here/xwindow.py" digest "$main" 16 124 500 14)" != "$header" ] \
    || fail "End on a 600 px window did not scroll the grid to its last column"
echo "ok: the grid scrolls sideways to its last column on a 600 px window"

[ "$(windows_titled "$main_title" | head -n 1)" = "$main" ] \
    || fail "the main window was replaced while the program ran"
# Log-off and kill end the program through its close handler.
kill -TERM "$program_pid"
deadline=$((SECONDS + wait_seconds))
while kill -0 "$program_pid" 2>/dev/null; do
    [ "$SECONDS" -lt "$deadline" ] || fail "the program did not end on SIGTERM"
    sleep 0.1
done
status=0
wait "$program_pid" || status=$?
program_pid=
[ "$status" -eq 0 ] || fail "the program ended with status $status on SIGTERM"
wait_until "the publisher's page to be opened" grep -qx "$closing_page" "$work/opened-urls"
echo "ok: SIGTERM runs the close handler and ends the program with status 0"

echo "end-to-end test passed in $((SECONDS - started))s"
