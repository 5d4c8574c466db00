// SPDX-License-Identifier: GPL-3.0-or-later

#include "ratesstore.h"

#include "jet/apperror.h"
#include "turkishfold.h"

#include <QCoreApplication>

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>

namespace {

constexpr qsizetype kNumbersPerRow = qsizetype(RatesStore::Number::Count);
constexpr qsizetype kMaxBlockBytes = std::numeric_limits<quint32>::max();

void appendLength(QByteArray &to, quint64 length)
{
    while (length >= 0x80) {
        to.append(char(0x80 | (length & 0x7F)));
        length >>= 7;
    }
    to.append(char(length));
}

// Reads a length written by appendLength and moves past it.
quint64 takeLength(const char *&at)
{
    quint64 length = 0;
    for (int shift = 0;; shift += 7) {
        const auto byte = static_cast<unsigned char>(*at++);
        length |= quint64(byte & 0x7F) << shift;
        if (!(byte & 0x80))
            return length;
    }
}

QByteArrayView takeText(const char *&at)
{
    const auto length = qsizetype(takeLength(at));
    const QByteArrayView text(at, length);
    at += length;
    return text;
}

// Where two texts of the same length differ, eight bytes at a time: descriptions hold
// few capitals, so most words are passed over whole.
template<typename Found>
void forEachDifference(const char *a, const char *b, qsizetype size, Found found)
{
    qsizetype i = 0;
    for (; i + 8 <= size; i += 8) {
        quint64 left;
        quint64 right;
        std::memcpy(&left, a + i, 8);
        std::memcpy(&right, b + i, 8);
        if (left == right)
            continue;
        for (qsizetype j = i; j < i + 8; ++j) {
            if (a[j] != b[j])
                found(j);
        }
    }
    for (; i < size; ++i) {
        if (a[i] != b[i])
            found(i);
    }
}

void checkRoom(qsizetype used, qsizetype more)
{
    if (more > kMaxBlockBytes - used)
        throw AppError(QCoreApplication::translate(
            "RatesStore", "The table is too large to be held in memory."));
}

} // namespace

void RatesStore::append(const RatesRecordValues &values)
{
    const std::array<const std::optional<double> *, kNumbersPerRow> numbers
        = {&values.ID, &values.omur_yil, &values.oran, &values.teblig};
    const std::array<const QByteArray *, qsizetype(ShortText::Count)> shortTexts
        = {&values.ana_kodu, &values.alt1_kodu, &values.alt2_kodu, &values.alt3_kodu,
            &values.tum_kodu, &values.not_};

    // The folded description: what fold() makes of the text, with the bytes it drops
    // (leading and trailing blanks, everything from a zero byte on) kept aside.
    const QByteArrayView stored = values.aciklama;
    const QByteArrayView upToZero = turkishfold::untilZero(stored);
    const QByteArrayView middle = turkishfold::trimmed(upToZero);
    const qsizetype lead = middle.data() - stored.data();
    const qsizetype tail = stored.size() - lead - middle.size();

    qsizetype shortBytes = 0;
    for (const QByteArray *text : shortTexts)
        shortBytes += text->size() + 10;
    checkRoom(m_folded.size(), middle.size());
    checkRoom(m_rowBytes.size(), shortBytes + lead + tail + 30 + middle.size() * 2);

    const qsizetype foldedAt = m_folded.size();
    m_folded.resize(foldedAt + middle.size());
    turkishfold::lowerCaseInto(middle, m_folded.data() + foldedAt);
    const char *folded = m_folded.constData() + foldedAt;

    for (const QByteArray *text : shortTexts) {
        appendLength(m_rowBytes, quint64(text->size()));
        m_rowBytes.append(*text);
    }

    m_capitals.clear();
    forEachDifference(middle.data(), folded, middle.size(),
        [this](qsizetype at) { m_capitals.push_back(quint32(at)); });
    const bool hasEdges = lead > 0 || tail > 0;
    if (hasEdges || !m_capitals.empty()) {
        appendLength(m_rowBytes, quint64(m_capitals.size()) * 2 + (hasEdges ? 1 : 0));
        if (hasEdges) {
            appendLength(m_rowBytes, quint64(lead));
            m_rowBytes.append(stored.first(lead));
            appendLength(m_rowBytes, quint64(tail));
            m_rowBytes.append(stored.last(tail));
        }
        // Each capital as the distance from the one before, so most take one byte.
        quint32 next = 0;
        for (const quint32 at : m_capitals) {
            appendLength(m_rowBytes, at - next);
            next = at + 1;
        }
    }

    char nullFlags = 0;
    for (qsizetype i = 0; i < kNumbersPerRow; ++i) {
        m_numbers.append(numbers[size_t(i)]->value_or(0));
        if (!numbers[size_t(i)]->has_value())
            nullFlags = char(nullFlags | (1 << i));
    }
    m_nullFlags.append(nullFlags);
    m_foldedStart.append(quint32(m_folded.size()));
    m_rowStart.append(quint32(m_rowBytes.size()));
}

