// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringList>

// Starts the program for a result the user chose: in the folder that holds its AnaData/,
// as its menu entry does, with the search applied (`--ara=TERM`). Each start is a
// program of its own; the service does not wait for it.
class ProgramLauncher
{
public:
    ProgramLauncher(QString program, QString workingDirectory);

    // Fills the first term box with the first term: the window's search takes one term
    // there, and every row found holds that term, so the chosen row is among those shown.
    // No terms: the program starts as from its menu. False, and a log line, when it could
    // not be started.
    bool launch(const QStringList &terms) const;

    const QString &program() const { return m_program; }
    const QString &workingDirectory() const { return m_workingDirectory; }

private:
    QString m_program;
    QString m_workingDirectory;
};
