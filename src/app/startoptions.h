// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QCommandLineParser>
#include <QString>
#include <QStringList>

#include <optional>

// What the command line asks of a start: a search to run (`--ara TERM`, `--ara2 TERM`,
// `--satir CODE`) and where to work (`--kullanici-verisi`), besides --help and --version.
// Read before the application object exists, so that --help, --version and a mistake
// need no display; Qt's own options (-platform, -style, -session…) pass through unread.
class StartOptions
{
public:
    enum class Outcome {
        Start, // open the windows
        ShowInformation, // --help, --help-all or --version: print it, open nothing
        Refuse, // a mistake on the command line: errorText() says which
    };

    // The status of a refused command line, as command-line programs report misuse.
    static constexpr int kMisuseStatus = 2;

    // The program's name first, as main() receives them.
    explicit StartOptions(const QStringList &arguments);

    // main()'s arguments as text, as the application object would decode them.
    static QStringList argumentsOf(int argc, char **argv);

    Outcome outcome() const { return m_outcome; }
    // The term of --ara, to be put into the first box and searched for once the window
    // is up. An empty term is a request too: ARA with an empty box shows every record.
    const std::optional<QString> &searchTerm() const { return m_searchTerm; }
    // --ara2: the second box's term, searched for together with the first (VE).
    const std::optional<QString> &secondTerm() const { return m_secondTerm; }
    // --satir: the list number of the row to make current once the search has run.
    const std::optional<QString> &rowCode() const { return m_rowCode; }
    bool searchRequested() const { return m_searchTerm || m_secondTerm || m_rowCode; }
    // --kullanici-verisi: work in the user's own data folder when it holds a list.
    bool usersOwnData() const { return m_usersOwnData; }
    QString errorText() const { return m_errorText; }

    // Ends a start that opens no window: prints the help or the version to stdout, or
    // the mistake to stderr, and returns the status. Needs a QCoreApplication, which
    // (unlike the GUI one) touches no window system.
    int finishWithoutWindows();

private:
    int printOutcome();

    QStringList m_arguments;
    QCommandLineParser m_parser;
    Outcome m_outcome = Outcome::Start;
    std::optional<QString> m_searchTerm;
    std::optional<QString> m_secondTerm;
    std::optional<QString> m_rowCode;
    bool m_usersOwnData = false;
    QString m_errorText;
};
