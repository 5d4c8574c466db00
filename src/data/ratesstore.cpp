// SPDX-License-Identifier: GPL-3.0-or-later

#include "ratesstore.h"

#include "jet/apperror.h"
#include "turkishfold.h"

#include <QCoreApplication>
#include <QSemaphore>
#include <QThreadPool>

#include <algorithm>
#include <array>
#include <atomic>
#include <bit>
#include <cstring>
#include <limits>

namespace {

constexpr qsizetype kNumbersPerRow = qsizetype(RatesStore::Number::Count);
// The numbers after the ID, kept as places in the table of values.
constexpr qsizetype kCodedNumbers = kNumbersPerRow - 1;
constexpr int kAsideShift = 4;
static_assert(kNumbersPerRow + kAsideShift <= 8);
constexpr quint8 kMaxCodes = std::numeric_limits<quint8>::max();

quint64 bitsOf(double value)
{
    return std::bit_cast<quint64>(value);
}
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

// A short text may begin with the whole of an earlier one of its row (codes nest: "1",
// "1.1", "1.1.1", and the full code repeats the last): its length word then says how
// many texts back that one is, and only the rest follows.
constexpr int kEarlierTextBits = 3;
constexpr quint64 kEarlierTextMask = (1u << kEarlierTextBits) - 1;
static_assert(qsizetype(RatesStore::ShortText::Count) <= kEarlierTextMask);

void appendShortText(QByteArray &to, const QByteArrayView *texts, qsizetype index)
{
    const QByteArrayView text = texts[index];
    qsizetype earlier = -1;
    for (qsizetype before = 0; before < index; ++before) {
        const QByteArrayView candidate = texts[before];
        if (!candidate.isEmpty() && text.startsWith(candidate)
            && (earlier < 0 || candidate.size() >= texts[earlier].size()))
            earlier = before;
    }
    const qsizetype prefix = earlier < 0 ? 0 : texts[earlier].size();
    const quint64 back = earlier < 0 ? 0 : quint64(index - earlier);
    appendLength(to, (quint64(text.size() - prefix) << kEarlierTextBits) | back);
    to.append(text.sliced(prefix));
}

void skipShortTexts(const char *&at)
{
    for (qsizetype text = 0; text < qsizetype(RatesStore::ShortText::Count); ++text)
        at += qsizetype(takeLength(at) >> kEarlierTextBits);
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
    const std::array<QByteArrayView, qsizetype(ShortText::Count)> shortTexts = {values.ana_kodu,
        values.alt1_kodu, values.alt2_kodu, values.alt3_kodu, values.tum_kodu, values.not_};

    // The folded description: what fold() makes of the text, with the bytes it drops
    // (leading and trailing blanks, everything from a zero byte on) kept aside.
    const QByteArrayView stored = values.aciklama;
    const QByteArrayView upToZero = turkishfold::untilZero(stored);
    const QByteArrayView middle = turkishfold::trimmed(upToZero);
    const qsizetype lead = middle.data() - stored.data();
    const qsizetype tail = stored.size() - lead - middle.size();

    qsizetype shortBytes = 0;
    for (const QByteArrayView text : shortTexts)
        shortBytes += text.size() + 10;
    checkRoom(m_folded.size(), middle.size());
    checkRoom(m_rowBytes.size(), shortBytes + lead + tail + 30 + middle.size() * 2);

    const qsizetype foldedAt = m_folded.size();
    m_folded.resize(foldedAt + middle.size());
    turkishfold::lowerCaseInto(middle, m_folded.data() + foldedAt);
    const char *folded = m_folded.constData() + foldedAt;

    for (qsizetype text = 0; text < qsizetype(shortTexts.size()); ++text)
        appendShortText(m_rowBytes, shortTexts.data(), text);

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

    char flags = 0;
    for (qsizetype i = 0; i < kNumbersPerRow; ++i)
        appendNumber(Number(i), *numbers[size_t(i)], flags);
    m_flags.append(flags);
    m_foldedStart.append(quint32(m_folded.size()));
    m_rowStart.append(quint32(m_rowBytes.size()));
}

// Called before the row's flags are appended: size() is the row's index.
void RatesStore::appendNumber(Number which, const std::optional<double> &value, char &flags)
{
    const int bit = int(which);
    const double number = value.value_or(0);
    if (!value)
        flags = char(flags | (1 << bit));
    bool kept = true;
    if (which == Number::ID) {
        // A whole number in range, bit for bit (not -0): anything else lies aside.
        const bool whole = number >= std::numeric_limits<qint32>::min()
            && number <= std::numeric_limits<qint32>::max()
            && bitsOf(double(qint32(number))) == bitsOf(number);
        m_wholeIds.append(whole ? qint32(number) : 0);
        kept = whole || !value;
    } else {
        const quint8 code = value ? codeOf(number) : 0;
        m_numberCodes.append(code == kMaxCodes ? 0 : code);
        kept = code != kMaxCodes;
    }
    if (!kept) {
        flags = char(flags | (1 << (bit + kAsideShift)));
        m_numbersAside.emplace_back(qint64(size()) * kNumbersPerRow + bit, number);
    }
}

// The value's place in the table, added when new; kMaxCodes when the table is full.
quint8 RatesStore::codeOf(double value)
{
    if (m_codeOfValue.isEmpty()) {
        // Appending again after squeeze(): the table is looked up from its values.
        for (qsizetype code = 0; code < m_numberValues.size(); ++code)
            m_codeOfValue.insert(bitsOf(m_numberValues[code]), quint8(code));
    }
    const auto known = m_codeOfValue.constFind(bitsOf(value));
    if (known != m_codeOfValue.constEnd())
        return *known;
    if (m_numberValues.size() >= kMaxCodes)
        return kMaxCodes;
    const auto code = quint8(m_numberValues.size());
    m_numberValues.append(value);
    m_codeOfValue.insert(bitsOf(value), code);
    return code;
}

void RatesStore::squeeze()
{
    m_flags.squeeze();
    m_wholeIds.squeeze();
    m_numberCodes.squeeze();
    m_numberValues.squeeze();
    m_codeOfValue = {};
    m_numbersAside.shrink_to_fit();
    m_folded.squeeze();
    m_foldedStart.squeeze();
    m_rowBytes.squeeze();
    m_rowStart.squeeze();
    m_capitals = {};
    countBytes();
}

void RatesStore::countBytes()
{
    // Slices spread over the whole text, so that a list sorted by subject still shows
    // every subject's letters; a quarter of a megabyte is counted in well under a
    // millisecond.
    constexpr qsizetype kSlices = 64;
    constexpr qsizetype kSliceBytes = 4096;
    m_byteCounts = {};
    const auto *text = reinterpret_cast<const unsigned char *>(m_folded.constData());
    const qsizetype size = m_folded.size();
    const auto count = [&](qsizetype begin, qsizetype end) {
        for (qsizetype i = begin; i < end; ++i)
            ++m_byteCounts[text[i]];
    };
    if (size <= kSlices * kSliceBytes) {
        count(0, size);
        return;
    }
    const qsizetype stride = size / kSlices;
    for (qsizetype slice = 0; slice < kSlices; ++slice)
        count(slice * stride, slice * stride + kSliceBytes);
}

turkishfold::Anchors RatesStore::anchorsFor(QByteArrayView foldedTerm) const
{
    const auto countAt
        = [&](qsizetype at) { return m_byteCounts[static_cast<unsigned char>(foldedTerm[at])]; };
    // The three rarest positions, rarest first; ties keep the earlier
    // position. A term of fewer bytes repeats its last.
    std::array<qsizetype, 3> rarest {};
    qsizetype taken = 0;
    for (qsizetype at = 0; at < foldedTerm.size(); ++at) {
        qsizetype place = std::min<qsizetype>(taken, 2);
        if (taken >= 3 && countAt(at) >= countAt(rarest[2]))
            continue;
        while (place > 0 && countAt(at) < countAt(rarest[size_t(place - 1)])) {
            rarest[size_t(place)] = rarest[size_t(place - 1)];
            --place;
        }
        rarest[size_t(place)] = at;
        taken = std::min<qsizetype>(taken + 1, 3);
    }
    for (qsizetype place = taken; place < 3; ++place)
        rarest[size_t(place)] = rarest[size_t(taken - 1)];
    return {rarest[0], rarest[1], rarest[2]};
}

std::optional<double> RatesStore::number(int row, Number which) const
{
    const int bit = int(which);
    const char flags = m_flags[row];
    if (flags & (1 << bit))
        return std::nullopt;
    if (flags & (1 << (bit + kAsideShift))) {
        const qint64 key = qint64(row) * kNumbersPerRow + bit;
        const auto aside = std::lower_bound(m_numbersAside.begin(), m_numbersAside.end(), key,
            [](const std::pair<qint64, double> &entry, qint64 wanted) {
                return entry.first < wanted;
            });
        return aside->second;
    }
    if (which == Number::ID)
        return double(m_wholeIds[row]);
    return m_numberValues[m_numberCodes[row * kCodedNumbers + bit - 1]];
}

QByteArrayView RatesStore::rowBytes(int row) const
{
    const quint32 begin = m_rowStart[row];
    return QByteArrayView(m_rowBytes.constData() + begin, m_rowStart[row + 1] - begin);
}

QByteArray RatesStore::shortText(int row, ShortText which) const
{
    const char *at = rowBytes(row).data();
    std::array<QByteArray, size_t(ShortText::Count)> texts;
    for (size_t text = 0; text <= size_t(which); ++text) {
        const quint64 header = takeLength(at);
        const auto back = size_t(header & kEarlierTextMask);
        const QByteArrayView rest(at, qsizetype(header >> kEarlierTextBits));
        at += rest.size();
        texts[text] = back == 0 ? rest.toByteArray() : QByteArray(texts[text - back]).append(rest);
    }
    return texts[size_t(which)];
}

QByteArray RatesStore::description(int row) const
{
    const QByteArrayView bytes = rowBytes(row);
    const char *at = bytes.data();
    skipShortTexts(at);
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
    const turkishfold::Anchors anchors = anchorsFor(foldedTerm);
    if (to - from < kRowsForTwoThreads)
        return nextContainingOnOneThread(foldedTerm, anchors, from, to);

    // The later half goes to a second thread, a slice at a time so that it stops soon
    // after this thread finds a row of its own, which comes first in any case.
    constexpr int kRowsPerSlice = 16'384;
    const quint32 *starts = m_foldedStart.constData();
    const quint32 middleByte = starts[from] + (starts[to] - starts[from]) / 2;
    const int middle = std::clamp(
        int(std::upper_bound(starts + from, starts + to, middleByte) - starts), from + 1, to - 1);
    std::atomic<bool> stop = false;
    int foundLater = to;
    QSemaphore laterDone;
    const auto searchLater = [&] {
        for (int begin = middle; begin < to && !stop.load(std::memory_order_relaxed);) {
            const int end = std::min(to, begin + kRowsPerSlice);
            const int row = nextContainingOnOneThread(foldedTerm, anchors, begin, end);
            if (row < end) {
                foundLater = row;
                break;
            }
            begin = end;
        }
        laterDone.release();
    };
    const bool twoThreads = QThreadPool::globalInstance()->tryStart(searchLater);
    const int foundEarlier = nextContainingOnOneThread(foldedTerm, anchors, from, middle);
    if (foundEarlier < middle)
        stop = true;
    if (twoThreads)
        laterDone.acquire();
    else if (foundEarlier == middle)
        searchLater();
    return foundEarlier < middle ? foundEarlier : foundLater;
}

int RatesStore::nextContainingOnOneThread(
    QByteArrayView foldedTerm, turkishfold::Anchors anchors, int from, int to) const
{
    const quint32 *starts = m_foldedStart.constData();
    qsizetype searchFrom = starts[from];
    const qsizetype searchTo = starts[to];
    while (searchFrom < searchTo) {
        const qsizetype found = turkishfold::findFolded(
            QByteArrayView(m_folded.constData() + searchFrom, searchTo - searchFrom), foldedTerm,
            anchors);
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
    return m_flags.capacity() + m_wholeIds.capacity() * qsizetype(sizeof(qint32))
        + m_numberCodes.capacity() * qsizetype(sizeof(quint8))
        + m_numberValues.capacity() * qsizetype(sizeof(double))
        + qsizetype(m_numbersAside.capacity() * sizeof(m_numbersAside.front()))
        + m_folded.capacity() + m_foldedStart.capacity() * qsizetype(sizeof(quint32))
        + m_rowBytes.capacity() + m_rowStart.capacity() * qsizetype(sizeof(quint32));
}
