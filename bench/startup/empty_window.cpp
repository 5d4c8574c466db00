// SPDX-License-Identifier: GPL-3.0-or-later

// The yardstick of the start-up benchmark: a bare Qt Widgets window, shown maximised,
// that quits after its first paint. bench/startup/run-startup-bench.sh starts it in turn
// with the real window (see there for the commands). With STARTUP_BENCH_STAY=1 in the
// environment it stays open, for timing from outside (bench/xtiming-against-bare.sh).
#include "firstpaint.h"

#include <QApplication>
#include <QWidget>

int main(int argc, char *argv[])
{
    const double start = firstpaint::startMicroseconds();
    QApplication application(argc, argv);
    QWidget window;
    firstpaint::Watcher watcher(start);
    if (qEnvironmentVariableIntValue("STARTUP_BENCH_STAY") != 1)
        window.installEventFilter(&watcher);
    window.showMaximized();
    return application.exec();
}
