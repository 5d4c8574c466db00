// SPDX-License-Identifier: GPL-3.0-or-later

// bench/make-large-mdb makes the large lists the benchmarks open; a copy the reader
// refuses, or one that reads other rows than the source repeated, would time the wrong
// thing. Each made file is read back through the real query.
#include "data/ratesquery.h"
#include "jet/apperror.h"
#include "jet/jetconnection.h"
#include "testsupport.h"

#include <QProcess>
#include <QStandardPaths>

namespace {

struct Row
{
    std::optional<double> id;
    QList<QByteArray> texts;
    QList<std::optional<double>> numbers;
};

// Every row the query reads from `database`; none when it refuses the file.
std::vector<Row> readRows(const QString &database)
{
    RunDirectory run;
    if (!QFile::copy(database, run.databasePath()))
        return {};
    JetConnection connection;
    RatesQuery query(&connection);
    try {
        query.open();
    } catch (const AppError &error) {
        qWarning("%s", qPrintable(error.message()));
        return {};
    }
    std::vector<Row> rows;
    for (int i = 0; i < query.recordCount(); ++i) {
        const RatesRecord record = query.record(i);
        rows.push_back({record.ID(),
            {record.ana_kodu(), record.alt1_kodu(), record.alt2_kodu(), record.alt3_kodu(),
                record.tum_kodu(), record.aciklama(), record.not_()},
            {record.omur_yil(), record.oran(), record.teblig()}});
    }
    return rows;
}

// The script's exit code, -1 when it could not run.
int makeLargeMdb(const QString &source, const QString &target, int rows)
{
    QProcess process;
    process.start(QStringLiteral("python3"),
        {QStringLiteral(VELKARO_LARGE_MDB_SCRIPT), source, target, QString::number(rows)});
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return -1;
    return process.exitCode();
}

} // namespace

class TestLargeMdb : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("python3")).isEmpty())
            QSKIP("python3 is not installed");
    }

    void madeFileReadsAsTheSourceRepeated_data()
    {
        QTest::addColumn<QString>("fixture");
        QTest::addColumn<int>("rows");
        QTest::newRow("cut within the first page") << "fixture.mdb" << 5;
        QTest::newRow("all rows kept") << "fixture.mdb" << 12;
        QTest::newRow("one row of memos spread over pages") << "longmemo.mdb" << 1;
        QTest::newRow("copied twice") << "fixture.mdb" << 36;
        QTest::newRow("memo chains copied") << "longmemo.mdb" << 6;
        QTest::newRow("many copies of memo chains") << "longmemo.mdb" << 200;
    }

    void madeFileReadsAsTheSourceRepeated()
    {
        QFETCH(QString, fixture);
        QFETCH(int, rows);
        const std::vector<Row> source = readRows(RunDirectory::fixturePath(fixture));
        QVERIFY(!source.empty());
        double lastId = 0;
        for (const Row &row : source)
            lastId = std::max(lastId, row.id.value_or(0));

        QTemporaryDir folder;
        const QString made = folder.filePath(QStringLiteral("made.mdb"));
        QCOMPARE(makeLargeMdb(RunDirectory::fixturePath(fixture), made, rows), 0);
        const std::vector<Row> read = readRows(made);
        QCOMPARE(int(read.size()), rows);
        for (size_t i = 0; i < read.size(); ++i) {
            const Row &original = source[i % source.size()];
            const double copy = double(i / source.size());
            QCOMPARE(read[i].texts, original.texts);
            QCOMPARE(read[i].numbers, original.numbers);
            // Each copy's autonumbers follow the last one of the copy before.
            QCOMPARE(read[i].id, std::optional<double>(*original.id + copy * lastId));
        }
    }

    void impossibleSizesAreRefused_data()
    {
        QTest::addColumn<int>("rows");
        QTest::newRow("no rows") << 0;
        QTest::newRow("negative") << -12;
        QTest::newRow("not a whole number of copies") << 13;
    }

    void impossibleSizesAreRefused()
    {
        QFETCH(int, rows);
        QTemporaryDir folder;
        const QString made = folder.filePath(QStringLiteral("made.mdb"));
        QCOMPARE_NE(
            makeLargeMdb(RunDirectory::fixturePath(QStringLiteral("fixture.mdb")), made, rows), 0);
        QVERIFY(!QFile::exists(made));
    }
};

QTEST_MAIN(TestLargeMdb)
#include "tst_largemdb.moc"
