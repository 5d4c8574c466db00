// SPDX-License-Identifier: GPL-3.0-or-later

#include "data/ratesquery.h"
#include "data/ratesstore.h"
#include "data/turkishfold.h"
#include "jet/apperror.h"
#include "jet/cp1254.h"

#include <QTest>

#include <bit>
#include <limits>

namespace {

constexpr int kLargeRows = RatesStore::kRowsForTwoThreads + 20'000;

QByteArray ansi(const char16_t *text)
{
    return cp1254::fromUnicode(QStringView(text));
}

} // namespace

// The packed rows must give back every field exactly as it was stored: the description
// is kept only as its folded copy plus what undoes the fold, so the cases are the ones
// where folding loses something.
class TestRatesStore : public QObject
{
    Q_OBJECT

private slots:
    void descriptionComesBackExactly_data()
    {
        QTest::addColumn<QByteArray>("description");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("small letters only") << ansi(u"binalar ve tesisler");
        QTest::newRow("Turkish capitals") << ansi(u"İNŞAAT, ÇELİK, ĞÖÜ ve IŞIK");
        QTest::newRow("small dotless ı and dotted i stay as they are")
            << ansi(u"ısıtma İsi Isı ıI iİ");
        QTest::newRow("accented capital that does not fold") << ansi(u"Âlet ÂLET");
        QTest::newRow("blanks and line breaks around") << ansi(u" \t\r\nKAZAN  \r\n");
        QTest::newRow("only blanks") << QByteArray("  \t ");
        QTest::newRow("zero byte, then more text") << QByteArray("Buhar\0 KAZANI \0x", 16);
        QTest::newRow("zero byte first") << QByteArray("\0ABC", 4);
        QTest::newRow("capitals far apart")
            << QByteArray("A") + QByteArray(300, 'x') + "B" + QByteArray(70000, 'y') + "C";
        QTest::newRow("every byte value") << [] {
            QByteArray all;
            for (int byte = 1; byte < 256; ++byte)
                all.append(char(byte));
            return all;
        }();
    }

    void descriptionComesBackExactly()
    {
        QFETCH(QByteArray, description);
        RatesStore store;
        RatesRecordValues values;
        values.aciklama = ansi(u"ÖNCEKİ Satır"); // a neighbour on each side
        store.append(values);
        values.aciklama = description;
        store.append(values);
        values.aciklama = ansi(u"sonraki SATIR");
        store.append(values);

        QCOMPARE(store.description(1), description);
        QCOMPARE(store.foldedDescription(1).toByteArray(),
            turkishfold::fold(turkishfold::untilZero(description)));
        QCOMPARE(store.description(0), ansi(u"ÖNCEKİ Satır"));
        QCOMPARE(store.description(2), ansi(u"sonraki SATIR"));
    }

