// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/yardim/rtfreader.h"

#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace {

// The text as shown, paragraph by paragraph; line separators and no-break spaces kept.
QString shownText(const QTextDocument &document)
{
    QStringList blocks;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        blocks << block.text();
    return blocks.join(u'\n');
}

QTextCharFormat formatAt(QTextDocument &document, const QString &probe)
{
    const QTextCursor found = document.find(probe);
    if (found.isNull())
        return {};
    QTextCursor cursor(&document);
    cursor.setPosition(found.selectionStart() + 1); // format of the character before
    return cursor.charFormat();
}

QByteArray nested(int depth)
{
    return "{\\rtf1 " + QByteArray(depth, '{') + "x" + QByteArray(depth + 1, '}');
}

} // namespace

class TestRtfReader : public QObject
{
    Q_OBJECT

private slots:
    void readsText_data();
    void readsText();
    void rejectsWhatIsNotRtf_data();
    void rejectsWhatIsNotRtf();
    void characterFormatting_data();
    void characterFormatting();
    void paragraphAlignment_data();
    void paragraphAlignment();
    void replacesPreviousContent();
    void survivesMutatedInput();
};

void TestRtfReader::readsText_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("text");

    QTest::newRow("plain words") << QByteArray("{\\rtf1 Merhaba d\\'fcnya}") << u"Merhaba dünya"_qs;
    QTest::newRow("\\'hh escapes are Windows-1254") << QByteArray(
        "{\\rtf1\\ansi\\ansicpg1254 \\'dd\\'fe\\'e7i \\'fd\\'fe\\'f0\\'fd \\'DE\\'D0}")
                                                    << u"İşçi ışğı ŞĞ"_qs;
    QTest::newRow("\\par, \\line and \\tab")
        << QByteArray("{\\rtf1 bir\\par iki\\line \\'fc\\'e7\\tab d\\'f6rt}")
        << u"bir\niki\u2028üç\tdört"_qs;
    QTest::newRow("backslash before a line break is a paragraph")
        << QByteArray("{\\rtf1 bir\\\niki}") << u"bir\niki"_qs;
    QTest::newRow("line breaks in the file are not text")
        << QByteArray("{\\rtf1 bir\r\nik\ni}") << u"biriki"_qs;
    QTest::newRow("escaped braces and backslash")
        << QByteArray("{\\rtf1 a\\{b\\}c\\\\d}") << u"a{b}c\\d"_qs;
    QTest::newRow("symbols for special characters")
        << QByteArray("{\\rtf1 a\\~b\\emdash c\\endash d\\bullet\\lquote e\\rquote}")
        << u"a\u00a0b\u2014c\u2013d\u2022\u2018e\u2019"_qs;
    QTest::newRow("\\u drops one fallback byte by default")
        << QByteArray("{\\rtf1 \\u305?k}") << u"ık"_qs;
    QTest::newRow("\\uc2 drops two fallback bytes")
        << QByteArray("{\\rtf1\\uc2 \\u304??x}") << u"İx"_qs;
    QTest::newRow("\\uc0 drops nothing") << QByteArray("{\\rtf1\\uc0 \\u351 x}") << u"şx"_qs;
    QTest::newRow("a hex escape is one fallback character")
        << QByteArray("{\\rtf1 \\u287\\'f0a}") << u"ğa"_qs;
    QTest::newRow("a closing brace ends the fallback")
        << QByteArray("{\\rtf1\\uc3 {\\u351}x}") << u"şx"_qs;
    QTest::newRow("\\uc is restored when its group ends")
        << QByteArray("{\\rtf1 {\\uc0 \\u351 }\\u351?x}") << u"şşx"_qs;
    QTest::newRow("negative \\u values make a surrogate pair")
        << QByteArray("{\\rtf1 \\u-10179?\\u-8704?}") << u"\U0001F600"_qs;
    QTest::newRow("a lone surrogate becomes a replacement mark")
        << QByteArray("{\\rtf1 \\u-10179?x}") << u"\ufffdx"_qs;
    QTest::newRow("\\* destinations are skipped whole")
        << QByteArray("{\\rtf1 a{\\*\\bilinmeyen {i\\'e7} \\par z}b}") << u"ab"_qs;
    QTest::newRow("tables, style sheet, info and picture are not text") << QByteArray(
        "{\\rtf1{\\fonttbl{\\f0\\fswiss Arial;}}{\\colortbl;\\red1\\green2\\blue3;}"
        "{\\stylesheet{\\s0 Normal;}}{\\info{\\title Ba\\'fel\\'fdk}}"
        "{\\pict\\wmetafile8 0102ff}metin}") << u"metin"_qs;
    QTest::newRow("headers and footers are skipped")
        << QByteArray("{\\rtf1{\\header \\'fcst}{\\footerl alt}g\\'f6vde}") << u"gövde"_qs;
    QTest::newRow("\\bin data may hold braces")
        << QByteArray("{\\rtf1 {\\pict\\bin3 }{\\ x}y}") << u"y"_qs;
    QTest::newRow("a field shows its result, not its instruction")
        << QByteArray("{\\rtf1 {\\field{\\*\\fldinst HYPERLINK \"https://a\"}{\\fldrslt ba\\'f0}}}")
        << u"bağ"_qs;
    QTest::newRow("text after the document's closing brace is ignored")
        << QByteArray("{\\rtf1 a}}}b{c") << u"a"_qs;
    QTest::newRow("truncated inside a group keeps what was read")
        << QByteArray("{\\rtf1 {\\b kal\\'fdn") << u"kalın"_qs;
    QTest::newRow("truncated inside a hex escape") << QByteArray("{\\rtf1 ab\\'f") << u"ab"_qs;
    QTest::newRow("truncated after a backslash") << QByteArray("{\\rtf1 ab\\") << u"ab"_qs;
    QTest::newRow("truncated inside a control word") << QByteArray("{\\rtf1 ab\\pa") << u"ab"_qs;
    QTest::newRow("huge parameters are clamped") << QByteArray(
        "{\\rtf1\\fs99999999999999999999\\li-9999999999999 a\\u99999999999?b"
        "\\uc99999999999999 \\u305 xyz}") << u"a\ufffdbı"_qs;
    QTest::newRow("an overlong control word is ignored")
        << QByteArray("{\\rtf1 \\" + QByteArray(200, 'q') + "123 b}") << u"b"_qs;
    QTest::newRow("control characters are not text")
        << QByteArray("{\\rtf1 a\x01\x1f\\'00b\\u0 c}") << u"ab"_qs;
    QTest::newRow("nesting at the bound is read")
        << nested(RtfReader::kMaxGroupDepth - 1) << u"x"_qs;
}

