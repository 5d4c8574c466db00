// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QCommandLineParser>
#include <QString>
#include <QStringList>

#include <optional>

// What the command line asks of a start. The program has one option of its own,
// `--ara TERM`, besides the --help and --version Qt gives; the application object has
// already taken Qt's own options (-platform, -style, -session…) out of the arguments.
class StartOptions
{
public:
    enum class Outcome {
        Start, // open the windows
        ShowInformation, // --help, --help-all or --version: print it, open nothing
        Refuse, // a mistake on the command line: errorText() says which
    };

    // Reads the arguments as QCoreApplication::arguments() gives them, the program's
    // name first. Needs no application object.
    explicit StartOptions(const QStringList &arguments);

    Outcome outcome() const { return m_outcome; }
    // The term of --ara, to be put into the first box and searched for once the window
    // is up. An empty term is a request too: ARA with an empty box shows every record.
    const std::optional<QString> &searchTerm() const { return m_searchTerm; }
    QString errorText() const { return m_errorText; }

    // Ends a start that opens no window: prints the help or the version to stdout (and
    // leaves through Qt's own exit), or the mistake to stderr and returns the status.
    int finishWithoutWindows();

private:
    QStringList m_arguments;
    QCommandLineParser m_parser;
    Outcome m_outcome = Outcome::Start;
    std::optional<QString> m_searchTerm;
    QString m_errorText;
};
