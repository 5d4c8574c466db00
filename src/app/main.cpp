// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/application.h"
#include "app/startoptions.h"
#include "app/startup.h"
#include "app/terminationsignals.h"
#include "datafolder/datafolder.h"
#include "datafolder/translations.h"
#include "ui/amortana/tamortanaf.h"

#include <QDir>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace {

// --kullanici-verisi: the user's own list when there is one, else the installed one;
// the program then works in that folder as it works in the one it is started from.
QString enterDataFolder()
{
    const datafolder::Choice choice = datafolder::choose(datafolder::usersFolder(),
        datafolder::installedFolder(QCoreApplication::applicationDirPath()));
    QDir::setCurrent(choice.folder);
    return choice.helpFile;
}

} // namespace

int main(int argc, char *argv[])
{
#ifdef __GLIBC__
    // The C library raises its threshold for giving blocks their own mapping each time
    // such a block is freed; after the list's growing blocks have been moved a few
    // times, the rest come from the heap, whose freed parts stay with the process: 15
    // bytes a row at a million rows. A fixed threshold gives them back.
    mallopt(M_MMAP_THRESHOLD, 1024 * 1024);
#endif
    // Read before any window system is touched: --help, --version and a mistyped option
    // answer without a display.
    StartOptions options(StartOptions::argumentsOf(argc, argv));
    if (options.outcome() != StartOptions::Outcome::Start) {
        QCoreApplication information(argc, argv);
        Application::setIdentity();
        translations::install(translations::folderFor(QCoreApplication::applicationDirPath()));
        return options.finishWithoutWindows();
    }
    Application application(argc, argv);
    translations::install(translations::folderFor(QCoreApplication::applicationDirPath()));
    const QString helpFile = options.usersOwnData() ? enterDataFolder() : QString();
    const MainWindows windows = createMainWindows(helpFile);
    terminationsignals::closeOnTermination(windows.amortanaF.get());
    windows.amortanaF->showMaximized();
    // Before the loop runs, so that the first pixels already show the result.
    if (options.searchRequested()) {
        searchAtStart(*windows.amortanaF,
            {options.searchTerm().value_or(QString()), options.secondTerm().value_or(QString()),
                options.rowCode()});
    }
    application.exec();
    // The loop can also end without the window being closed (the session manager's
    // last word at log-off): the close handler runs all the same.
    if (windows.amortanaF->isVisible())
        windows.amortanaF->close();
    return 0;
}
