// The yardstick of the start-up benchmark: a bare Qt Widgets window, shown maximised,
// that quits after its first paint. run-startup-bench.sh starts it beside the real one.
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