void RatesStore::squeeze()
{
    m_numbers.squeeze();
    m_nullFlags.squeeze();
    m_folded.squeeze();
    m_foldedStart.squeeze();
    m_rowBytes.squeeze();
    m_rowStart.squeeze();
    m_capitals = {};
}

std::optional<double> RatesStore::number(int row, Number which) const
{
    if (m_nullFlags[row] & (1 << int(which)))
        return std::nullopt;
    return m_numbers[row * kNumbersPerRow + qsizetype(which)];
}

QByteArrayView RatesStore::rowBytes(int row) const
{
    const quint32 begin = m_rowStart[row];
    return QByteArrayView(m_rowBytes.constData() + begin, m_rowStart[row + 1] - begin);
}

QByteArray RatesStore::shortText(int row, ShortText which) const
{
    const char *at = rowBytes(row).data();
    for (int skipped = 0; skipped < int(which); ++skipped)
        takeText(at);
    return takeText(at).toByteArray();
}

QByteArray RatesStore::description(int row) const
{
    const QByteArrayView bytes = rowBytes(row);
    const char *at = bytes.data();
    for (int skipped = 0; skipped < int(ShortText::Count); ++skipped)
        takeText(at);
    const QByteArrayView folded = foldedDescription(row);
    if (at == bytes.data() + bytes.size())
        return folded.toByteArray();

    const quint64 header = takeLength(at);
    QByteArrayView lead;
    QByteArrayView tail;
    if (header & 1) {
        lead = takeText(at);
        tail = takeText(at);
    }
    QByteArray stored;
    stored.reserve(lead.size() + folded.size() + tail.size());
    stored.append(lead).append(folded).append(tail);
    char *middle = stored.data() + lead.size();
    qsizetype next = 0;
    for (quint64 capital = 0; capital < header / 2; ++capital) {
        const qsizetype position = next + qsizetype(takeLength(at));
        middle[position] = turkishfold::capitalOf(middle[position]);
        next = position + 1;
    }
    return stored;
}

int RatesStore::nextContaining(QByteArrayView foldedTerm, int from, int to) const
{
    if (from >= to || foldedTerm.isEmpty())
        return to;
    const quint32 *starts = m_foldedStart.constData();
    qsizetype searchFrom = starts[from];
    const qsizetype searchTo = starts[to];
    while (searchFrom < searchTo) {
        const qsizetype found = turkishfold::findFolded(
            QByteArrayView(m_folded.constData() + searchFrom, searchTo - searchFrom), foldedTerm);
        if (found < 0)
            return to;
        const qsizetype at = searchFrom + found;
        // The row whose description holds the start of the match.
        const int row
            = int(std::upper_bound(starts + from + 1, starts + to + 1, quint32(at)) - starts) - 1;
        if (at + foldedTerm.size() <= qsizetype(starts[row + 1]))
            return row;
        // The match runs on into the next description, so any later start in this row
        // does too: the row has none of its own.
        from = row + 1;
        searchFrom = starts[from];
    }
    return to;
}

qsizetype RatesStore::memoryBytes() const
{
    return m_numbers.capacity() * qsizetype(sizeof(double)) + m_nullFlags.capacity()
        + m_folded.capacity() + m_foldedStart.capacity() * qsizetype(sizeof(quint32))
        + m_rowBytes.capacity() + m_rowStart.capacity() * qsizetype(sizeof(quint32));
}