void TestRtfReader::readsText()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, text);

    QTextDocument document;
    QVERIFY(RtfReader::read(rtf, document));
    QCOMPARE(shownText(document), text);
}

void TestRtfReader::rejectsWhatIsNotRtf_data()
{
    QTest::addColumn<QByteArray>("input");

    QTest::newRow("empty") << QByteArray();
    QTest::newRow("plain text") << QByteArray("Merhaba\n");
    QTest::newRow("leading space") << QByteArray(" {\\rtf1 a}");
    QTest::newRow("header cut short") << QByteArray("{\\rt");
    QTest::newRow("header in capitals") << QByteArray("{\\RTF1 a}");
    QTest::newRow("nesting past the bound") << nested(RtfReader::kMaxGroupDepth);
    QTest::newRow("deep nesting in a skipped group")
        << QByteArray("{\\rtf1 {\\*\\x " + QByteArray(100000, '{'));
}

void TestRtfReader::rejectsWhatIsNotRtf()
{
    QFETCH(QByteArray, input);
    QTextDocument document;
    QVERIFY(!RtfReader::read(input, document));
}

void TestRtfReader::characterFormatting_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("probe");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<bool>("italic");
    QTest::addColumn<bool>("underline");
    QTest::addColumn<bool>("strike");
    QTest::addColumn<double>("points"); // 0: the view's own size
    QTest::addColumn<QString>("family"); // empty: the view's own font
    QTest::addColumn<QColor>("colour"); // invalid: the view's own colour

    const QByteArray tables = "{\\rtf1\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset162 Arial;}"
                              "{\\f1\\froman{\\*\\panose 02020603050405020304}Times New Roman;}"
                              "{\\f2 T\\'fcrk Harf}}"
                              "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue128;}";

    QTest::newRow("bold") << QByteArray("{\\rtf1 \\b kalin\\b0  ince}") << "kalin" << true << false
                          << false << false << 0.0 << "" << QColor();
    QTest::newRow("\\b0 ends bold") << QByteArray("{\\rtf1 \\b kalin\\b0  ince}") << "ince" << false
                                    << false << false << false << 0.0 << "" << QColor();
    QTest::newRow("a closing group restores formatting")
        << QByteArray("{\\rtf1 {\\i\\ul e\\'f0ik} d\\'fcz}") << u"düz"_qs << false << false << false
        << false << 0.0 << "" << QColor();
    QTest::newRow("italic, underline and strike together")
        << QByteArray("{\\rtf1 {\\i\\ul\\strike hepsi}}") << "hepsi" << false << true << true
        << true << 0.0 << "" << QColor();
    QTest::newRow("\\ulnone ends underline")
        << QByteArray("{\\rtf1 \\ul a\\ulnone b}") << "b" << false << false << false << false << 0.0
        << "" << QColor();
    QTest::newRow("\\fs is in half points")
        << QByteArray("{\\rtf1 \\fs28 b\\'fcy\\'fck}") << u"büyük"_qs << false << false << false
        << false << 14.0 << "" << QColor();
    QTest::newRow("\\plain resets character formatting")
        << QByteArray("{\\rtf1 \\b\\i\\fs40\\cf1 a\\plain z}") << "z" << false << false << false
        << false << 0.0 << "" << QColor();
    QTest::newRow("\\deff names the font of unmarked text")
        << tables + "yaz\\'fd}" << u"yazı"_qs << false << false << false << false << 0.0 << "Arial"
        << QColor();
    QTest::newRow("\\f picks from the font table")
        << tables + "\\f1 yaz\\'fd}" << u"yazı"_qs << false << false << false << false << 0.0
        << "Times New Roman" << QColor();
    QTest::newRow("a font entry may end with its group")
        << tables + "\\f2 yaz\\'fd}" << u"yazı"_qs << false << false << false << false << 0.0
        << u"Türk Harf"_qs << QColor();
    QTest::newRow("\\cf picks from the colour table")
        << tables + "\\cf2 lacivert}"
        << "lacivert" << false << false << false << false << 0.0 << "Arial" << QColor(0, 0, 128);
    QTest::newRow("\\cf0 is the automatic colour")
        << tables + "\\cf1 k\\cf0 o}"
        << "o" << false << false << false << false << 0.0 << "Arial" << QColor();
    QTest::newRow("a colour past the table's end is automatic")
        << tables + "\\cf9 o}"
        << "o" << false << false << false << false << 0.0 << "Arial" << QColor();
}

