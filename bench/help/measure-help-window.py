#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Times the real program's help window under an X server, from outside the process.

Start-up: from starting the program to the map of its main window. Help button: a click
on the button (XTest); the help window maps at once but is painted only once the click's
handler has returned to the event loop, so the time from the click to the first X Damage
inside the help window is how long the program stood frozen. "settled" is the last
damage anywhere before a quiet --observe seconds.
Memory: the peak resident size (VmHWM) of the program, and of the program with its
WebEngine helper processes, at the end.

  bench/help/measure-help-window.py --display :180 --bin build/src/app/velkaro-arama \\
      --cwd DIR_WITH_ANADATA_AND_YARDIM [--runs 3] [--button 343,58]

Start an Xvfb first; no window manager (the main window then keeps its designed place,
and --button is the help button's place inside it). Needs python3-xlib.
"""
import argparse, os, select, signal, statistics, subprocess, time
from Xlib import X, display
from Xlib.ext import damage, xtest

MAIN_TITLE = 'Zelvor VUK Velkaro'  # the beginning of the main window's caption
HELP_TITLE = 'Zelvor Tarsem Takip Programı - Yardım'

ap = argparse.ArgumentParser()
ap.add_argument('--display', required=True)
ap.add_argument('--bin', required=True)
ap.add_argument('--cwd', required=True)
ap.add_argument('--runs', type=int, default=3)
ap.add_argument('--button', default='343,58')
ap.add_argument('--settle', type=float, default=3.0)
ap.add_argument('--observe', type=float, default=4.0, help='seconds watched after the help is up')
ap.add_argument('--timeout', type=float, default=300.0)
a = ap.parse_args()
button = tuple(int(v) for v in a.button.split(','))

d = display.Display(a.display)
root = d.screen().root
root.change_attributes(event_mask=X.SubstructureNotifyMask)
d.damage_query_version()
root_damage = root.damage_create(damage.DamageReportRawRectangles)
d.sync()


def title(window):
    try:
        name = window.get_full_property(d.intern_atom('_NET_WM_NAME'), 0)
        if name:
            return name.value.decode('utf-8', 'replace')
        return window.get_wm_name() or ''
    except Exception:
        return ''


def drain(timeout):
    out = []
    end = time.monotonic() + timeout
    while True:
        while d.pending_events():
            out.append((time.monotonic(), d.next_event()))
        left = end - time.monotonic()
        if left <= 0 or out:
            return out
        select.select([d.fileno()], [], [], left)


def mapped_window(wanted):
    for child in root.query_tree().children:
        try:
            if child.get_attributes().map_state == X.IsViewable and \
                    title(child).startswith(wanted):
                return child
        except Exception:
            pass
    return None


def tree_pids(pid):
    children = {}
    for entry in os.listdir('/proc'):
        if entry.isdigit():
            try:
                with open(f'/proc/{entry}/stat') as f:
                    ppid = int(f.read().rsplit(')', 1)[1].split()[1])
                children.setdefault(ppid, []).append(int(entry))
            except OSError:
                pass
    pids, todo = [], [pid]
    while todo:
        p = todo.pop()
        pids.append(p)
        todo.extend(children.get(p, []))
    return pids


def peak_kib(pid):
    try:
        with open(f'/proc/{pid}/status') as f:
            for line in f:
                if line.startswith('VmHWM:'):
                    return int(line.split()[1])
    except OSError:
        pass
    return 0


def one_run():
    env = dict(os.environ, DISPLAY=a.display, QTWEBENGINE_DISABLE_SANDBOX='1')
    start = time.monotonic()
    program = subprocess.Popen([os.path.abspath(a.bin)], cwd=a.cwd, env=env,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    result = {}
    try:
        while 'startup' not in result and time.monotonic() - start < a.timeout:
            for t, ev in drain(0.05):
                if ev.type == X.MapNotify and title(ev.window).startswith(MAIN_TITLE):
                    result['startup'] = t - start
        time.sleep(a.settle)
        main = mapped_window(MAIN_TITLE)
        geometry = main.get_geometry()
        origin = main.translate_coords(root, 0, 0)
        x, y = -origin.x + button[0], -origin.y + button[1]
        drain(0.01)

        xtest.fake_input(d, X.MotionNotify, x=x, y=y)
        d.sync()
        time.sleep(0.05)
        clicked = time.monotonic()
        xtest.fake_input(d, X.ButtonPress, 1)
        xtest.fake_input(d, X.ButtonRelease, 1)
        d.sync()

        help_mapped = help_painted = None
        help_area = None
        last_damage = clicked
        deadline = clicked + a.timeout
        while time.monotonic() < deadline:
            for t, ev in drain(0.02):
                if ev.type == X.MapNotify and help_mapped is None and \
                        title(ev.window).startswith(HELP_TITLE):
                    help_mapped = t
                    g = ev.window.get_geometry()
                    at = ev.window.translate_coords(root, 0, 0)
                    help_area = (-at.x, -at.y, g.width, g.height)
                elif ev.__class__.__name__ == 'DamageNotify':
                    last_damage = t
                    r = ev.area
                    if help_area and help_painted is None and \
                            r.x < help_area[0] + help_area[2] and r.x + r.width > help_area[0] and \
                            r.y < help_area[1] + help_area[3] and r.y + r.height > help_area[1]:
                        help_painted = t
            d.damage_subtract(root_damage)
            now = time.monotonic()
            if help_painted and now - max(help_painted, last_damage) > a.observe:
                break
        result['frozen'] = (help_painted - clicked) if help_painted else float('inf')
        result['help_mapped'] = (help_mapped - clicked) if help_mapped else float('inf')
        result['settled'] = (last_damage - clicked) if help_painted else float('inf')
        result['peak_mib'] = peak_kib(program.pid) / 1024
        result['peak_tree_mib'] = sum(peak_kib(p) for p in tree_pids(program.pid)) / 1024
    finally:
        program.send_signal(signal.SIGTERM)
        try:
            program.wait(5)
        except subprocess.TimeoutExpired:
            program.kill()
            program.wait()
    return result


runs = [one_run() for _ in range(a.runs)]
for key in ('startup', 'frozen', 'help_mapped', 'settled', 'peak_mib', 'peak_tree_mib'):
    values = [r.get(key, float('nan')) for r in runs]
    print(f'{key:14} median {statistics.median(values):9.3f}   runs ' +
          ' '.join(f'{v:.3f}' for v in values))
