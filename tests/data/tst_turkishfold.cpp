// SPDX-License-Identifier: GPL-3.0-or-later

#include "data/turkishfold.h"
#include "jet/cp1254.h"

#include <QTest>

namespace {

// Test texts are written in UTF-8 here and handed over as the program holds them.
QByteArray ansi(const char *utf8)
{
    return cp1254::fromUnicode(QString::fromUtf8(utf8));
}

} // namespace

class TestTurkishFold : public QObject
{
    Q_OBJECT

private slots:
    void foldsEachByteByTheTable_data()
    {
        QTest::addColumn<int>("input");
        QTest::addColumn<int>("output");
        QTest::newRow("capital I folds to dotless ı") << 0x49 << 0xFD;
        QTest::newRow("capital İ folds to i") << 0xDD << 0x69;
        QTest::newRow("Ç") << 0xC7 << 0xE7;
        QTest::newRow("Ğ") << 0xD0 << 0xF0;
        QTest::newRow("Ö") << 0xD6 << 0xF6;
        QTest::newRow("Ş") << 0xDE << 0xFE;
        QTest::newRow("Ü") << 0xDC << 0xFC;
        QTest::newRow("A") << 0x41 << 0x61;
        QTest::newRow("Z") << 0x5A << 0x7A;
        QTest::newRow("small ı stays") << 0xFD << 0xFD;
        QTest::newRow("small i stays") << 0x69 << 0x69;
        QTest::newRow("Â stays a capital") << 0xC2 << 0xC2;
        QTest::newRow("É stays") << 0xC9 << 0xC9;
        QTest::newRow("digit stays") << 0x37 << 0x37;
        QTest::newRow("@ before A stays") << 0x40 << 0x40;
        QTest::newRow("[ after Z stays") << 0x5B << 0x5B;
        QTest::newRow("nothing folds upward: ş") << 0xFE << 0xFE;
    }

    void foldsEachByteByTheTable()
    {
        QFETCH(int, input);
        QFETCH(int, output);
        const QByteArray text(1, char(input));
        QCOMPARE(
            turkishfold::fold(QByteArray("x") + text + "x"), QByteArray("x") + char(output) + "x");
    }

