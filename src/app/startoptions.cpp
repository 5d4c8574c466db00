// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/startoptions.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <cstdio>
#include <cstdlib>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#include <shellapi.h>
#endif

namespace {

const QString kSearchOption = QStringLiteral("ara");
const QString kSecondTermOption = QStringLiteral("ara2");
const QString kRowOption = QStringLiteral("satir");
const QString kUsersDataOption = QStringLiteral("kullanici-verisi");

// The options QGuiApplication and QApplication take out of the arguments themselves.
// They are read here before those objects exist, so they are known, hidden and ignored,
// rather than refused as mistakes.
void tolerateQtOptions(QCommandLineParser &parser)
{
    const char *withValue[] = {"platform", "platformpluginpath", "platformtheme", "plugin",
        "qwindowgeometry", "geometry", "qwindowtitle", "title", "qwindowicon", "icon", "session",
        "display", "name", "style", "stylesheet", "qmljsdebugger"};
    const char *flags[] = {"reverse", "testability", "nograb", "dograb", "widgetcount"};
    for (const char *name : withValue) {
        QCommandLineOption option(QString::fromLatin1(name), QString(), QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    for (const char *name : flags) {
        QCommandLineOption option(QString::fromLatin1(name));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
}

#ifdef Q_OS_WIN
// A windowed program gets no console. Started from one, it writes into the one it was
// started from, in the encoding Qt writes (the ANSI code page), which is given back
// when done so that the shell's own output is untouched. Without a console and without
// redirected output (a Start-menu shortcut), nothing would be seen: a box says it.
class ParentConsole
{
public:
    ParentConsole()
    {
        if (!writesToHandles() && AttachConsole(ATTACH_PARENT_PROCESS)) {
            std::freopen("CONOUT$", "w", stdout);
            std::freopen("CONOUT$", "w", stderr);
            m_previousCodePage = GetConsoleOutputCP();
            SetConsoleOutputCP(GetACP());
        }
    }
    ~ParentConsole()
    {
        if (m_previousCodePage != 0) {
            std::fflush(stdout);
            std::fflush(stderr);
            SetConsoleOutputCP(m_previousCodePage);
        }
    }
    ParentConsole(const ParentConsole &) = delete;
    ParentConsole &operator=(const ParentConsole &) = delete;

    void writeError(const QString &text) const
    {
        if (writesToHandles()) {
            std::fputs(text.toLocal8Bit().constData(), stderr);
            return;
        }
        MessageBoxW(nullptr, reinterpret_cast<LPCWSTR>(text.utf16()),
            reinterpret_cast<LPCWSTR>(QCoreApplication::applicationName().utf16()),
            MB_OK | MB_ICONERROR);
    }

private:
    // The same test QCommandLineParser makes before it shows --help in a box.
    static bool writesToHandles()
    {
        if (GetConsoleWindow())
            return true;
        STARTUPINFOW startupInfo = {};
        startupInfo.cb = sizeof(startupInfo);
        GetStartupInfoW(&startupInfo);
        return (startupInfo.dwFlags & STARTF_USESTDHANDLES) != 0;
    }

    UINT m_previousCodePage = 0;
};
#else
// Elsewhere a program started from a terminal writes into it.
class ParentConsole
{
public:
    void writeError(const QString &text) const
    {
        std::fputs(text.toLocal8Bit().constData(), stderr);
    }
};
#endif

} // namespace

StartOptions::StartOptions(const QStringList &arguments)
    : m_arguments(arguments)
{
    m_parser.setApplicationDescription(QCoreApplication::translate("StartOptions",
        "Finds the depreciation rate and useful life of a fixed asset in the VUK list.\n"
        "Reads AnaData/Velkaro.mdb and the help file yardim from the current folder, or\n"
        "with --kullanici-verisi from the user's own data folder."));
    // Qt's own options are single-dash words (-platform xcb), as are -h and -v.
    m_parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    m_parser.addOption(QCommandLineOption(kSearchOption,
        QCoreApplication::translate("StartOptions",
            "Starts with TERM in the first search box and the list searched for it, "
            "as typing it and clicking ARA would. An empty TERM shows every row."),
        QCoreApplication::translate("StartOptions", "TERM")));
    m_parser.addOption(QCommandLineOption(kSecondTermOption,
        QCoreApplication::translate("StartOptions",
            "A second TERM for the second box, searched for together with the "
            "first (VE)."),
        QCoreApplication::translate("StartOptions", "TERM")));
    m_parser.addOption(QCommandLineOption(kRowOption,
        QCoreApplication::translate("StartOptions",
            "After the search, makes the row with this list number (Tüm Kodu) "
            "current; the first row when the result has none."),
        QCoreApplication::translate("StartOptions", "CODE")));
    m_parser.addOption(QCommandLineOption(kUsersDataOption,
#ifdef Q_OS_WIN
        QCoreApplication::translate("StartOptions",
            "Works in %APPDATA%\\Velkaro Arama when it holds AnaData\\Velkaro.mdb, "
            "otherwise in the program's folder.")));
#else
        QCoreApplication::translate("StartOptions",
            "Works in $XDG_DATA_HOME/velkaro-arama (~/.local/share/velkaro-arama) "
            "when it holds AnaData/Velkaro.mdb, otherwise in the installed data "
            "folder.")));
#endif
    m_parser.addHelpOption();
    m_parser.addVersionOption();
    tolerateQtOptions(m_parser);

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
        m_errorText = QCoreApplication::translate("StartOptions",
            "Unexpected argument '%1' (a search term is given as "
            "--ara TERM).")
                          .arg(words.first());
        return;
    }
    const auto valueOf = [this](const QString &name) {
        return m_parser.isSet(name) ? std::optional<QString>(m_parser.value(name)) : std::nullopt;
    };
    m_searchTerm = valueOf(kSearchOption);
    m_secondTerm = valueOf(kSecondTermOption);
    m_rowCode = valueOf(kRowOption);
    m_usersOwnData = m_parser.isSet(kUsersDataOption);
}