void TestRtfReader::characterFormatting()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, probe);
    QFETCH(bool, bold);
    QFETCH(bool, italic);
    QFETCH(bool, underline);
    QFETCH(bool, strike);
    QFETCH(double, points);
    QFETCH(QString, family);
    QFETCH(QColor, colour);

    QTextDocument document;
    QVERIFY(RtfReader::read(rtf, document));
    const QTextCharFormat format = formatAt(document, probe);
    QVERIFY2(format.isValid(), qPrintable("no text " + probe));
    QCOMPARE(format.fontWeight() >= QFont::Bold, bold);
    QCOMPARE(format.fontItalic(), italic);
    QCOMPARE(format.fontUnderline(), underline);
    QCOMPARE(format.fontStrikeOut(), strike);
    QCOMPARE(format.fontPointSize(), points);
    QCOMPARE(format.fontFamilies().toStringList().value(0), family);
    QCOMPARE(format.hasProperty(QTextFormat::ForegroundBrush), colour.isValid());
    if (colour.isValid())
        QCOMPARE(format.foreground().color(), colour);
}

void TestRtfReader::paragraphAlignment_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QList<int>>("alignments"); // one per paragraph

    const auto left = int(Qt::AlignLeft);
    const auto centre = int(Qt::AlignHCenter);
    const auto right = int(Qt::AlignRight);
    const auto justify = int(Qt::AlignJustify);

    QTest::newRow("each of \\ql \\qc \\qr \\qj")
        << QByteArray("{\\rtf1\\ql a\\par\\qc b\\par\\qr c\\par\\qj d}")
        << QList<int> {left, centre, right, justify};
    QTest::newRow("\\pard returns to the defaults")
        << QByteArray("{\\rtf1\\qc Ba\\'fel\\'fdk\\par\\pard metin\\par}")
        << QList<int> {centre, left, left};
    QTest::newRow("a paragraph takes the alignment in force at its end")
        << QByteArray("{\\rtf1 a\\qr\\par b}") << QList<int> {right, right};
    QTest::newRow("alignment set inside a group ends with it")
        << QByteArray("{\\rtf1{\\qc a\\par}b}") << QList<int> {centre, left};
}

