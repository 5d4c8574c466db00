// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/startup.h"
#include "ui/amortana/ratestablemodel.h"
#include "ui/amortana/tamortanaf.h"
#include "ui/common/messagebox.h"
#include "ui/yardim/tyardimf.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

QStringList boxTexts(const std::vector<messagebox::Request> &boxes)
{
    QStringList texts;
    for (const messagebox::Request &box : boxes)
        texts << box.text;
    return texts;
}

} // namespace

class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void startsFromAFolderWhoseNameIsAnyBytes_data();
    void startsFromAFolderWhoseNameIsAnyBytes();
};

void TestStartup::startsFromAFolderWhoseNameIsAnyBytes_data()
{
    QTest::addColumn<QByteArray>("folderName");

    QTest::newRow("Latin-1 bytes, not valid UTF-8") << QByteArray("\xC7"
                                                                  "al\xFD\xFEma");
    QTest::newRow("Windows-1254 bytes") << QByteArray("Yard\xFDm \xDE"
                                                      "ablon");
    QTest::newRow("a lone UTF-8 continuation byte") << QByteArray("veri\x80");
    QTest::newRow("valid UTF-8 Turkish letters") << QByteArray("\xC3\x87"
                                                               "al\xC4\xB1\xC5\x9F"
                                                               "ma");
    QTest::newRow("spaces and quotes") << QByteArray("bir 'iki' \"\xFC\xE7\"");
}

void TestStartup::startsFromAFolderWhoseNameIsAnyBytes()
{
    QFETCH(QByteArray, folderName);

    QTemporaryDir parent;
    QVERIFY(parent.isValid());
    const QString previous = QDir::currentPath();
#ifdef Q_OS_UNIX
    const QByteArray folder = QFile::encodeName(parent.path()) + '/' + folderName;
    QCOMPARE(::mkdir(folder.constData(), 0700), 0);
    // Entered by its bytes: the name has no faithful form as text.
    QCOMPARE(::chdir(folder.constData()), 0);
#else
    // Windows names are UTF-16 text: the bytes as the text they make, with a letter the
    // ANSI code page lacks; a double quote, which Windows refuses in a name, as a curly one.
    QString name = QString::fromUtf8(folderName) + QStringLiteral("\u0416");
    name.replace(u'"', u'\u201d');
    const QString folder = parent.path() + u'/' + name;
    QVERIFY(QDir().mkdir(folder));
    QVERIFY(QDir::setCurrent(folder));
#endif
    // QTemporaryDir finds its files by their names as text, which these names have not.
    const auto cleanUp = qScopeGuard([&] {
        QFile::remove(QStringLiteral("AnaData/Velkaro.mdb"));
        QDir().rmdir(QStringLiteral("AnaData"));
        QFile::remove(QStringLiteral("yardim"));
        QDir::setCurrent(previous);
#ifdef Q_OS_UNIX
        ::rmdir(folder.constData());
#else
        QDir().rmdir(folder);
#endif
    });

    QVERIFY(QDir().mkdir(QStringLiteral("AnaData")));
    QVERIFY(QFile::copy(QStringLiteral(VELKARO_TEST_DATA_DIR "/fixture.mdb"),
        QStringLiteral("AnaData/Velkaro.mdb")));
    QFile help(QStringLiteral("yardim"));
    QVERIFY(help.open(QIODevice::WriteOnly));
    help.write("{\\rtf1\\ansi Yard\\'fdm metni\\par}");
    help.close();

    std::vector<messagebox::Request> boxes;
    const messagebox::Presenter previousPresenter = messagebox::setPresenter(
        [&](const messagebox::Request &request) { boxes.push_back(request); });
    const auto restorePresenter = qScopeGuard([&] { messagebox::setPresenter(previousPresenter); });

    auto windows = std::make_unique<MainWindows>(createMainWindows());
    QCOMPARE(boxTexts(boxes), QStringList());
    RatesTableModel *rows = windows->amortanaF->dataSource();
    while (rows->canFetchMore())
        rows->fetchMore();
    QVERIFY(rows->rowCount() > 0);

    windows->yardimF->showAndReload();
    QCOMPARE(windows->yardimF->findChild<QTextBrowser *>("RichEdit1")->toPlainText().trimmed(),
        u"Yardım metni"_qs);
    QCOMPARE(boxTexts(boxes), QStringList());
    windows.reset(); // lets go of the database before the folder goes
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
