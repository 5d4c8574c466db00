// SPDX-License-Identifier: GPL-3.0-or-later

#include "data/ratesquery.h"
#include "data/searchfilter.h"
#include "data/turkishfold.h"
#include "jet/cp1254.h"

#include <QRandomGenerator>
#include <QTest>

namespace {

searchfilter::Terms termsOf(const QString &term1, const QString &term2, bool orChosen)
{
    return {searchfilter::termOf(term1), searchfilter::termOf(term2), orChosen};
}

QByteArray folded(const QString &description)
{
    return turkishfold::fold(cp1254::fromUnicode(description));
}

} // namespace

class TestSearchFilter : public QObject
{
    Q_OBJECT

private slots:
    void accepts_data()
    {
        QTest::addColumn<QString>("description");
        QTest::addColumn<QString>("term1");
        QTest::addColumn<QString>("term2");
        QTest::addColumn<bool>("orChosen");
        QTest::addColumn<bool>("accepted");
        const QString boiler = QStringLiteral("Buhar KAZANI ve ısıtma tesisatı");
        QTest::newRow("one term found") << boiler << "kazan"
                                        << "" << false << true;
        QTest::newRow("one term missing") << boiler << "vinç"
                                          << "" << false << false;
        QTest::newRow("empty first term matches nothing") << boiler << ""
                                                          << "" << false << false;
        QTest::newRow("empty first term, second found, AND") << boiler << ""
                                                             << "buhar" << false << false;
        QTest::newRow("empty first term, second found, OR") << boiler << ""
                                                            << "buhar" << true << true;
        QTest::newRow("capital I matches dotless ı") << boiler << "ISITMA"
                                                     << "" << false << true;
        QTest::newRow("AND, both found") << boiler << "buhar"
                                         << "tesisat" << false << true;
        QTest::newRow("AND, second missing") << boiler << "buhar"
                                             << "vinç" << false << false;
        QTest::newRow("OR, only the second found") << boiler << "vinç"
                                                   << "tesisat" << true << true;
        QTest::newRow("OR, neither found") << boiler << "vinç"
                                           << "gemi" << true << false;
        QTest::newRow("OR chosen without a second term: the first alone") << boiler << "vinç"
                                                                          << "" << true << false;
        QTest::newRow("a box of spaces matches nothing") << boiler << "  "
                                                         << "" << false << false;
        QTest::newRow("a box of spaces as second term, AND: nothing passes")
            << boiler << "buhar"
            << " " << false << false;
        QTest::newRow("a box of spaces as second term, OR: the first decides")
            << boiler << "buhar"
            << " " << true << true;
        QTest::newRow("a character outside the code page never matches")
            << boiler << QStringLiteral("kazan✓") << "" << false << false;
    }

    void accepts()
    {
        QFETCH(QString, description);
        QFETCH(QString, term1);
        QFETCH(QString, term2);
        QFETCH(bool, orChosen);
        QFETCH(bool, accepted);
        QCOMPARE(
            searchfilter::accepts(folded(description), termsOf(term1, term2, orChosen)), accepted);
    }

    void searchAgreesWithTestingEachRecord_data()
    {
        QTest::addColumn<QString>("term1");
        QTest::addColumn<QString>("term2");
        QTest::addColumn<bool>("orChosen");
        QTest::newRow("one term") << "ab"
                                  << "" << false;
        QTest::newRow("AND") << "ab"
                             << "c" << false;
        QTest::newRow("OR") << "ab"
                            << "c" << true;
        QTest::newRow("OR, second term rarer") << "a"
                                               << "cab" << true;
        QTest::newRow("OR, first term empty") << ""
                                              << "b" << true;
        QTest::newRow("AND, first term empty") << ""
                                               << "b" << false;
        QTest::newRow("terms found nowhere") << "zz"
                                             << "yy" << true;
    }

    void searchAgreesWithTestingEachRecord()
    {
        QFETCH(QString, term1);
        QFETCH(QString, term2);
        QFETCH(bool, orChosen);
        // Short descriptions from few letters, over more than one stretch of the OR
        // search, so that matches are frequent, near misses common and runs of misses
        // cross the stretches' borders.
        QRandomGenerator random(16);
        std::vector<RatesRecordValues> records(700);
        for (RatesRecordValues &record : records) {
            const int length = random.bounded(0, 6);
            for (int i = 0; i < length; ++i)
                record.aciklama += "abcxyz"[random.bounded(0, random.bounded(1, 7))];
        }
        RatesQuery query(nullptr);
        query.openWithRecords(records);
        const searchfilter::Terms terms = termsOf(term1, term2, orChosen);
        const int count = query.recordCount();
        int expected = 0;
        for (int from = 0; from <= count; ++from) {
            if (expected < from)
                expected = from;
            while (expected < count
                && !searchfilter::accepts(query.record(expected).aciklamaFolded(), terms))
                ++expected;
            QCOMPARE(searchfilter::nextAccepted(query, terms, from), expected);
        }
    }
};

QTEST_GUILESS_MAIN(TestSearchFilter)
#include "tst_searchfilter.moc"
