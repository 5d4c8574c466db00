#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
# Asks an X window to close the way a window manager's close button does: a
# WM_DELETE_WINDOW message. Without a window manager nothing else sends one, and killing
# the client would skip the program's close handler. Usage: close-window.py <window id>
import sys

from Xlib import X, display, protocol

screen = display.Display()
window = screen.create_resource_object("window", int(sys.argv[1], 0))
wm_protocols = screen.intern_atom("WM_PROTOCOLS")
wm_delete = screen.intern_atom("WM_DELETE_WINDOW")
message = protocol.event.ClientMessage(
    window=window, client_type=wm_protocols, data=(32, [wm_delete, X.CurrentTime, 0, 0, 0]))
window.send_event(message, event_mask=X.NoEventMask)
screen.sync()