    void fold_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("folded");
        QTest::newRow("KIRMIZI with spaces around") << ansi("  KIRMIZI  ") << ansi("kırmızı");
        QTest::newRow("İNŞAAT") << ansi("İNŞAAT") << ansi("inşaat");
        QTest::newRow("Âlet") << ansi("Âlet") << ansi("Âlet");
        QTest::newRow("control characters trimmed at both ends")
            << QByteArray("\t\r\n A b \x01\x1f") << QByteArray("a b");
        QTest::newRow("spaces inside stay") << QByteArray(" A  B ") << QByteArray("a  b");
        QTest::newRow("only spaces") << QByteArray("    ") << QByteArray();
        QTest::newRow("byte 0x80 and above are not trimmed")
            << QByteArray("\xA0x\xA0") << QByteArray("\xA0x\xA0");
    }

    void fold()
    {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, folded);
        QCOMPARE(turkishfold::fold(text), folded);
    }

    void termMatches_data()
    {
        QTest::addColumn<QByteArray>("term");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("matches");
        QTest::newRow("bina finds BİNALAR") << ansi("bina") << ansi("BİNALAR") << true;
        QTest::newRow("BINA does not find BİNALAR") << ansi("BINA") << ansi("BİNALAR") << false;
        QTest::newRow("ısı finds ISITMA") << ansi("ısı") << ansi("ISITMA") << true;
        QTest::newRow("ısı finds ısıtma") << ansi("ısı") << ansi("ısıtma") << true;
        QTest::newRow("isi finds neither ISITMA") << ansi("isi") << ansi("ISITMA") << false;
        QTest::newRow("isi finds neither ısıtma") << ansi("isi") << ansi("ısıtma") << false;
        QTest::newRow("spaces-only term matches nothing")
            << QByteArray("   ") << ansi("bina") << false;
        QTest::newRow("empty term matches nothing") << QByteArray() << ansi("bina") << false;
        QTest::newRow("empty text matches nothing") << ansi("a") << QByteArray() << false;
        QTest::newRow("term is trimmed") << ansi(" kazan ") << ansi("Buhar KAZANI") << true;
        QTest::newRow("no collapsing of spaces")
            << ansi("buhar  kazanı") << ansi("buhar kazanı") << false;
        QTest::newRow("no word boundaries") << ansi("zan") << ansi("Kazan") << true;
        QTest::newRow("Â does not match â") << ansi("âlet") << ansi("Âlet") << false;
        QTest::newRow("text ends at its first zero byte")
            << ansi("son") << QByteArray("ilk\0son", 7) << false;
        QTest::newRow("text before the zero byte")
            << ansi("ilk") << QByteArray("ilk\0son", 7) << true;
    }

    void termMatches()
    {
        QFETCH(QByteArray, term);
        QFETCH(QByteArray, text);
        QFETCH(bool, matches);
        QCOMPARE(turkishfold::termMatches(term, text), matches);
    }

    // Long texts are searched in wide blocks and their ends in narrower ones: a match
    // must be found at every offset, first occurrence first, including near misses
    // that share the term's first and last letters, whichever letters the search
    // anchors on.
    void findsTheFirstOccurrenceAtEveryOffset_data()
    {
        QTest::addColumn<int>("length");
        QTest::addColumn<QByteArray>("term");
        QTest::newRow("one letter, short text") << 40 << QByteArray("q");
        QTest::newRow("two letters, long text") << 3000 << QByteArray("qz");
        QTest::newRow("longer term, long text") << 1100 << QByteArray("q-ab-z");
        QTest::newRow("term of a repeated letter") << 1500 << QByteArray("qqq");
    }

    void findsTheFirstOccurrenceAtEveryOffset()
    {
        QFETCH(int, length);
        QFETCH(QByteArray, term);
        // A near miss everywhere: the first and last letters with the middle wrong.
        const QByteArray nearMiss = term.size() == 1
            ? QByteArray("a")
            : term.front() + QByteArray(std::max(1, int(term.size()) - 2), '.') + term.back() + "a";
        QByteArray background;
        while (background.size() < length)
            background += nearMiss;
        background.truncate(length);
        for (int at = 0; at + term.size() <= length;
             at += (at < 200 || at > length - 200) ? 1 : 37) {
            QByteArray text = background;
            text.replace(at, term.size(), term);
            const qsizetype expected
                = qsizetype(std::string_view(text.constData(), size_t(text.size()))
                                .find(std::string_view(term.constData(), size_t(term.size()))));
            QCOMPARE(turkishfold::findFolded(text, term), expected);
            // Whichever bytes the search looks for first, the answer is the same.
            for (qsizetype first = 0; first < term.size(); ++first) {
                for (qsizetype second = 0; second < term.size(); ++second) {
                    const qsizetype third = (first + second) / 2;
                    QCOMPARE(turkishfold::findFolded(text, term, {first, second, third}), expected);
                }
            }
        }
        QCOMPARE(turkishfold::findFolded(background, term), qsizetype(-1));
    }

    void codePageRoundTrip()
    {
        const QString turkish = QStringLiteral("ğĞıİşŞçÇöÖüÜ âÂ € ™ ‰");
        const QByteArray bytes = cp1254::fromUnicode(turkish);
        QCOMPARE(bytes.size(), turkish.size());
        QCOMPARE(bytes,
            QByteArray("\xF0\xD0\xFD\xDD\xFE\xDE\xE7\xC7\xF6\xD6\xFC\xDC \xE2\xC2 \x80 \x99 \x89"));
        QCOMPARE(cp1254::toUnicode(bytes), turkish);
        QByteArray everyByte(256, Qt::Uninitialized);
        for (int i = 0; i < 256; ++i)
            everyByte[i] = char(i);
        QCOMPARE(cp1254::fromUnicode(cp1254::toUnicode(everyByte)), everyByte);
    }

    void codePageReplacesWhatItCannotHold()
    {
        QCOMPARE(cp1254::fromUnicode(QStringLiteral("a\u0416b\U0001F600c")), QByteArray("a?b?c"));
    }
};

QTEST_GUILESS_MAIN(TestTurkishFold)
#include "tst_turkishfold.moc"
