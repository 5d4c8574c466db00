// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/application.h"
#include "app/startoptions.h"
#include "datafolder/datafolder.h"
#include "windowsupport.h"

#include <QProcess>
#include <QTableView>

namespace {

using Outcome = StartOptions::Outcome;

const QStringList kEveryRow = {
    "1", "1.1", "1.1.1", "1.1.2", "2", "2.1", "2.1.1", "2.1.2", "3.1.2.4", "3.2", "3.3", "4.1.2.3"};

// What the application object was given, as a desktop search passes a term: UTF-8 bytes.
char gProgramName[] = "velkaro-arama";
char gSearchOption[] = "--ara";
char gTurkishTerm[] = "B\xC4\xB0NA \xC4\xB1s\xC4\xB1 \xC5\x9F\xC4\x9F";
char *gApplicationArguments[] = {gProgramName, gSearchOption, gTurkishTerm, nullptr};
int gApplicationArgumentCount = 3;

struct Finished
{
    int exitCode = -1;
    QString out;
    QString err;
};

// The real program, started in an empty folder: a start that opened its windows would
// meet a missing list there and wait on its error box. A given LANG replaces the test's
// English locale.
Finished runProgram(const QStringList &arguments, const QString &lang = QString())
{
    QTemporaryDir folder;
    QProcess process;
    process.setWorkingDirectory(folder.path());
    // No display at all: a start that touched the window system would abort.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    if (!lang.isEmpty()) {
        environment.remove(QStringLiteral("LC_ALL"));
        environment.remove(QStringLiteral("LANGUAGE"));
        environment.insert(QStringLiteral("LANG"), lang);
    }
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(VELKARO_PROGRAM), arguments);
    if (!process.waitForFinished(30000)) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    if (process.exitStatus() != QProcess::NormalExit)
        return {};
    // Windows writes its console lines with CR LF.
    const auto text = [](const QByteArray &bytes) {
        return QString::fromUtf8(bytes).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    };
    return {process.exitCode(), text(process.readAllStandardOutput()),
        text(process.readAllStandardError())};
}

// Types the text key by key; QTest::keyClicks takes Latin-1 letters only.
void typeInto(QWidget *box, const QString &text)
{
    for (const QChar letter : text) {
        const auto key = Qt::Key(letter.toUpper().unicode());
        QTest::sendKeyEvent(QTest::Click, box, key, QString(letter), Qt::NoModifier);
    }
}

} // namespace

class TestStartOptions : public QObject
{
    Q_OBJECT

private slots:
    void readsTheCommandLine_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<Outcome>("outcome");
        QTest::addColumn<std::optional<QString>>("term");
        QTest::addColumn<QString>("error");

