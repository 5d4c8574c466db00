// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

class QWidget;

// Ending the program from outside (SIGTERM from a log-off or `kill`, SIGHUP from a
// closed terminal, SIGINT from Ctrl+C in it) closes the window the way its close box
// does, through the event loop, and ends the event loop even where a box is open: the
// close handler runs and the program exits with 0.
// The signal handler itself only wakes the loop. Does nothing where there are no such
// signals.
namespace terminationsignals {

void closeOnTermination(QWidget *window);

} // namespace terminationsignals
