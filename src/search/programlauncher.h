// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// Starts the program for a result the user chose: in the folder that holds its AnaData/,
// as its menu entry does, with the search applied and the chosen row current. Each start
// is a program of its own; the service does not wait for it.
class ProgramLauncher
{
public:
    // `options` go first on every start (the menu entry's --kullanici-verisi).
    ProgramLauncher(QString program, QString workingDirectory, QStringList options = {});

    // The first term goes into the first box, the second into the second (VE); the chosen
    // row matches both, and further terms would only narrow what the row already
    // matches. `rowCode` is the row's list number, which still names it should the list
    // change before the program reads it. No terms: the whole list. False, and a log
    // line, when the program could not be started.
    bool launch(const QStringList &terms, const std::optional<QString> &rowCode = {}) const;

    const QString &program() const { return m_program; }
    const QString &workingDirectory() const { return m_workingDirectory; }
    void setWorkingDirectory(const QString &folder) { m_workingDirectory = folder; }

private:
    QString m_program;
    QString m_workingDirectory;
    QStringList m_options;
};