    void everyFieldComesBack_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<double>("number");
        QTest::newRow("empty texts, zero") << QByteArray() << 0.0;
        QTest::newRow("Turkish text, fraction") << ansi(u"küçük harf ı") << 0.025;
        QTest::newRow("long text, negative") << QByteArray(300, 'K') << -12.5;
    }

    void everyFieldComesBack()
    {
        QFETCH(QByteArray, text);
        QFETCH(double, number);
        RatesStore store;
        RatesRecordValues values;
        values.ID = 7;
        values.ana_kodu = text + "a";
        values.alt1_kodu = text + "b";
        values.alt2_kodu = text + "c";
        values.alt3_kodu = text + "d";
        values.tum_kodu = text + "e";
        values.aciklama = text + "f";
        values.omur_yil = number;
        values.oran = number;
        values.not_ = text + "g";
        store.append(values); // teblig stays null
        store.append({});
        store.squeeze();

        const RatesRecord record(&store, 0);
        QCOMPARE(record.ID(), std::optional<double>(7));
        QCOMPARE(record.ana_kodu(), text + "a");
        QCOMPARE(record.alt1_kodu(), text + "b");
        QCOMPARE(record.alt2_kodu(), text + "c");
        QCOMPARE(record.alt3_kodu(), text + "d");
        QCOMPARE(record.tum_kodu(), text + "e");
        QCOMPARE(record.aciklama(), text + "f");
        QCOMPARE(record.omur_yil(), std::optional<double>(number));
        QCOMPARE(record.oran(), std::optional<double>(number));
        QCOMPARE(record.teblig(), std::optional<double>());
        QCOMPARE(record.not_(), text + "g");
        QCOMPARE(record.oran2(), number > 0 ? std::optional<double>(number * 100) : std::nullopt);

        const RatesRecord empty(&store, 1);
        QCOMPARE(empty.ID(), std::optional<double>());
        QCOMPARE(empty.oran(), std::optional<double>());
        QCOMPARE(empty.tum_kodu(), QByteArray());
        QCOMPARE(empty.aciklama(), QByteArray());
    }

    void noRecordReadsEmpty()
    {
        const RatesRecord none;
        QCOMPARE(none.aciklama(), QByteArray());
        QCOMPARE(none.aciklamaFolded().size(), 0);
        QCOMPARE(none.tum_kodu(), QByteArray());
        QCOMPARE(none.omur_yil(), std::optional<double>());
        QCOMPARE(none.oran2(), std::optional<double>());
    }

    // The search over all descriptions at once must find exactly the rows that testing
    // each row finds, though the descriptions lie back to back with nothing between.
    void searchAgreesWithTestingEachRow_data()
    {
        QTest::addColumn<QStringList>("descriptions");
        QTest::addColumn<QString>("term");
        const QStringList neighbours = {"abc", "def", "", "  ", "cdx", "ABC DEF", "xxabc", "c"};
        QTest::newRow("term across two descriptions is no match") << neighbours << "cd";
        QTest::newRow("one letter") << neighbours << "c";
        QTest::newRow("whole description") << neighbours << "abc";
        QTest::newRow("last letter of the last row") << neighbours << "c";
        QTest::newRow("blank inside a description") << neighbours << "c d";
        QTest::newRow("found nowhere") << neighbours << "zz";
        QTest::newRow("empty term finds nothing") << neighbours << "";
        QTest::newRow("folded capitals") << QStringList {"KAZAN", "Isı", "İŞ", "ışık"} << "ış";
        QTest::newRow("match after a near miss across rows")
            << QStringList {"xxab", "cab", "ab c", "abc"} << "abc";
        QTest::newRow("long rows, term at the very end")
            << QStringList {QString(100, u'k') + "bina", QString(70, u'b'), "ina"} << "bina";
    }

    void searchAgreesWithTestingEachRow()
    {
        QFETCH(QStringList, descriptions);
        QFETCH(QString, term);
        RatesStore store;
        for (const QString &description : descriptions) {
            RatesRecordValues values;
            values.aciklama = cp1254::fromUnicode(description);
            store.append(values);
        }
        const QByteArray folded = turkishfold::fold(cp1254::fromUnicode(term));
        const int count = store.size();
        // From every starting row to every end, as the grid's fetches may ask.
        for (int from = 0; from <= count; ++from) {
            for (int to = from; to <= count; ++to) {
                int expected = from;
                while (expected < to
                    && !turkishfold::foldedContains(store.foldedDescription(expected), folded))
                    ++expected;
                QCOMPARE(store.nextContaining(folded, from, to), expected);
            }
        }
    }

    void searchAgreesOnManyRandomRows()
    {
        // Short rows from few letters, so that terms often almost match across rows.
        const QByteArray letters = cp1254::fromUnicode(u"abIİı ");
        quint32 seed = 1254;
        const auto random = [&seed](int below) {
            seed = seed * 1103515245u + 12345u;
            return int((seed >> 16) % quint32(below));
        };
        RatesStore store;
        for (int row = 0; row < 3000; ++row) {
            RatesRecordValues values;
            for (int length = random(40); length > 0; --length)
                values.aciklama.append(letters[random(int(letters.size()))]);
            store.append(values);
        }
        for (int round = 0; round < 200; ++round) {
            QByteArray term;
            for (int length = 1 + random(4); length > 0; --length)
                term.append(letters[random(int(letters.size()))]);
            const QByteArray folded = turkishfold::fold(term);
            const int from = random(store.size());
            int expected = from;
            while (expected < store.size()
                && !turkishfold::foldedContains(store.foldedDescription(expected), folded))
                ++expected;
            QCOMPARE(store.nextContaining(folded, from, store.size()), expected);
        }
    }

    // A short text that begins with an earlier one of its row is kept as a reference to
    // it and the rest: whatever the texts, each must come back exactly.
    void shortTextsComeBackExactly_data()
    {
        QTest::addColumn<QList<QByteArray>>("texts");
        QTest::newRow("nested codes, the full code repeating the last")
            << QList<QByteArray> {"1", "1.1", "1.1.1", "", "1.1.1", ""};
        QTest::newRow("all the same") << QList<QByteArray> {"7", "7", "7", "7", "7", "7"};
        QTest::newRow("all empty") << QList<QByteArray> {"", "", "", "", "", ""};
        QTest::newRow("the longest earlier prefix, not the nearest")
            << QList<QByteArray> {"12", "1", "123", "12", "1234", "x"};
        QTest::newRow("an earlier text longer than this one is no prefix")
            << QList<QByteArray> {"1.10", "1.1", "1.1", "2", "1.10.5", "1.105"};
        QTest::newRow("long texts, long rests")
            << QList<QByteArray> {QByteArray(200, 'a'), QByteArray(200, 'a') + QByteArray(300, 'b'),
                   "", QByteArray(199, 'a'), QByteArray(500, 'a'), QByteArray(40, 'n')};
    }

    void shortTextsComeBackExactly()
    {
        QFETCH(QList<QByteArray>, texts);
        RatesStore store;
        RatesRecordValues values;
        values.ana_kodu = texts[0];
        values.alt1_kodu = texts[1];
        values.alt2_kodu = texts[2];
        values.alt3_kodu = texts[3];
        values.tum_kodu = texts[4];
        values.not_ = texts[5];
        values.aciklama = ansi(u"Açıklama");
        store.append(values);
        store.append({});
        const RatesRecord record(&store, 0);
        QCOMPARE(record.ana_kodu(), texts[0]);
        QCOMPARE(record.alt1_kodu(), texts[1]);
        QCOMPARE(record.alt2_kodu(), texts[2]);
        QCOMPARE(record.alt3_kodu(), texts[3]);
        QCOMPARE(record.tum_kodu(), texts[4]);
        QCOMPARE(record.not_(), texts[5]);
        QCOMPARE(record.aciklama(), ansi(u"Açıklama"));
        QCOMPARE(RatesRecord(&store, 1).tum_kodu(), QByteArray());
    }

    // Numbers are packed (whole IDs, a table of the other values): every value, also
    // those the packing cannot hold, must come back bit for bit, -0 and NaN included.
    void numbersComeBackBitForBit_data()
    {
        QTest::addColumn<QList<double>>("ids");
        QTest::addColumn<QList<double>>("rates");
        const double nan = std::numeric_limits<double>::quiet_NaN();
        QTest::newRow("whole IDs at the ends of their range, repeated rates") << QList<double> {
            1, -2147483648.0, 2147483647.0, 0} << QList<double> {0.2, 0.2, 5, 0.2};
        QTest::newRow("IDs the whole numbers cannot hold") << QList<double> {
            2147483648.0, 1.5, -0.0, nan, -1e300} << QList<double> {1, 1, 1, 1, 1};
        QTest::newRow("zero and minus zero, NaN among the rates")
            << QList<double> {1, 2, 3, 4} << QList<double> {0.0, -0.0, nan, 0.0};
        QList<double> many;
        QList<double> distinct;
        for (int row = 0; row < 70000; ++row) {
            many.append(row);
            distinct.append(row + 0.5);
        }
        QTest::newRow("more distinct rates than the table holds") << many << distinct;
    }

    void numbersComeBackBitForBit()
    {
        QFETCH(QList<double>, ids);
        QFETCH(QList<double>, rates);
        const auto bits = [](std::optional<double> value) {
            return value ? std::bit_cast<quint64>(*value) : quint64(0x1234);
        };
        for (const bool squeezedHalfway : {false, true}) {
            RatesStore store;
            for (qsizetype row = 0; row < ids.size(); ++row) {
                RatesRecordValues values;
                values.ID = ids[row];
                values.oran = rates[row];
                values.omur_yil = rates[ids.size() - 1 - row];
                store.append(values);
                if (squeezedHalfway && row == ids.size() / 2)
                    store.squeeze();
            }
            store.squeeze();
            for (int row = 0; row < store.size(); ++row) {
                QCOMPARE(bits(store.number(row, RatesStore::Number::ID)), bits(ids[row]));
                QCOMPARE(bits(store.number(row, RatesStore::Number::Oran)), bits(rates[row]));
                QCOMPARE(bits(store.number(row, RatesStore::Number::OmurYil)),
                    bits(rates[ids.size() - 1 - row]));
                QCOMPARE(store.number(row, RatesStore::Number::Teblig), std::optional<double>());
            }
        }
    }

    // From RatesStore::kRowsForTwoThreads rows on, a second thread searches the later
    // half: the answer must still be the first row, wherever the rows lie, and the
    // rarest bytes the store counted must not change it.
    void searchOverTwoThreadsFindsTheFirstRow_data()
    {
        QTest::addColumn<QList<int>>("rowsWithTerm");
        QTest::addColumn<int>("from");
        const int middle = kLargeRows / 2;
        QTest::newRow("nowhere") << QList<int> {} << 0;
        QTest::newRow("first row") << QList<int> {0, middle + 10} << 0;
        QTest::newRow("later half only") << QList<int> {middle + 3} << 0;
        QTest::newRow("both halves: the earlier wins") << QList<int> {middle - 1, middle + 1} << 0;
        QTest::newRow("last row") << QList<int> {kLargeRows - 1} << 0;
        QTest::newRow("before the start is not found") << QList<int> {5, kLargeRows - 2} << 6;
        QTest::newRow("rows about the middle") << QList<int> {middle, middle + 1} << 0;
    }

    void searchOverTwoThreadsFindsTheFirstRow()
    {
        QFETCH(QList<int>, rowsWithTerm);
        QFETCH(int, from);
        RatesStore store;
        // Every pair of rows holds the term across its boundary, which is no match.
        const QByteArray term = ansi(u"çelikvinç");
        for (int row = 0; row < kLargeRows; ++row) {
            RatesRecordValues values;
            values.aciklama = rowsWithTerm.contains(row) ? "x " + term + " y"
                : row % 2                                ? ansi(u"vinç kazan")
                                                         : ansi(u"ısıtma çelik");
            store.append(values);
        }
        store.squeeze();
        QVERIFY(store.size() >= RatesStore::kRowsForTwoThreads);
        int expected = kLargeRows;
        for (const int row : rowsWithTerm) {
            if (row >= from)
                expected = std::min(expected, row);
        }
        QCOMPARE(store.nextContaining(turkishfold::fold(term), from, store.size()), expected);
    }

    // A list of the shipped kind (descriptions of ~150 bytes, a capital or two each)
    // must not cost much more than its text: the budget is 300 bytes a row in all.
    void rowsStayCompact()
    {
        std::vector<RatesRecordValues> rows(20000);
        for (size_t i = 0; i < rows.size(); ++i) {
            rows[i].ID = double(i + 1);
            rows[i].tum_kodu = "1.2." + QByteArray::number(qulonglong(i));
            rows[i].ana_kodu = "1";
            rows[i].alt1_kodu = "1.2";
            rows[i].aciklama = ansi(u"Binalar: ") + QByteArray(140, 'x');
            rows[i].omur_yil = 50;
            rows[i].oran = 0.02;
            rows[i].teblig = 339;
        }
        RatesQuery query(nullptr);
        query.openWithRecords(rows);
        QCOMPARE(query.recordCount(), int(rows.size()));
        QCOMPARE(query.record(19999).tum_kodu(), QByteArray("1.2.19999"));
        const qsizetype textBytes = 1 + 3 + 9 + 149; // codes and description
        QCOMPARE_LE(query.rowMemoryBytes() / query.recordCount(), textBytes + 64);
    }
};

QTEST_GUILESS_MAIN(TestRatesStore)
#include "tst_ratesstore.moc"