        const std::optional<QString> noTerm;
        QTest::newRow("no options: the plain start")
            << QStringList {} << Outcome::Start << noTerm << QString();
        QTest::newRow("capital dotted İ") << QStringList {"--ara", "BİNA"} << Outcome::Start
                                          << std::optional<QString>(u"BİNA"_qs) << QString();
        QTest::newRow("dotless ı") << QStringList {"--ara", "ısı"} << Outcome::Start
                                   << std::optional<QString>(u"ısı"_qs) << QString();
        QTest::newRow("--ara=TERM, every Turkish letter")
            << QStringList {"--ara=çğıöşü ÇĞİÖŞÜ"} << Outcome::Start
            << std::optional<QString>(u"çğıöşü ÇĞİÖŞÜ"_qs) << QString();
        QTest::newRow("an empty term is still a search")
            << QStringList {"--ara", ""} << Outcome::Start << std::optional<QString>(QString())
            << QString();
        QTest::newRow("a term that starts with a dash")
            << QStringList {"--ara", "-5"} << Outcome::Start << std::optional<QString>(u"-5"_qs)
            << QString();
        QTest::newRow("the last of two --ara counts")
            << QStringList {"--ara", "kazan", "--ara", "buhar"} << Outcome::Start
            << std::optional<QString>(u"buhar"_qs) << QString();
        QTest::newRow("--ara without its term")
            << QStringList {"--ara"} << Outcome::Refuse << noTerm << "Missing value after '--ara'.";
        QTest::newRow("an unknown option") << QStringList {"--arama", "bina"} << Outcome::Refuse
                                           << noTerm << "Unknown option 'arama'.";
        QTest::newRow("a bare word") << QStringList {"bina"} << Outcome::Refuse << noTerm
                                     << "Unexpected argument 'bina' (a search term is given as "
                                        "--ara TERM).";
        QTest::newRow("--help") << QStringList {"--help"} << Outcome::ShowInformation << noTerm
                                << QString();
        QTest::newRow("--version beside --ara") << QStringList {"--ara", "bina", "--version"}
                                                << Outcome::ShowInformation << noTerm << QString();
        QTest::newRow("--help with an unknown option") << QStringList {"--help",
            "--tam"} << Outcome::Refuse << noTerm << "Unknown option 'tam'.";
        QTest::newRow("Qt's own options pass, read before Qt takes them out")
            << QStringList {"-platform", "offscreen", "-style=fusion", "-reverse", "--ara", "bina"}
            << Outcome::Start << std::optional<QString>(u"bina"_qs) << QString();
        QTest::newRow("an option-like term in one argument")
            << QStringList {"--ara=-reverse"} << Outcome::Start
            << std::optional<QString>(u"-reverse"_qs) << QString();
        QTest::newRow("--satir without its code")
            << QStringList {"--ara=bina", "--satir"} << Outcome::Refuse << noTerm
            << "Missing value after '--satir'.";
    }

    void readsTheCommandLine()
    {
        QFETCH(QStringList, arguments);
        QFETCH(Outcome, outcome);
        QFETCH(std::optional<QString>, term);
        QFETCH(QString, error);
        arguments.prepend(QStringLiteral("velkaro-arama"));
        const StartOptions options(arguments);
        QCOMPARE(options.outcome(), outcome);
        QCOMPARE(options.searchTerm(), term);
        QCOMPARE(options.errorText(), error);
    }

    // A desktop search's activation: both terms, the row, the user's list.
    void readsAnActivation()
    {
        const StartOptions options({"velkaro-arama", "--kullanici-verisi", "--ara=\"-5\" \u202e",
            "--ara2=buhar kazan", "--satir=2.1.1"});
        QCOMPARE(options.outcome(), Outcome::Start);
        QCOMPARE(options.searchTerm(), std::optional<QString>(u"\"-5\" \u202e"_qs));
        QCOMPARE(options.secondTerm(), std::optional<QString>(u"buhar kazan"_qs));
        QCOMPARE(options.rowCode(), std::optional<QString>(u"2.1.1"_qs));
        QVERIFY(options.usersOwnData());
    }

    // --kullanici-verisi: the user's folder only when it holds a list; its help file
    // only when it has one.
    void usersOwnDataFolder_data()
    {
        QTest::addColumn<QStringList>("usersFiles");
        QTest::addColumn<bool>("usersOwn");
        QTest::addColumn<bool>("ownHelp");
        QTest::newRow("list and help")
            << QStringList {"AnaData/Velkaro.mdb", "yardim"} << true << true;
        QTest::newRow("list alone: the installed help")
            << QStringList {"AnaData/Velkaro.mdb"} << true << false;
        QTest::newRow("help alone: the installed folder")
            << QStringList {"yardim"} << false << false;
        QTest::newRow("a folder where the list should be")
            << QStringList {"AnaData/Velkaro.mdb/"} << false << false;
    }

    void usersOwnDataFolder()
    {
        QFETCH(QStringList, usersFiles);
        QFETCH(bool, usersOwn);
        QFETCH(bool, ownHelp);
        QTemporaryDir users;
        QTemporaryDir installed;
        for (const QString &file : usersFiles) {
            const QString path = users.filePath(file);
            QVERIFY(QDir().mkpath(file.endsWith(u'/') ? path : QFileInfo(path).absolutePath()));
            if (!file.endsWith(u'/'))
                QVERIFY(QFile(path).open(QIODevice::WriteOnly));
        }
        const datafolder::Choice choice = datafolder::choose(users.path(), installed.path());
        QCOMPARE(choice.usersOwn, usersOwn);
        QCOMPARE(choice.folder, usersOwn ? users.path() : installed.path());
        QCOMPARE(
            choice.helpFile, QDir(ownHelp ? users.path() : installed.path()).filePath("yardim"));
    }

    void turkishLettersArriveFromTheBytesOfArgv()
    {
#ifdef Q_OS_WIN
        QSKIP("Windows hands over the wide command line, not argv's bytes; the Windows "
              "end-to-end run starts the program with Turkish letters");
#endif
        const StartOptions options(
            StartOptions::argumentsOf(gApplicationArgumentCount, gApplicationArguments));
        QCOMPARE(options.outcome(), Outcome::Start);
        QCOMPARE(options.searchTerm(), std::optional<QString>(u"BİNA ısı şğ"_qs));
    }

    // The start's search against typing the term into the first box and clicking ARA.
    void searchAtStartIsTypingAndClickingAra_data()
    {
        QTest::addColumn<QString>("term");
        QTest::addColumn<QStringList>("rows");
        QTest::newRow("BİNA finds BİNALAR") << u"BİNA"_qs << QStringList {"1"};
        QTest::newRow("ısı finds ISITMA and ısıtma") << u"ısı"_qs << QStringList {"1.1", "1.1.1"};
        QTest::newRow("BINA with dotless I finds nothing") << u"BINA"_qs << QStringList {};
        QTest::newRow("two words are one term") << u"buhar makine"_qs << QStringList {"2.1.1"};
        QTest::newRow("empty term shows every row") << QString() << kEveryRow;
    }

    void searchAtStartIsTypingAndClickingAra()
    {
        QFETCH(QString, term);
        QFETCH(QStringList, rows);
        QStringList typedRows;
        {
            StartedProgram typed;
            typeInto(typed.term1(), term);
            typed.button("JvXPButton1")->click();
            QCOMPARE(typed.term1()->text(), term);
            typedRows = typed.allRows();
        }

        StartedProgram program;
        QVERIFY(program.showAndWait());
        searchAtStart(program.window(), {term, {}, {}});
        QCOMPARE(program.term1()->text(), term);
        QCOMPARE(program.allRows(), typedRows);
        QCOMPARE(program.allRows(), rows);
        QVERIFY(program.window().query()->isFiltered() == !term.isEmpty());
        QVERIFY(program.boxes.empty());
        // The list keeps the focus, on the first row: one key copies from it.
        QVERIFY(program.grid()->hasFocus());
        QCOMPARE(program.grid()->currentIndex().row(), rows.isEmpty() ? -1 : 0);
    }

    // Without its list the start shows its error boxes; the search then fails as a
    // click on ARA fails, in the same box, and a later click finds the list once it is there.
    void searchAtStartWithoutTheListFailsAsAraDoes()
    {
        StartedProgram program {QString()};
        const std::vector<messagebox::Request> startBoxes = program.boxes;
        QVERIFY(!startBoxes.empty());

        searchAtStart(program.window(), {u"BİNA"_qs, {}, {}});
        QCOMPARE(program.boxes.size(), startBoxes.size() + 1);
        QCOMPARE(program.term1()->text(), u"BİNA"_qs);
        QVERIFY(program.allRows().isEmpty());

        program.button("JvXPButton1")->click();
        QCOMPARE(program.boxes.size(), startBoxes.size() + 2);
        QCOMPARE(program.boxes.back().kind, messagebox::Kind::Error);
        QCOMPARE(program.boxes[startBoxes.size()].text, program.boxes.back().text);

        QVERIFY(program.run().install(QStringLiteral("fixture.mdb")));
        program.button("JvXPButton1")->click();
        QCOMPARE(program.boxes.size(), startBoxes.size() + 2);
        QCOMPARE(program.allRows(), QStringList {"1"});
    }

    void theProgramAnswersWithoutAWindow_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err");
        QTest::addColumn<QString>("lang");
        QTest::newRow("--version")
            << QStringList {"--version"} << 0
            << QStringLiteral("velkaro-arama %1\n").arg(QCoreApplication::applicationVersion())
            << QString() << QString();
        QTest::newRow("--help names --ara")
            << QStringList {"--help"} << 0 << "--ara <TERM>" << QString() << QString();
        QTest::newRow("--ara without its term") << QStringList {"--ara"} << 2 << QString()
                                                << "velkaro-arama: Missing value after '--ara'.\n"
                                                   "Try 'velkaro-arama --help' for the options.\n"
                                                << QString();
        QTest::newRow("an unknown option") << QStringList {"--arama", "bina"} << 2 << QString()
                                           << "velkaro-arama: Unknown option 'arama'.\n"
                                              "Try 'velkaro-arama --help' for the options.\n"
                                           << QString();
        QTest::newRow("--help in Turkish: ours")
            << QStringList {"--help"} << 0 << "--ara <TERİM>" << QString() << "tr_TR.UTF-8";
        QTest::newRow("--help in Turkish: Qt's")
            << QStringList {"--help"} << 0
            << "-h, --help          Komut satırı seçenekleriyle ilgili yardımı görüntüler."
            << QString() << "tr_TR.UTF-8";
        QTest::newRow("--help in American English")
            << QStringList {"--help"} << 0 << "--ara <TERM>" << QString() << "en_US.UTF-8";
        QTest::newRow("an unknown option in Turkish")
            << QStringList {"--arama"} << 2 << QString()
            << "velkaro-arama: Bilinmeyen seçenek 'arama'.\n"
               "Seçenekler için 'velkaro-arama --help' yazın.\n"
            << "tr";
        QTest::newRow("a bare word in a language we lack")
            << QStringList {"bina"} << 2 << QString()
            << "velkaro-arama: Unexpected argument 'bina' (a search term is given as --ara "
               "TERM).\nTry 'velkaro-arama --help' for the options.\n"
            << "de_DE.UTF-8";
    }

    void theProgramAnswersWithoutAWindow()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, out);
        QFETCH(QString, err);
        QFETCH(QString, lang);
#ifdef Q_OS_WIN
        if (!lang.isEmpty())
            QSKIP("Windows takes the message language from its settings, not from LANG");
#endif
        const Finished finished = runProgram(arguments, lang);
        QCOMPARE(finished.exitCode, exitCode);
        if (out.isEmpty())
            QCOMPARE(finished.out, QString());
        else
            QVERIFY2(finished.out.contains(out), qPrintable(finished.out));
        // Qt's own start-up notes may come first.
        QVERIFY2(finished.err.endsWith(err), qPrintable(finished.err));
    }
};

int main(int argc, char *argv[])
{
    // The application object reads the arguments the program would get; the test
    // runner keeps its own.
    Application application(gApplicationArgumentCount, gApplicationArguments);
    TestStartOptions test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_startoptions.moc"
