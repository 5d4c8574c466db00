// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

#include <memory>
#include <optional>

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
// on: a database that cannot be opened leaves an empty, working window. The help file is
// the current folder's `yardim` unless another is named.
MainWindows createMainWindows(const QString &helpFile = {});

// The search the command line asked for (--ara, --ara2, --satir), run once the main
// window is shown. An error shows in the error box as a click's would, and the program
// goes on.
struct StartSearch
{
    QString term1;
    QString term2;
    std::optional<QString> rowCode;
};
void searchAtStart(TamortanaF &window, const StartSearch &search);
