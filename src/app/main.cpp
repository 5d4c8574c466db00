// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/application.h"
#include "app/startoptions.h"
#include "app/startup.h"
#include "app/terminationsignals.h"
#include "ui/amortana/tamortanaf.h"

int main(int argc, char *argv[])
{
    Application application(argc, argv);
    StartOptions options(QCoreApplication::arguments());
    if (options.outcome() != StartOptions::Outcome::Start)
        return options.finishWithoutWindows();

    const MainWindows windows = createMainWindows();
    terminationsignals::closeOnTermination(windows.amortanaF.get());
    windows.amortanaF->showMaximized();
    // Before the loop runs, so that the first pixels already show the result.
    if (options.searchTerm())
        searchAtStart(*windows.amortanaF, *options.searchTerm());
    application.exec();
    // The loop can also end without the window being closed (the session manager's
    // last word at log-off): the close handler runs all the same.
    if (windows.amortanaF->isVisible())
        windows.amortanaF->close();
    return 0;
}
