// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/startoptions.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <cstdio>
#include <cstdlib>

namespace {

const QString kSearchOption = QStringLiteral("ara");

} // namespace

StartOptions::StartOptions(const QStringList &arguments)
    : m_arguments(arguments)
{
    m_parser.setApplicationDescription(QStringLiteral(
        "Finds the depreciation rate and useful life of a fixed asset in the VUK list.\n"
        "Reads AnaData/Velkaro.mdb and the help file yardim from the current folder."));
    m_parser.addOption(QCommandLineOption(kSearchOption,
        QStringLiteral("Starts with TERM in the first search box and the list searched for it, "
                       "as typing it and clicking ARA would. An empty TERM shows every row."),
        QStringLiteral("TERM")));
    m_parser.addHelpOption();
    m_parser.addVersionOption();

    if (!m_parser.parse(arguments)) {
        m_outcome = Outcome::Refuse;
        m_errorText = m_parser.errorText();
        return;
    }
    // In the order Qt's own processing answers them.
    if (m_parser.isSet(QStringLiteral("version")) || m_parser.isSet(QStringLiteral("help"))
        || m_parser.isSet(QStringLiteral("help-all"))) {
        m_outcome = Outcome::ShowInformation;
        return;
    }
    // A bare word was never read before; taking it silently would hide a mistyped option.
    if (const QStringList words = m_parser.positionalArguments(); !words.isEmpty()) {
        m_outcome = Outcome::Refuse;
        m_errorText = QStringLiteral("Unexpected argument '%1' (a search term is given as "
                                     "--ara TERM).")
                          .arg(words.first());
        return;
    }
    if (m_parser.isSet(kSearchOption))
        m_searchTerm = m_parser.value(kSearchOption);
}

int StartOptions::finishWithoutWindows()
{
    if (m_outcome == Outcome::ShowInformation) {
        // Qt prints the help and version as every Qt program does, and exits.
        m_parser.process(m_arguments);
        return EXIT_SUCCESS;
    }
    const QString program = m_arguments.isEmpty() ? QCoreApplication::applicationName()
                                                  : QFileInfo(m_arguments.first()).fileName();
    const QString message
        = QStringLiteral("%1: %2\nTry '%1 --help' for the options.\n").arg(program, m_errorText);
    std::fputs(message.toLocal8Bit().constData(), stderr);
    return EXIT_FAILURE;
}
