// SPDX-License-Identifier: GPL-3.0-or-later

#include "datafolder.h"

#include "searchlayout.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace datafolder {

QString usersFolder()
{
#ifdef Q_OS_WIN
    // Where a Windows user looks for a program's own files, roaming with the profile.
    return QDir(qEnvironmentVariable("APPDATA")).filePath(QStringLiteral("Velkaro Arama"));
#else
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
        .filePath(QStringLiteral("velkaro-arama"));
#endif
}

QString installedFolder(const QString &programFolder)
{
    return QDir::cleanPath(QDir(programFolder).filePath(QString::fromUtf8(kDataFolderFromProgram)));
}

QString databaseIn(const QString &folder)
{
    return QDir(folder).filePath(QStringLiteral("AnaData/Velkaro.mdb"));
}

Choice choose(const QString &usersFolder, const QString &installedFolder)
{
    const QString installedHelp = QDir(installedFolder).filePath(QStringLiteral("yardim"));
    // A file, not merely a name: a folder or a dangling link there is no list.
    if (!QFileInfo(databaseIn(usersFolder)).isFile())
        return {installedFolder, installedHelp, false};
    const QString ownHelp = QDir(usersFolder).filePath(QStringLiteral("yardim"));
    return {usersFolder, QFileInfo::exists(ownHelp) ? ownHelp : installedHelp, true};
}

} // namespace datafolder
