// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <memory>

class QString;
class TamortanaF;
class TyardimF;

// The program's two windows, created in start-up order.
struct MainWindows
{
    std::unique_ptr<TamortanaF> amortanaF;
    std::unique_ptr<TyardimF> yardimF;

    MainWindows();
    MainWindows(MainWindows &&) noexcept;
    MainWindows &operator=(MainWindows &&) noexcept;
    ~MainWindows();
};

// Builds the main window (its connection opens on load), runs its create handler, then
// creates the help window hidden. A step that fails shows its error and the start goes
// on: a database that cannot be opened leaves an empty, working window.
MainWindows createMainWindows();

// The search the command line asked for (--ara), run once the main window is shown. An
// error shows in the error box as a click's would, and the program goes on.
void searchAtStart(TamortanaF &window, const QString &term);
