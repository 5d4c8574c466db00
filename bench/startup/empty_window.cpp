// The yardstick of the start-up benchmark: a bare Qt Widgets window, shown maximised,
// that quits after its first paint. bench/startup/run-startup-bench.sh starts it in turn
// with the real window (see there for the commands).
#include "firstpaint.h"

#include <QApplication>
#include <QWidget>

int main(int argc, char *argv[])
{
    const double start = firstpaint::startMicroseconds();
    QApplication application(argc, argv);
    QWidget window;
    firstpaint::Watcher watcher(start);
    window.installEventFilter(&watcher);
    window.showMaximized();
    return application.exec();
}
