// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

// Where the program works and the desktop search reads: one rule for both. The user's
// own folder when it holds a list, the installed folder otherwise. Qt Core only.
namespace datafolder {

struct Choice
{
    QString folder; // the working folder: AnaData/Velkaro.mdb is read from here
    QString helpFile; // the help file, beside AnaData/ or else the installed one
    bool usersOwn = false;
};

// $XDG_DATA_HOME/velkaro-arama, by default ~/.local/share/velkaro-arama; on Windows
// %APPDATA%\Velkaro Arama.
QString usersFolder();
// The installed data folder, at its fixed place relative to the given program folder.
QString installedFolder(const QString &programFolder);
// The list a folder holds (whether or not it is there).
QString databaseIn(const QString &folder);

// The user's folder when it holds AnaData/Velkaro.mdb, else the installed one.
Choice choose(const QString &usersFolder, const QString &installedFolder);

} // namespace datafolder
