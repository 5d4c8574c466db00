// SPDX-License-Identifier: GPL-3.0-or-later

#include "csvreader.h"
#include "data/fieldtext.h"
#include "data/ratesquery.h"
#include "jet/apperror.h"
#include "jet/cp1254.h"
#include "jet/jetconnection.h"
#include "testsupport.h"

#include <QSignalSpy>

namespace {

std::optional<double> csvNumber(const QString &text)
{
    if (text.isEmpty())
        return std::nullopt;
    bool ok = false;
    const double value = text.toDouble(&ok);
    return ok ? std::optional<double>(value) : std::nullopt;
}

} // namespace

class TestRatesQuery : public QObject
{
    Q_OBJECT

private slots:
    void rowsArriveWholeAndInStoredOrder_data()
    {
        QTest::addColumn<QString>("fixture");
        QTest::addColumn<QString>("csv");
        QTest::newRow("Turkish letters, nulls, quotes, line breaks") << "fixture.mdb"
                                                                     << "fixture.csv";
        QTest::newRow("memos across overflow pages") << "longmemo.mdb"
                                                     << "longmemo.csv";
        QTest::newRow("shipped list") << "../../AnaData/Velkaro.mdb"
                                      << "../../AnaData/vuk_list.csv";
    }

    void rowsArriveWholeAndInStoredOrder()
    {
        QFETCH(QString, fixture);
        QFETCH(QString, csv);
        RunDirectory run(fixture);
        const std::vector<QStringList> expected = readCsv(RunDirectory::fixturePath(csv));
        QVERIFY(!expected.empty());

        JetConnection connection;
        RatesQuery query(&connection);
        query.open();
        QCOMPARE(query.recordCount(), int(expected.size()));
        for (int i = 0; i < query.recordCount(); ++i) {
            const RatesRecord record = query.record(i);
            const QStringList &row = expected[size_t(i)];
            QCOMPARE(record.tum_kodu(), cp1254::fromUnicode(row[0]));
            QCOMPARE(record.aciklama(), cp1254::fromUnicode(row[1]));
            // Exact binary values: the CSV's text is what the rows were written from.
            QCOMPARE(record.omur_yil(), csvNumber(row[2]));
            QCOMPARE(record.oran(), csvNumber(row[3]));
            QCOMPARE(record.teblig(), csvNumber(row[4]));
            QCOMPARE(record.ID(), std::optional<double>(i + 1));
        }
    }

    void notColumnAndCodesAreRead()
    {
        RunDirectory run(QStringLiteral("fixture.mdb"));
        JetConnection connection;
        RatesQuery query(&connection);
        query.open();
        QCOMPARE(query.record(2).not_(), cp1254::fromUnicode(u"küçük harf ı"));
        QCOMPARE(query.record(2).ana_kodu(), QByteArray("1"));
        QCOMPARE(query.record(2).alt2_kodu(), QByteArray("1.1.1"));
    }

    void calculatedPercentage_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("display");
        QTest::addColumn<QString>("copied");
        QTest::newRow("0.025 shows with two decimals") << 2 << "2,50 %"
                                                       << "2,5";
        QTest::newRow("0.02") << 0 << "2,00 %"
                              << "2";
        QTest::newRow("a third") << 10 << "33,33 %"
                                 << "33,3333333333333";
        QTest::newRow("oran 0 is empty") << 5 << ""
                                         << "";
        QTest::newRow("negative oran is empty") << 6 << ""
                                                << "";
        QTest::newRow("null oran is empty") << 7 << ""
                                            << "";
    }

    void calculatedPercentage()
    {
        QFETCH(int, row);
        QFETCH(QString, display);
        QFETCH(QString, copied);
        RunDirectory run(QStringLiteral("fixture.mdb"));
        JetConnection connection;
        RatesQuery query(&connection);
        query.open();
        const QLocale turkish(QLocale::Turkish, QLocale::Turkey);
        QCOMPARE(fieldtext::percent(query.record(row).oran2(), turkish), display);
        QCOMPARE(fieldtext::generalNumber(query.record(row).oran2(), turkish), copied);
    }

    void emptyTableOpens()
    {
        RunDirectory run(QStringLiteral("empty.mdb"));
        JetConnection connection;
        RatesQuery query(&connection);
        query.open();
        QVERIFY(query.isOpen());
        QCOMPARE(query.recordCount(), 0);
        QCOMPARE(query.currentRecord().aciklama(), QByteArray());
        QCOMPARE(query.currentRecord().oran2().value_or(0), 0.0);
    }

    void failedOpeningLeavesTheQueryClosed()
    {
        RunDirectory run(QStringLiteral("fixture.mdb"));
        JetConnection connection;
        RatesQuery query(&connection);
        query.open();
        QVERIFY(run.install(QStringLiteral("missingcol.mdb")));
        connection.close();
        QVERIFY_THROWS_EXCEPTION(AppError, query.open());
        QVERIFY(!query.isOpen());
        QCOMPARE(query.recordCount(), 0);
    }

    void reopeningRereadsTheTable()
    {
        RunDirectory run(QStringLiteral("empty.mdb"));
        JetConnection connection;
        RatesQuery query(&connection);
        query.open();
        QCOMPARE(query.recordCount(), 0);
        QVERIFY(run.install(QStringLiteral("fixture.mdb")));
        connection.close();
        query.open();
        QCOMPARE(query.recordCount(), 12);
    }

    void filteredFlag()
    {
        std::vector<RatesRecordValues> rows(4);
        for (size_t i = 0; i < rows.size(); ++i)
            rows[i].aciklama = QByteArray::number(qulonglong(i));
        RatesQuery query(nullptr);
        QSignalSpy restarts(&query, &RatesQuery::restarted);
        query.setFilterRecord(
            [](const RatesRecord &record) { return record.aciklama().toInt() % 2 == 1; });

        query.setFiltered(true); // closed: nothing to restart
        QCOMPARE(restarts.count(), 0);
        query.openWithRecords(rows);
        QCOMPARE(restarts.count(), 1);
        QCOMPARE(query.nextAccepted(0), 1);
        QCOMPARE(query.nextAccepted(2), 3);
        QCOMPARE(query.nextAccepted(4), 4);

        query.setCurrentIndex(3);
        query.setFiltered(true); // the value it has: nothing happens
        QCOMPARE(restarts.count(), 1);
        QCOMPARE(query.currentIndex(), 3);

        query.setFiltered(false);
        query.setFiltered(true);
        QCOMPARE(restarts.count(), 3);
        QCOMPARE(query.currentIndex(), -1);
        QCOMPARE(query.nextAccepted(0), 1);

        query.setFiltered(false);
        QCOMPARE(query.nextAccepted(0), 0);
    }
};

QTEST_GUILESS_MAIN(TestRatesQuery)
#include "tst_ratesquery.moc"
