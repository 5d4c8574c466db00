// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/yardim/helptext.h"
#include "ui/yardim/rtfreader.h"

#include <QTest>
#include <QTextBlock>
#include <QTextDocument>

#include <limits>

namespace {

constexpr qsizetype kAll = std::numeric_limits<qsizetype>::max();

// What a reader sees of a document: each block's text, paragraph format and the
// character formats of its pieces.
QStringList shape(const QTextDocument &document)
{
    QStringList lines;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const QTextBlockFormat paragraph = block.blockFormat();
        QString line = QStringLiteral("[%1 %2 %3 %4]")
                           .arg(int(paragraph.alignment()))
                           .arg(paragraph.leftMargin())
                           .arg(paragraph.textIndent())
                           .arg(paragraph.topMargin());
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat chars = it.fragment().charFormat();
            line += QStringLiteral("<%1%2%3>")
                        .arg(chars.fontWeight() >= QFont::Bold ? "b" : "")
                        .arg(chars.fontItalic() ? "i" : "")
                        .arg(chars.fontPointSize())
                + it.fragment().text();
        }
        lines << line;
    }
    return lines;
}

QByteArray words(qsizetype length)
{
    static const QByteArray kWords[] = {"amortisman ", "oran\xfd ", "{\\b bina} ", "kazan ",
        "{\\i buhar} ", "makine ", "tesis ", "demirba\xfe "};
    QByteArray text;
    for (int i = 0; text.size() < length; ++i)
        text += kWords[(i * 7) % std::size(kWords)];
    return text;
}

} // namespace

class TestHelpText : public QObject
{
    Q_OBJECT

private slots:
    void writingInPartsGivesTheWholeText_data();
    void writingInPartsGivesTheWholeText();
    void longParagraphsAreBrokenNearTheBound_data();
    void longParagraphsAreBrokenNearTheBound();
    void plainTextParagraphs_data();
    void plainTextParagraphs();
};

void TestHelpText::writingInPartsGivesTheWholeText_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<qsizetype>("blocks");
    QTest::addColumn<qsizetype>("characters");

    const QList<QPair<const char *, QByteArray>> texts = {
        {"formatted paragraphs",
            "{\\rtf1{\\fonttbl{\\f0 Arial;}}\\qc\\b Ba\\'fel\\'fdk\\b0\\par\\pard\\li720\\fi-360 "
            "Metin {\\i e\\'f0ik} son\\par\\par\\fs40 b\\'fcy\\'fck\\par\\pard\\sb120 son}"},
        {"long paragraph of words", "{\\rtf1\\fi300\\sb60 " + words(10000) + "\\par k\\'fdsa}"},
        {"long unbroken run with bold across the bound",
            "{\\rtf1 " + QByteArray(4000, 'x') + "{\\b " + QByteArray(200, 'y') + "}"
                + QByteArray(5000, 'z') + "}"},
        {"many empty paragraphs", "{\\rtf1\\fs30 a" + QByteArray("\\par ").repeated(50) + "b}"},
    };
    const QList<QPair<qsizetype, qsizetype>> limits
        = {{1, kAll}, {kAll, 1}, {3, 5000}, {2, 4097}, {7, 100}};
    for (const auto &[name, rtf] : texts) {
        for (const auto &[blocks, characters] : limits) {
            QTest::addRow("%s, %lld blocks, %lld characters at a time", name,
                blocks == kAll ? -1LL : qint64(blocks),
                characters == kAll ? -1LL : qint64(characters))
                << rtf << blocks << characters;
        }
    }
}

void TestHelpText::writingInPartsGivesTheWholeText()
{
    QFETCH(QByteArray, rtf);
    QFETCH(qsizetype, blocks);
    QFETCH(qsizetype, characters);

    HelpText text;
    QVERIFY(RtfReader::read(rtf, text));
    QTextDocument whole;
    text.writeAllTo(whole);

    QTextDocument parts;
    HelpText::Position at;
    int calls = 0;
    while (at != text.end()) {
        const int blocksBefore = parts.blockCount();
        const HelpText::Position next = text.writeTo(parts, at, {blocks, characters});
        QVERIFY2(next != at, "a call wrote nothing");
        // The first call fills the empty document's block; later ones add theirs.
        const int added = parts.blockCount() - blocksBefore + (calls == 0 ? 1 : 0);
        QVERIFY(added >= 1);
        QVERIFY(added <= std::max<qsizetype>(blocks, 1));
        at = next;
        ++calls;
    }
    QCOMPARE(shape(parts), shape(whole));
    QVERIFY(calls >= 1);
}

void TestHelpText::longParagraphsAreBrokenNearTheBound_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<bool>("breaksAtSpaces");

    QTest::newRow("words") << "{\\rtf1 " + words(20000) + "}" << true;
    QTest::newRow("one unbroken word") << "{\\rtf1 " + QByteArray(20000, 'x') + "}" << false;
    QTest::newRow("a space just too far back")
        << "{\\rtf1 " + QByteArray(3000, 'x') + " " + QByteArray(17000, 'x') + "}" << false;
    // U+1F600 as a surrogate pair whose halves fall on either side of the bound.
    QTest::newRow("a surrogate pair across the bound") << "{\\rtf1 "
            + QByteArray(HelpText::kMaxBlockLength - 1, 'x') + "\\u-10179?\\u-8704?"
            + QByteArray(100, 'y') + "}" << false;
}

void TestHelpText::longParagraphsAreBrokenNearTheBound()
{
    QFETCH(QByteArray, rtf);
    QFETCH(bool, breaksAtSpaces);

    HelpText text;
    QVERIFY(RtfReader::read(rtf, text));
    QCOMPARE(text.paragraphCount(), 1);
    QTextDocument document;
    text.writeAllTo(document);

    QVERIFY(document.blockCount() > 1);
    QString joined;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const QString piece = block.text();
        QVERIFY(piece.size() <= HelpText::kMaxBlockLength);
        QVERIFY(!piece.isEmpty());
        QVERIFY2(!piece.back().isHighSurrogate(), "a surrogate pair was split");
        if (block.next().isValid()) {
            QCOMPARE(piece.endsWith(u' '), breaksAtSpaces);
            // Broken late, not early: the line is not cut short for nothing.
            QVERIFY(piece.size() > HelpText::kMaxBlockLength - 256);
        }
        joined += piece;
    }
    // Nothing is lost or doubled at the breaks.
    QCOMPARE(joined.size(), text.characterCount());
}

void TestHelpText::plainTextParagraphs_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("blocks");

    QTest::newRow("empty") << "" << QStringList {""};
    QTest::newRow("one line") << "bir" << QStringList {"bir"};
    QTest::newRow("ends with a line feed") << "bir\n" << QStringList {"bir", ""};
    QTest::newRow("only line feeds") << "\n\n\n" << QStringList {"", "", "", ""};
    QTest::newRow("empty lines between") << "bir\n\niki" << QStringList {"bir", "", "iki"};
    QTest::newRow("tabs stay") << "a\tb\nc" << QStringList {"a\tb", "c"};
}

void TestHelpText::plainTextParagraphs()
{
    QFETCH(QString, text);
    QFETCH(QStringList, blocks);

    const HelpText help = HelpText::fromPlainText(text);
    QCOMPARE(help.paragraphCount(), blocks.size());
    QTextDocument document;
    document.setPlainText(QStringLiteral("eski\neski"));
    help.writeAllTo(document);
    QStringList shown;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        shown << block.text();
    QCOMPARE(shown, blocks);
}

QTEST_MAIN(TestHelpText)
#include "tst_helptext.moc"
