#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
# Looks at and asks things of an X window from outside, as a window manager or a user
# would see it. Usage:
#   xwindow.py state ID                 the window's _NET_WM_STATE, one name per line
#   xwindow.py geometry ID              client area: X Y WIDTH HEIGHT on the screen
#   xwindow.py maximise|restore ID      asks the window manager to (un)maximise it
#   xwindow.py digest ID X Y W H        a digest of the pixels of a part of the window
#   xwindow.py inked ID X Y W H         how many dark pixels (text) a part of it shows
#   xwindow.py wm                       the running window manager's name, if any
import hashlib
import sys

from Xlib import X, Xatom, display, protocol

screen = display.Display()
root = screen.screen().root
command = sys.argv[1]
if command == "wm":
    check = root.get_full_property(screen.intern_atom("_NET_SUPPORTING_WM_CHECK"), Xatom.WINDOW)
    if not check:
        sys.exit(1)
    manager = screen.create_resource_object("window", check.value[0])
    name = manager.get_full_property(screen.intern_atom("_NET_WM_NAME"), 0)
    print(name.value.decode() if name else "unnamed")
    sys.exit(0)
window = screen.create_resource_object("window", int(sys.argv[2], 0))


def region():
    x, y, width, height = (int(value) for value in sys.argv[3:7])
    image = window.get_image(x, y, width, height, X.ZPixmap, 0xFFFFFFFF)
    return image.data, width * height


if command == "state":
    atom = screen.intern_atom("_NET_WM_STATE")
    reply = window.get_full_property(atom, Xatom.ATOM)
    for value in reply.value if reply else []:
        print(screen.get_atom_name(value))
elif command == "geometry":
    geometry = window.get_geometry()
    origin = window.translate_coords(root, 0, 0)
    print(-origin.x, -origin.y, geometry.width, geometry.height)
elif command in ("maximise", "restore"):
    state = screen.intern_atom("_NET_WM_STATE")
    vertical = screen.intern_atom("_NET_WM_STATE_MAXIMIZED_VERT")
    horizontal = screen.intern_atom("_NET_WM_STATE_MAXIMIZED_HORZ")
    action = 1 if command == "maximise" else 0
    message = protocol.event.ClientMessage(
        window=window, client_type=state, data=(32, [action, vertical, horizontal, 1, 0]))
    root.send_event(
        message, event_mask=X.SubstructureRedirectMask | X.SubstructureNotifyMask)
    screen.sync()
elif command == "digest":
    data, _ = region()
    print(hashlib.sha256(data).hexdigest())
elif command == "inked":
    data, pixels = region()
    step = len(data) // pixels
    print(sum(1 for i in range(0, len(data), step) if data[i] + data[i + 1] + data[i + 2] < 300))
else:
    sys.exit("unknown command " + command)