void TestRtfReader::paragraphAlignment()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QList<int>, alignments);

    QTextDocument document;
    QVERIFY(RtfReader::read(rtf, document));
    QList<int> found;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        found << int(block.blockFormat().alignment() & Qt::AlignHorizontal_Mask);
    QCOMPARE(found, alignments);
}

void TestRtfReader::replacesPreviousContent()
{
    QTextDocument document;
    QVERIFY(RtfReader::read("{\\rtf1\\qc\\b eski\\par eski}", document));
    QVERIFY(RtfReader::read("{\\rtf1 yeni}", document));
    QCOMPARE(shownText(document), u"yeni"_qs);
    QCOMPARE(document.begin().blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
    QVERIFY(formatAt(document, "yeni").fontWeight() < QFont::Bold);
}

// Random damage to real samples must never crash, hang, or make more text than the
// input had bytes; the sanitizers of a debug build catch what a plain run cannot.
void TestRtfReader::survivesMutatedInput()
{
    QList<QByteArray> samples = {
        "{\\rtf1\\ansi\\ansicpg1254\\deff0{\\fonttbl{\\f0 Arial;}{\\f1 Courier New;}}"
        "{\\colortbl;\\red255\\green0\\blue0;}{\\*\\generator x;}\\pard\\qc\\b\\fs28 "
        "Ba\\'fel\\'fdk\\par\\pard\\plain\\f1\\cf1 \\u304?\\uc2\\u351??{\\i e\\'f0ik}\\tab "
        "{\\field{\\*\\fldinst HYPERLINK \"https://ornek.com.tr\"}{\\fldrslt ba\\'f0}}\\line "
        "{\\pict\\bin4 {}\\}\\par}",
        "{\\rtf1{\\info{\\title t}}{\\header h}\\li720\\fi-360\\sb120 \\bullet\\~x\\par}",
    };
    QFile shipped(QStringLiteral(VELKARO_TEST_DATA_DIR "/../../yardim"));
    if (shipped.open(QIODevice::ReadOnly))
        samples << shipped.readAll();

    static const QByteArray tokens[] = {
        "{",
        "}",
        "\\",
        "\\'",
        "\\'f",
        "\\u",
        "\\u-",
        "\\uc",
        "\\bin",
        "\\bin999999999",
        "\\*",
        "\\par",
        "\\pard",
        "\\plain",
        "\\fs",
        "\\f",
        "\\cf",
        "\\colortbl",
        "\\fonttbl",
        "\\pict",
        "99999999999999999999",
        "-",
        ";",
        "\r\n",
        "\\\n",
        "{\\*\\x",
        "\\qc",
        "\\b0",
    };

    const quint32 seed = QRandomGenerator::global()->generate();
    QRandomGenerator random(seed);
    QElapsedTimer clock;
    clock.start();
    int runs = 0;
    // Bounded by count and time: enough to catch the easy breakages on every run.
    while (runs < 100000 && clock.elapsed() < 3000) {
        QByteArray input = samples[random.bounded(samples.size())];
        const int edits = 1 + random.bounded(8);
        for (int e = 0; e < edits; ++e) {
            const qsizetype at = input.isEmpty() ? 0 : random.bounded(input.size() + 1);
            switch (random.bounded(6)) {
            case 0:
                if (at < input.size())
                    input[at] = char(input[at] ^ (1 << random.bounded(8)));
                break;
            case 1:
                input.insert(at, char(random.bounded(256)));
                break;
            case 2:
                input.insert(at, tokens[random.bounded(int(std::size(tokens)))]);
                break;
            case 3:
                input.remove(at, random.bounded(16));
                break;
            case 4:
                input.insert(at, input.mid(random.bounded(input.size() + 1), random.bounded(64)));
                break;
            case 5:
                input.truncate(at);
                break;
            }
        }

        QTextDocument document;
        const bool accepted = RtfReader::read(input, document);
        if (!input.startsWith("{\\rtf"))
            QVERIFY2(!accepted, qPrintable(QString("seed %1: accepted non-RTF").arg(seed)));
        QVERIFY2(document.characterCount() <= input.size() + 1,
            qPrintable(QString("seed %1: %2 characters from %3 bytes")
                           .arg(seed)
                           .arg(document.characterCount())
                           .arg(input.size())));
        ++runs;
    }
    qInfo("%d mutated inputs ran clean (seed %u)", runs, seed);
    QVERIFY(runs > 100);
}

QTEST_MAIN(TestRtfReader)
#include "tst_rtfreader.moc"
