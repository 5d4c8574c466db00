// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/startup.h"

#include "ui/amortana/tamortanaf.h"
#include "ui/common/errorreporting.h"
#include "ui/yardim/tyardimf.h"

MainWindows::MainWindows() = default;
MainWindows::MainWindows(MainWindows &&) noexcept = default;
MainWindows &MainWindows::operator=(MainWindows &&) noexcept = default;
MainWindows::~MainWindows() = default;

MainWindows createMainWindows(const QString &helpFile)
{
    MainWindows windows;
    windows.amortanaF = std::make_unique<TamortanaF>();
    errorreporting::reportErrors([&] { windows.amortanaF->connectOnLoad(); });
    errorreporting::reportErrors([&] { windows.amortanaF->FormCreate(); });

    windows.yardimF = std::make_unique<TyardimF>();
    // Closing the main window ends the program even while the help window is open.
    windows.yardimF->setAttribute(Qt::WA_QuitOnClose, false);
    if (!helpFile.isEmpty())
        windows.yardimF->setHelpFile(helpFile);
    errorreporting::reportErrors([&] { windows.yardimF->FormCreate(); });
    windows.amortanaF->setHelpWindow(windows.yardimF.get());
    return windows;
}

void searchAtStart(TamortanaF &window, const StartSearch &search)
{
    errorreporting::reportErrors([&] { window.searchFor(search.term1, search.term2); });
    if (search.rowCode)
        errorreporting::reportErrors([&] { window.makeRowCurrent(*search.rowCode); });
}
