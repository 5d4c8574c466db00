// SPDX-License-Identifier: GPL-3.0-or-later

#include "search/programlauncher.h"

#include "search/searchlog.h"

#include <QProcess>

ProgramLauncher::ProgramLauncher(QString program, QString workingDirectory, QStringList options)
    : m_program(std::move(program))
    , m_workingDirectory(std::move(workingDirectory))
    , m_options(std::move(options))
{ }

bool ProgramLauncher::launch(const QStringList &terms, const std::optional<QString> &rowCode) const
{
    // One argument each, "--ara=TERM": a term that looks like an option ("-reverse") can
    // then be neither taken by Qt's own option handling nor read as another option.
    QStringList arguments = m_options;
    if (!terms.isEmpty())
        arguments.append(QStringLiteral("--ara=") + terms.at(0));
    if (terms.size() > 1)
        arguments.append(QStringLiteral("--ara2=") + terms.at(1));
    if (rowCode && !rowCode->isEmpty())
        arguments.append(QStringLiteral("--satir=") + *rowCode);
    if (!QProcess::startDetached(m_program, arguments, m_workingDirectory)) {
        qCWarning(lcSearch, "Could not start %s in %s", qUtf8Printable(m_program),
            qUtf8Printable(m_workingDirectory));
        return false;
    }
    return true;
}