QStringList StartOptions::argumentsOf(int argc, char **argv)
{
    QStringList arguments;
#ifdef Q_OS_WIN
    // argv is the ANSI code page's rendering of the command line, which loses every
    // letter outside it; the wide command line has them all.
    Q_UNUSED(argc);
    Q_UNUSED(argv);
    int count = 0;
    if (wchar_t **wide = CommandLineToArgvW(GetCommandLineW(), &count)) {
        for (int i = 0; i < count; ++i)
            arguments.append(QString::fromWCharArray(wide[i]));
        LocalFree(wide);
    }
#else
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
#endif
    return arguments;
}

int StartOptions::finishWithoutWindows()
{
    // The first reading came before the application object and its translators, in
    // English: read again, so that the help and the mistake speak the user's language.
    StartOptions again(m_arguments);
    return again.printOutcome();
}

int StartOptions::printOutcome()
{
    const ParentConsole console;
    if (m_outcome == Outcome::ShowInformation) {
        // Qt prints the help and version as every Qt program does, and exits.
        m_parser.process(m_arguments);
        return EXIT_SUCCESS;
    }
    QString program = m_arguments.isEmpty() ? QCoreApplication::applicationName()
                                            : QFileInfo(m_arguments.first()).fileName();
#ifdef Q_OS_WIN
    // Named as it is typed: without the suffix.
    if (program.endsWith(QStringLiteral(".exe"), Qt::CaseInsensitive))
        program.chop(4);
#endif
    const QString message
        = QCoreApplication::translate("StartOptions", "%1: %2\nTry '%1 --help' for the options.\n")
              .arg(program, m_errorText);
    console.writeError(message);
    return kMisuseStatus;
}
