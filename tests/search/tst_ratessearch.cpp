// SPDX-License-Identifier: GPL-3.0-or-later

// The desktop search's answers, read from real list files: which rows a query finds,
// how a row is shown, and what a list that cannot be read gives.
#include "data/ratesquery.h"
#include "jet/cp1254.h"
#include "jet/jetconnection.h"
#include "search/ratessearch.h"
#include "testsupport.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

Q_DECLARE_METATYPE(QList<int>)

namespace {

const QRegularExpression kNoResultsWarning(QStringLiteral("^No results until the list changes"));

QByteArray contentsOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestRatesSearch : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        // Every warning a case does not expect fails it: a list read twice over, or a
        // failure logged at each question, would flood the session's log.
        QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));
    }

    void findsRowsAsTheWindowCompares_data()
    {
        QTest::addColumn<QString>("query");
        QTest::addColumn<QList<int>>("rows");
        // fixture.mdb, in table order: 0 BİNALAR, 1 ISITMA TESİSATI, 2 ısıtma kazanı,
        // 3 KIRMIZI, 4 İNŞAAT MAKİNELERİ, 5 Âlet ve edevat, 6 Kazan ve buhar makineleri,
        // 7 Vinçler, 8 a long text holding ÇÖMLEKÇİLİK, 9 Pompa | vana & armatür,
        // 10 two lines, 11 Öğütücü, şişe ve ÇÖP ÜRETİM hattı.
        QTest::newRow("small i finds capital İ") << "bina" << QList<int> {0};
        QTest::newRow("capital İ as typed") << "BİNA" << QList<int> {0};
        QTest::newRow("capital I is dotless: BINA is bına") << "BINA" << QList<int> {};
        QTest::newRow("ısı finds both cases") << "ısı" << QList<int> {1, 2};
        QTest::newRow("ISI folds to ısı") << "ISI" << QList<int> {1, 2};
        QTest::newRow("isi is another word") << "isi" << QList<int> {};
        QTest::newRow("two terms: both, in any order") << "kazan buhar" << QList<int> {6};
        QTest::newRow("two terms reversed") << "buhar kazan" << QList<int> {6};
        QTest::newRow("one of two terms missing") << "kazan vinç" << QList<int> {};
        QTest::newRow("one term, table order") << "kazan" << QList<int> {2, 6};
        QTest::newRow("Turkish capitals deep in a long text") << "çömlekçilik" << QList<int> {8};
        QTest::newRow("Â stays a capital") << "âlet" << QList<int> {};
        QTest::newRow("a term across no line break") << "satır" << QList<int> {10};
        QTest::newRow("white space between terms") << "  şişe \t  çöp  " << QList<int> {11};
        QTest::newRow("nothing typed") << "   " << QList<int> {};
        QTest::newRow("a term found nowhere") << "zeplin" << QList<int> {};
    }
    void findsRowsAsTheWindowCompares()
    {
        QFETCH(QString, query);
        QFETCH(QList<int>, rows);
        RatesSearch search(RunDirectory::fixturePath(QStringLiteral("fixture.mdb")));
        QCOMPARE(search.find(RatesSearch::termsOf(query)), rows);
    }

    // The answers (a life and a rate) first, the headings after them, each in table
    // order; a limit fills with answers found anywhere in the list before any heading.
    void answersComeFirstUpToTheLimit_data()
    {
        QTest::addColumn<QString>("query");
        QTest::addColumn<int>("limit");
        QTest::newRow("bina, more answers than the limit") << "bina" << 5;
        QTest::newRow("a, the service's limit") << "a" << int(RatesSearch::kMaxResults);
        QTest::newRow("every row of bina") << "bina" << 1000;
    }
    void answersComeFirstUpToTheLimit()
    {
        QFETCH(QString, query);
        QFETCH(int, limit);
        RatesSearch search(QStringLiteral(VELKARO_SOURCE_DIR "/AnaData/Velkaro.mdb"));
        const QList<int> every = search.find({query}, 100000);
        const QList<int> rows = search.find({query}, limit);
        QCOMPARE(rows.size(), std::min<qsizetype>(limit, every.size()));
        const auto isAnswer = [&](int row) {
            const QString figures = search.hit(row)->description;
            return figures.contains(u"yıl"_qs) && figures.contains(u'%');
        };
        const auto firstHeading = std::find_if_not(rows.begin(), rows.end(), isAnswer);
        QVERIFY(std::none_of(firstHeading, rows.end(), isAnswer));
        QVERIFY(std::is_sorted(rows.begin(), firstHeading));
        QVERIFY(std::is_sorted(firstHeading, rows.end()));
        QVERIFY(firstHeading != rows.begin());
        if (limit >= every.size()) {
            QVERIFY(firstHeading != rows.end()); // the headings are there too, after
            QVERIFY(*firstHeading < rows.front()); // and one precedes an answer in the list
        }
    }

    void showsARowInTheWindowsForms_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("description");
        QTest::newRow("life and rate") << 0 << "1 BİNALAR"
                                       << "50 yıl · %2,00";
        QTest::newRow("decimal comma in both") << 2 << "1.1.1 ısıtma kazanı"
                                               << "6,5 yıl · %2,50";
        QTest::newRow("a rate rounded to two decimals") << 3 << "1.1.2 KIRMIZI"
                                                        << "15 yıl · %6,67";
        QTest::newRow("no life") << 4 << "2 İNŞAAT MAKİNELERİ"
                                 << "%20,00";
        QTest::newRow("a zero rate is no rate") << 5 << "2.1 Âlet ve edevat"
                                                << "4 yıl";
        QTest::newRow("a negative rate is no rate") << 6 << "2.1.1 Kazan ve buhar makineleri"
                                                    << "8 yıl";
        QTest::newRow("no rate") << 7 << "2.1.2 Vinçler"
                                 << "12 yıl";
        QTest::newRow("line breaks become one line") << 10 << "3.3 Birinci satır İkinci satır"
                                                     << "3 yıl · %33,33";
        QTest::newRow("ampersand and bar as they are") << 9 << "3.2 Pompa | vana & armatür"
                                                       << "10 yıl · %10,00";
    }
    void showsARowInTheWindowsForms()
    {
        QFETCH(int, row);
        QFETCH(QString, name);
        QFETCH(QString, description);
        RatesSearch search(RunDirectory::fixturePath(QStringLiteral("fixture.mdb")));
        const std::optional<SearchHit> hit = search.hit(row);
        QVERIFY(hit);
        QCOMPARE(hit->name, name);
        QCOMPARE(hit->description, description);
    }

    // One line of a desktop's result list: cut before a word, marked with "…".
    void longDescriptionsAreCutAtAWord()
    {
        RunDirectory run(QStringLiteral("fixture.mdb")); // the window's own reading, below
        JetConnection connection;
        connection.open();
        RatesQuery query(&connection);
        query.open();
        const QString full = cp1254::toUnicode(query.record(8).aciklama()).simplified();

        RatesSearch search(run.databasePath());
        const QString name = search.hit(8)->name;
        QCOMPARE(search.hit(8)->code, QStringLiteral("3.1.2.4"));
        QVERIFY(name.startsWith(QStringLiteral("3.1.2.4 ")));
        const QString kept = name.mid(QStringLiteral("3.1.2.4 ").size());
        QVERIFY(kept.endsWith(u'…'));
        QVERIFY(kept.size() <= RatesSearch::kMaxNameLength);
        QVERIFY(full.startsWith(kept.chopped(1) + u' ')); // whole words only
    }

    // GNOME Shell may ask for a result's description from a service started afresh
    // since it found the result.
    void rowsAreDescribedWithoutASearchFirst()
    {
        RatesSearch search(RunDirectory::fixturePath(QStringLiteral("fixture.mdb")));
        QCOMPARE(search.hit(7)->name, QStringLiteral("2.1.2 Vinçler"));
        QVERIFY(!search.hit(-1));
        QVERIFY(!search.hit(search.rowCount()));
    }

    // The list is read again when the file changes, and only then; nothing is ever
    // written beside it.
    void readsTheListAgainWhenTheFileChanges()
    {
        RunDirectory run(QStringLiteral("fixture.mdb"));
        const QByteArray before = contentsOf(run.databasePath());
        RatesSearch search(run.databasePath());
        QCOMPARE(search.find({QStringLiteral("bina")}), QList<int> {0});
        QCOMPARE(search.rowCount(), 12);

        QVERIFY(QFile::remove(run.databasePath()));
        QTest::ignoreMessage(QtWarningMsg, kNoResultsWarning);
        QCOMPARE(search.find({QStringLiteral("bina")}), QList<int> {});
        QCOMPARE(search.find({QStringLiteral("kazan")}), QList<int> {}); // logged once

        QVERIFY(QFile::copy(
            QStringLiteral(VELKARO_SOURCE_DIR "/AnaData/Velkaro.mdb"), run.databasePath()));
        QCOMPARE(search.find({QStringLiteral("kargir")}), (QList<int> {2, 3}));
        QCOMPARE(search.rowCount(), 66);

        QVERIFY(run.install(QStringLiteral("fixture.mdb")));
        QCOMPARE(search.find({QStringLiteral("bina")}), QList<int> {0});
        QCOMPARE(contentsOf(run.databasePath()), before);
        QCOMPARE(QDir(run.path() + QStringLiteral("/AnaData")).entryList(QDir::Files),
            QStringList {QStringLiteral("Velkaro.mdb")});
    }

    void aListThatCannotBeReadAnswersNothing_data()
    {
        QTest::addColumn<QString>("fixture"); // empty: no file at all
        QTest::newRow("no file") << "";
        QTest::newRow("wrong password") << "otherpass.mdb";
        QTest::newRow("a column missing") << "missingcol.mdb";
        const QStringList damaged = QDir(RunDirectory::fixturePath(QStringLiteral("damaged")))
                                        .entryList({QStringLiteral("*.mdb")}, QDir::Files);
        for (const QString &file : damaged)
            QTest::newRow(qPrintable(file)) << QStringLiteral("damaged/") + file;
    }
    void aListThatCannotBeReadAnswersNothing()
    {
        QFETCH(QString, fixture);
        RunDirectory run;
        if (!fixture.isEmpty())
            QVERIFY(run.install(fixture));
        RatesSearch search(run.databasePath());
        QTest::ignoreMessage(QtWarningMsg, kNoResultsWarning);
        // A damaged list's reason goes to the data layer's log too.
        if (fixture.startsWith(u"damaged/"))
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^Refused ")));
        QCOMPARE(search.find({QStringLiteral("a")}), QList<int> {});
        QCOMPARE(search.find({QStringLiteral("e")}), QList<int> {});
        QCOMPARE(search.rowCount(), 0);
    }

    // Another program holding the file locked (Access's lock file beside it, an
    // exclusive lock on it): the list is only read, so nothing waits for the lock, and
    // the desktop's search is never held up (a wait would end at the test's time limit).
    void aLockedListIsReadWithoutWaiting()
    {
        RunDirectory run(QStringLiteral("fixture.mdb"));
        QFile lockFile(run.path() + QStringLiteral("/AnaData/Velkaro.ldb"));
        QVERIFY(lockFile.open(QIODevice::WriteOnly));
        QProcess holder;
        holder.start(QStringLiteral("flock"),
            {QStringLiteral("--exclusive"), run.databasePath(), QStringLiteral("sleep"),
                QStringLiteral("30")});
        if (!holder.waitForStarted())
            QSKIP("needs flock (util-linux)");
        QTest::qWait(200); // the lock is taken
        RatesSearch search(run.databasePath());
        QCOMPARE(search.find({QStringLiteral("kazan")}), (QList<int> {2, 6}));
        holder.kill();
        holder.waitForFinished();
    }

    // A pipe or a folder where the file should be: read, it would block the desktop's
    // search or fail obscurely.
    void somethingElseAtTheFilesPlaceAnswersNothing_data()
    {
        QTest::addColumn<bool>("pipe");
        QTest::newRow("a named pipe") << true;
        QTest::newRow("a folder") << false;
    }
    void somethingElseAtTheFilesPlaceAnswersNothing()
    {
        QFETCH(bool, pipe);
        RunDirectory run;
        const QByteArray path = QFile::encodeName(run.databasePath());
        QVERIFY(pipe ? ::mkfifo(path.constData(), 0600) == 0 : QDir().mkpath(run.databasePath()));
        RatesSearch search(run.databasePath());
        QTest::ignoreMessage(QtWarningMsg, kNoResultsWarning);
        QCOMPARE(search.find({QStringLiteral("a")}), QList<int> {});
    }
};

QTEST_GUILESS_MAIN(TestRatesSearch)
#include "tst_ratessearch.moc"
