// SPDX-License-Identifier: GPL-3.0-or-later

// The program's start-up as src/app/main.cpp does it, ending after the grid's first
// paint and printing the time since the process started. With --web-before-paint the
// web view is created and navigated before the window is shown, for comparison with the
// program, which creates it after the first paint. Rerun the comparison with
//   cmake --build build-bench --target velkaro-empty-window bench_startup_window
//   bench/startup/run-startup-bench.sh build-bench 21
#include "firstpaint.h"

#include "app/application.h"
#include "app/startup.h"
#include "ui/amortana/tamortanaf.h"
#include "ui/amortana/webpanel.h"

#include <QAbstractScrollArea>
#include <QTableView>

#include <cstring>

int main(int argc, char *argv[])
{
    const double start = firstpaint::startMicroseconds();
    const bool webBeforePaint = argc > 1 && std::strcmp(argv[1], "--web-before-paint") == 0;

    Application application(argc, argv);

    const MainWindows windows = createMainWindows();
    firstpaint::Watcher watcher(start);
    windows.amortanaF->findChild<QTableView *>(QStringLiteral("meslekkoduGrid"))
        ->viewport()
        ->installEventFilter(&watcher);
    if (webBeforePaint)
        windows.amortanaF->webPanel()->createView();
    windows.amortanaF->showMaximized();
    application.exec();
    return 0;
}
