// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QList>
#include <QString>
#include <QTextBlockFormat>
#include <QTextCharFormat>

class QTextCursor;
class QTextDocument;

// The help text as read from the file, held compactly until it is shown: its characters,
// where each paragraph starts and in which paragraph format, where each character format
// starts. A QTextDocument spends some hundred bytes on every paragraph it holds and lays
// out, and inserting paragraphs gets dearer the more it holds; here a paragraph costs
// eight bytes, so that a file of a million short lines is cheap until someone scrolls
// through all of it.
class HelpText
{
public:
    // The view lays out a paragraph whole, and breaking lines costs more than linear in
    // a paragraph's length; longer paragraphs are shown as several, broken at a space
    // near the bound where there is one.
    static constexpr qsizetype kMaxBlockLength = 4096;

    // Where writing stopped: the paragraph, and the character within the text.
    struct Position
    {
        qsizetype paragraph = 0;
        qsizetype character = 0;
        friend bool operator==(const Position &, const Position &) = default;
    };

    // How much one call to writeTo() may put into a document.
    struct Limits
    {
        qsizetype blocks;
        qsizetype characters;
    };

    HelpText(); // one empty paragraph in the default formats (index 0 of each kind)

    // Building, in reading order. Formats are registered once and then used by index.
    int addCharFormat(const QTextCharFormat &format);
    int addBlockFormat(const QTextBlockFormat &format);
    void append(QStringView text, int charFormat);
    void setParagraphFormat(int blockFormat); // of the paragraph being read
    void endParagraph(); // the next paragraph starts

    // Plain text: every LF ends a paragraph; default formats throughout.
    static HelpText fromPlainText(QString text);

    qsizetype paragraphCount() const { return m_paragraphs.size(); }
    qsizetype characterCount() const { return m_text.size(); }
    Position end() const { return {m_paragraphs.size(), m_text.size()}; }

    // Appends the text from `from` at the end of the document, as blocks, at least one and
    // then as many as the limits allow; returns where it stopped. Starting at the
    // beginning fills the document's first block instead of adding one, so a cleared
    // document ends up holding exactly the text.
    Position writeTo(QTextDocument &document, Position from, Limits limits) const;

    // Replaces the document's content with the whole text.
    void writeAllTo(QTextDocument &document) const;

private:
    struct Paragraph
    {
        quint32 start;
        quint32 blockFormat;
    };
    struct Run
    {
        quint32 start;
        quint32 charFormat;
    };

    qsizetype paragraphEnd(qsizetype paragraph) const;
    qsizetype pieceEnd(qsizetype from, qsizetype paragraphEnd) const;
    qsizetype runAt(qsizetype character) const;
    void insertRuns(QTextCursor &cursor, qsizetype from, qsizetype to) const;

    QString m_text;
    QList<Paragraph> m_paragraphs;
    QList<Run> m_runs;
    QList<QTextCharFormat> m_charFormats;
    QList<QTextBlockFormat> m_blockFormats;
};
