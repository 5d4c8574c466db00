// SPDX-License-Identifier: GPL-3.0-or-later

#include "search/programlauncher.h"

#include "search/searchlog.h"

#include <QProcess>

ProgramLauncher::ProgramLauncher(QString program, QString workingDirectory)
    : m_program(std::move(program))
    , m_workingDirectory(std::move(workingDirectory))
{ }

bool ProgramLauncher::launch(const QStringList &terms) const
{
    // One argument, "--ara=TERM": a term that looks like an option ("-reverse") can then
    // be neither taken by Qt's own option handling nor read as another option.
    QStringList arguments;
    if (!terms.isEmpty())
        arguments = {QStringLiteral("--ara=") + terms.front()};
    if (!QProcess::startDetached(m_program, arguments, m_workingDirectory)) {
        qCWarning(lcSearch, "Could not start %s in %s", qUtf8Printable(m_program),
            qUtf8Printable(m_workingDirectory));
        return false;
    }
    return true;
}
