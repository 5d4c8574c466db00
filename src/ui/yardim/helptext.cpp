// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/yardim/helptext.h"

#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <limits>

namespace {

// How far back from the bound a long paragraph is searched for a space to break at.
constexpr qsizetype kBreakSearch = 256;

} // namespace

HelpText::HelpText()
    : m_paragraphs {{0, 0}}
    , m_runs {{0, 0}}
    , m_charFormats {QTextCharFormat()}
    , m_blockFormats {QTextBlockFormat()}
{ }

int HelpText::addCharFormat(const QTextCharFormat &format)
{
    m_charFormats.append(format);
    return int(m_charFormats.size() - 1);
}

int HelpText::addBlockFormat(const QTextBlockFormat &format)
{
    m_blockFormats.append(format);
    return int(m_blockFormats.size() - 1);
}

void HelpText::append(QStringView text, int charFormat)
{
    if (text.isEmpty())
        return;
    if (m_runs.last().charFormat != quint32(charFormat)) {
        // A run that never got a character is taken over rather than left empty.
        if (m_runs.last().start == quint32(m_text.size()))
            m_runs.last().charFormat = quint32(charFormat);
        else
            m_runs.append({quint32(m_text.size()), quint32(charFormat)});
    }
    m_text.append(text);
}

void HelpText::setParagraphFormat(int blockFormat)
{
    m_paragraphs.last().blockFormat = quint32(blockFormat);
}

void HelpText::endParagraph()
{
    m_paragraphs.append({quint32(m_text.size()), 0});
}

HelpText HelpText::fromPlainText(QString text)
{
    HelpText result;
    result.m_paragraphs.reserve(1 + text.count(u'\n'));
    // The line feeds are squeezed out in place; each one starts a paragraph.
    qsizetype kept = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'\n')
            result.m_paragraphs.append({quint32(kept), 0});
        else
            text[kept++] = c;
    }
    text.truncate(kept);
    text.squeeze();
    result.m_text = std::move(text);
    return result;
}

qsizetype HelpText::paragraphEnd(qsizetype paragraph) const
{
    return paragraph + 1 < m_paragraphs.size() ? m_paragraphs[paragraph + 1].start : m_text.size();
}

qsizetype HelpText::pieceEnd(qsizetype from, qsizetype paragraphEnd) const
{
    if (paragraphEnd - from <= kMaxBlockLength)
        return paragraphEnd;
    qsizetype bound = from + kMaxBlockLength;
    for (qsizetype i = bound - 1; i > bound - kBreakSearch; --i) {
        if (m_text.at(i) == u' ' || m_text.at(i) == u'\t')
            return i + 1;
    }
    // No space near: break anywhere, but not between the halves of a surrogate pair.
    if (m_text.at(bound - 1).isHighSurrogate())
        --bound;
    return bound;
}

qsizetype HelpText::runAt(qsizetype character) const
{
    const auto after = std::upper_bound(m_runs.cbegin(), m_runs.cend(), character,
        [](qsizetype position, const Run &run) { return position < qsizetype(run.start); });
    return std::max<qsizetype>(after - m_runs.cbegin() - 1, 0);
}

void HelpText::insertRuns(QTextCursor &cursor, qsizetype from, qsizetype to) const
{
    for (qsizetype run = runAt(from); from < to; ++run) {
        const qsizetype runEnd = run + 1 < m_runs.size() ? m_runs[run + 1].start : m_text.size();
        const qsizetype segmentEnd = std::min(runEnd, to);
        if (segmentEnd > from) {
            cursor.insertText(
                m_text.sliced(from, segmentEnd - from), m_charFormats[m_runs[run].charFormat]);
        }
        from = segmentEnd;
    }
}

HelpText::Position HelpText::writeTo(QTextDocument &document, Position from, Limits limits) const
{
    QTextCursor cursor(&document);
    cursor.movePosition(QTextCursor::End);
    // One change for the document's layout to follow, however many blocks arrive.
    cursor.beginEditBlock();
    bool fillFirstBlock = from == Position();
    qsizetype blocks = 0;
    qsizetype characters = 0;
    while (from.paragraph < m_paragraphs.size() && blocks < limits.blocks
        && characters < limits.characters) {
        const Paragraph &paragraph = m_paragraphs[from.paragraph];
        const qsizetype end = paragraphEnd(from.paragraph);
        QTextBlockFormat blockFormat = m_blockFormats[paragraph.blockFormat];
        if (from.character > qsizetype(paragraph.start)) {
            // The rest of a long paragraph goes on where the last piece stopped.
            blockFormat.setTextIndent(0);
            blockFormat.setTopMargin(0);
        }
        // An empty block takes its height from this format.
        const QTextCharFormat &charFormat = m_charFormats[m_runs[runAt(from.character)].charFormat];
        if (fillFirstBlock) {
            cursor.setBlockFormat(blockFormat);
            cursor.setBlockCharFormat(charFormat);
            fillFirstBlock = false;
        } else {
            cursor.insertBlock(blockFormat, charFormat);
        }
        const qsizetype stop = pieceEnd(from.character, end);
        insertRuns(cursor, from.character, stop);
        ++blocks;
        characters += stop - from.character + 1;
        from.character = stop;
        if (stop == end)
            ++from.paragraph;
    }
    cursor.endEditBlock();
    return from;
}

void HelpText::writeAllTo(QTextDocument &document) const
{
    document.clear();
    constexpr qsizetype kAll = std::numeric_limits<qsizetype>::max();
    writeTo(document, {}, {kAll, kAll});
}
