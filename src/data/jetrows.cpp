#include "jetrows.h"

#include "cp1254.h"

#include <QtEndian>

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>

namespace jetrows {

namespace {

constexpr unsigned char kDataPage = 0x01;
constexpr unsigned char kDefinitionPage = 0x02;
constexpr unsigned char kUsageMapPage = 0x05;

// Data and long-value pages: a header, then the offset of each row, rows stored from
// the end of the page towards the offsets.
constexpr qsizetype kOwnerOffset = 4;
constexpr qsizetype kRowCountOffset = 12;
constexpr qsizetype kRowOffsetsStart = 14;
constexpr unsigned kRowOffsetMask = 0x1FFF;
constexpr unsigned kDeletedRow = 0x8000;
constexpr unsigned kOverflowRow = 0x4000;
constexpr char kLongValueTag[] = {'L', 'V', 'A', 'L'};

// The table definition's header.
constexpr qsizetype kTableRowCountOffset = 16;
constexpr qsizetype kMaxColumnsOffset = 41;
constexpr qsizetype kVarColumnsOffset = 43;
constexpr qsizetype kColumnCountOffset = 45;
constexpr qsizetype kUsageMapOffset = 55;

// A usage map of the second kind points to pages whose bits, after a 4-byte header,
// cover this many pages each.
constexpr std::uint64_t kPagesPerMapPage = (kPageSize - 4) * 8;

// The 12-byte head of a memo value in its row.
constexpr qsizetype kMemoHeaderSize = 12;
constexpr std::uint32_t kMemoInline = 0x80000000;
constexpr std::uint32_t kMemoSingleRow = 0x40000000;
constexpr std::uint32_t kMemoLengthMask = 0x3FFFFFFF;

std::uint16_t u16(const char *at)
{
    return qFromLittleEndian<std::uint16_t>(at);
}

std::uint32_t u32(const char *at)
{
    return qFromLittleEndian<std::uint32_t>(at);
}

struct RowSpan
{
    qsizetype start;
    qsizetype end;
    unsigned flags;
};

int rowCountOf(QByteArrayView page)
{
    const int count = u16(page.data() + kRowCountOffset);
    if (kRowOffsetsStart + 2 * qsizetype(count) > kPageSize)
        throw DamagedFile("the row offsets run past the end of their page");
    return count;
}

unsigned rowEntry(QByteArrayView page, int row)
{
    return u16(page.data() + kRowOffsetsStart + 2 * row);
}

// Where a row lies on its page: after the row offsets, before the row stored before it.
RowSpan rowSpan(QByteArrayView page, int row)
{
    const int count = rowCountOf(page);
    if (row >= count)
        throw DamagedFile("a row pointer names a row its page does not hold");
    const unsigned entry = rowEntry(page, row);
    const qsizetype start = entry & kRowOffsetMask;
    const qsizetype end = row == 0 ? kPageSize : (rowEntry(page, row - 1) & kRowOffsetMask);
    if (start < kRowOffsetsStart + 2 * count || start >= end || end > kPageSize)
        throw DamagedFile("a row lies outside the free part of its page");
    return {start, end, entry & (kDeletedRow | kOverflowRow)};
}

bool isLongValuePage(QByteArrayView page)
{
    return page[0] == char(kDataPage)
        && std::memcmp(page.data() + kOwnerOffset, kLongValueTag, sizeof kLongValueTag) == 0;
}

int expectedFixedSize(Storage storage)
{
    switch (storage) {
    case Storage::Byte:
        return 1;
    case Storage::Int16:
        return 2;
    case Storage::Int32:
    case Storage::Float32:
        return 4;
    case Storage::Float64:
        return 8;
    default:
        return -1;
    }
}

template<typename T> bool hasDuplicates(std::vector<T> &values)
{
    std::sort(values.begin(), values.end());
    return std::adjacent_find(values.begin(), values.end()) != values.end();
}

// Every UTF-16 unit's Windows-1254 byte, looked up rather than searched for: opening a
// large list converts every character of it.
const std::array<char, 0x10000> &codePageBytes()
{
    static const auto table = [] {
        auto bytes = std::make_unique<std::array<char, 0x10000>>();
        for (char32_t unit = 0; unit < 0x10000; ++unit)
            (*bytes)[unit] = cp1254::fromCodePoint(unit);
        return bytes;
    }();
    return *table;
}

// Writes one UCS-2 run at `out`; false for a lone surrogate or a non-character.
bool decodeUnits(const unsigned char *bytes, qsizetype count, char *&out, qsizetype &units)
{
    const std::array<char, 0x10000> &table = codePageBytes();
    units += count;
    for (qsizetype i = 0; i < count; ++i) {
        const char16_t unit = char16_t(bytes[2 * i] | (bytes[2 * i + 1] << 8));
        if (unit < 0xD800) [[likely]] {
            *out++ = table[unit];
            continue;
        }
        if (unit <= 0xDBFF) {
            if (i + 1 >= count)
                return false;
            const char16_t low = char16_t(bytes[2 * i + 2] | (bytes[2 * i + 3] << 8));
            if (low < 0xDC00 || low > 0xDFFF)
                return false;
            ++i;
            *out++ = '?';
            continue;
        }
        if (unit <= 0xDFFF || unit == 0xFFFE || unit == 0xFFFF)
            return false;
        *out++ = table[unit];
    }
    return true;
}

// `units` counts UCS-2 units, which is what a text column's size limits.
std::optional<QByteArray> decode(QByteArrayView stored, qsizetype &units)
{
    const auto *bytes = reinterpret_cast<const unsigned char *>(stored.data());
    const qsizetype size = stored.size();
    units = 0;
    if (size == 0)
        return QByteArray();
    if (size >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
        // Compressed: runs of one byte per character and runs of UCS-2, each ended by a
        // zero byte, starting with the one-byte kind.
        QByteArray text(size - 2, Qt::Uninitialized);
        char *out = text.data();
        bool oneByte = true;
        qsizetype at = 2;
        while (at < size) {
            const auto *zero
                = static_cast<const unsigned char *>(std::memchr(bytes + at, 0, size_t(size - at)));
            const qsizetype end = zero ? zero - bytes : size;
            if (oneByte) {
                const std::array<char, 0x10000> &table = codePageBytes();
                for (qsizetype i = at; i < end; ++i)
                    *out++ = table[bytes[i]];
                units += end - at;
            } else if ((end - at) % 2 != 0
                || !decodeUnits(bytes + at, (end - at) / 2, out, units)) {
                return std::nullopt;
            }
            oneByte = !oneByte;
            at = end + 1;
        }
        text.truncate(out - text.data());
        return text;
    }
    if (size % 2 != 0)
        return std::nullopt;
    QByteArray text(size / 2, Qt::Uninitialized);
    char *out = text.data();
    if (!decodeUnits(bytes, size / 2, out, units))
        return std::nullopt;
    text.truncate(out - text.data());
    return text;
}

} // namespace

std::optional<QByteArray> decodeText(QByteArrayView stored)
{
    qsizetype units = 0;
    return decode(stored, units);
}

TableReader::TableReader(
    QByteArrayView file, std::uint32_t definitionPage, std::vector<ColumnLayout> columns)
    : m_file(file)
    , m_definitionPage(definitionPage)
    , m_columns(std::move(columns))
{
    if (m_file.size() % kPageSize != 0)
        throw DamagedFile("the file is not made of whole pages");
    const QByteArrayView definition = page(definitionPage);
    if (definition[0] != char(kDefinitionPage))
        throw DamagedFile("the table definition is not on a definition page");
    m_rowCount = u32(definition.data() + kTableRowCountOffset);
    m_maxColumns = u16(definition.data() + kMaxColumnsOffset);
    m_varColumns = u16(definition.data() + kVarColumnsOffset);
    const int columnCount = u16(definition.data() + kColumnCountOffset);

    // The column definitions must describe rows that can exist: each column its own
    // null bit, its own variable slot, fixed values of the size their type has.
    int varColumns = 0;
    std::vector<int> nullBits;
    std::vector<int> varSlots;
    for (const ColumnLayout &column : m_columns) {
        nullBits.push_back(column.nullBit);
        if (column.fixed) {
            const int expected = expectedFixedSize(column.storage);
            if ((expected > 0 && column.size != expected) || column.storage == Storage::Text
                || column.storage == Storage::Memo || column.fixedOffset < 0)
                throw DamagedFile("a fixed column's definition does not fit its type");
        } else {
            if (expectedFixedSize(column.storage) > 0 || column.storage == Storage::Boolean)
                throw DamagedFile("a number column is defined as variable");
            varSlots.push_back(column.varIndex);
            ++varColumns;
        }
    }
    if (columnCount != int(m_columns.size()) || varColumns != m_varColumns
        || m_maxColumns < columnCount || hasDuplicates(nullBits) || hasDuplicates(varSlots))
        throw DamagedFile("the column definitions contradict each other");
    // Deleted columns keep their null bit and variable slot, so both may lie beyond the
    // current columns, but never beyond the most columns a row has had.
    if ((!nullBits.empty() && nullBits.back() >= m_maxColumns)
        || (!varSlots.empty() && varSlots.back() >= m_maxColumns))
        throw DamagedFile("a column's null bit or variable slot lies beyond every row");
    std::vector<std::pair<int, int>> fixedRanges;
    for (const ColumnLayout &column : m_columns) {
        if (column.fixed && column.size > 0)
            fixedRanges.emplace_back(column.fixedOffset, column.fixedOffset + column.size);
    }
    std::sort(fixedRanges.begin(), fixedRanges.end());
    for (size_t i = 1; i < fixedRanges.size(); ++i) {
        if (fixedRanges[i].first < fixedRanges[i - 1].second)
            throw DamagedFile("two fixed columns share bytes");
    }

    const std::uint32_t mapPointer = u32(definition.data() + kUsageMapOffset);
    const QByteArrayView mapPage = page(mapPointer >> 8);
    if (mapPage[0] != char(kDataPage))
        throw DamagedFile("the usage map is not on a data page");
    const RowSpan mapRow = rowSpan(mapPage, int(mapPointer & 0xFF));
    readUsageMap(mapPage.sliced(mapRow.start, mapRow.end - mapRow.start));

    m_values.resize(m_columns.size());
    m_texts.resize(m_columns.size());
}

QByteArrayView TableReader::page(std::uint32_t number) const
{
    if (number == 0 || qsizetype(number) >= m_file.size() / kPageSize)
        throw DamagedFile("a page pointer leads outside the file");
    return m_file.sliced(qsizetype(number) * kPageSize, kPageSize);
}

void TableReader::readUsageMap(QByteArrayView map)
{
    const auto addBits = [this](QByteArrayView bits, std::uint64_t firstPage) {
        for (qsizetype i = 0; i < bits.size(); ++i) {
            const auto byte = static_cast<unsigned char>(bits[i]);
            for (int bit = 0; byte && bit < 8; ++bit) {
                if (byte & (1u << bit)) {
                    const std::uint64_t number = firstPage + std::uint64_t(i) * 8 + unsigned(bit);
                    if (number > 0xFFFFFF)
                        throw DamagedFile("the usage map lists a page no file can hold");
                    addDataPage(std::uint32_t(number));
                }
            }
        }
    };
    if (map.isEmpty())
        throw DamagedFile("the usage map is empty");
    switch (map[0]) {
    case 0:
        if (map.size() < 5)
            throw DamagedFile("the usage map is cut short");
        addBits(map.sliced(5), u32(map.data() + 1));
        break;
    case 1:
        for (qsizetype entry = 0; 1 + 4 * (entry + 1) <= map.size(); ++entry) {
            const std::uint32_t mapPageNumber = u32(map.data() + 1 + 4 * entry);
            if (mapPageNumber == 0)
                continue;
            const QByteArrayView mapPage = page(mapPageNumber);
            if (mapPage[0] != char(kUsageMapPage))
                throw DamagedFile("the usage map points to a page that is no map");
            addBits(mapPage.sliced(4), std::uint64_t(entry) * kPagesPerMapPage);
        }
        break;
    default:
        throw DamagedFile("the usage map is of an unknown kind");
    }
}

void TableReader::addDataPage(std::uint32_t number)
{
    const QByteArrayView data = page(number);
    if (data[0] != char(kDataPage) || u32(data.data() + kOwnerOffset) != m_definitionPage)
        throw DamagedFile("the usage map lists a page that holds no rows of the table");
    rowCountOf(data);
    m_dataPages.push_back(number);
}

bool TableReader::advance()
{
    while (m_pageIndex < m_dataPages.size()) {
        const std::uint32_t pageNumber = m_dataPages[m_pageIndex];
        const QByteArrayView data = page(pageNumber);
        const int count = rowCountOf(data);
        while (++m_rowOnPage < count) {
            // A deleted row, or the new place of a row that grew: read where it is
            // pointed to from, never on its own.
            if (rowEntry(data, m_rowOnPage) & kDeletedRow)
                continue;
            const RowSpan span = rowSpan(data, m_rowOnPage);
            if (!(span.flags & kOverflowRow)) {
                crackRow(qsizetype(pageNumber) * kPageSize, span.start, span.end);
                return true;
            }
            if (span.end - span.start < 4)
                throw DamagedFile("a moved row's pointer is cut short");
            const std::uint32_t pointer = u32(data.data() + span.start);
            const QByteArrayView target = page(pointer >> 8);
            if (target[0] != char(kDataPage)
                || u32(target.data() + kOwnerOffset) != m_definitionPage)
                throw DamagedFile("a moved row points outside the table");
            const RowSpan moved = rowSpan(target, int(pointer & 0xFF));
            if (!(moved.flags & kDeletedRow))
                throw DamagedFile("a moved row's new place is also read as a row of its own");
            m_overflowRows.push_back(pointer);
            crackRow(qsizetype(pointer >> 8) * kPageSize, moved.start, moved.end);
            return true;
        }
        ++m_pageIndex;
        m_rowOnPage = -1;
    }
    return false;
}

void TableReader::crackRow(qsizetype pageStart, qsizetype rowStart, qsizetype rowEnd)
{
    const char *row = m_file.data() + pageStart + rowStart;
    const qsizetype size = rowEnd - rowStart;
    if (size < 3)
        throw DamagedFile("a row is too short to hold its column count");
    const int rowColumns = u16(row);
    if (rowColumns == 0 || rowColumns > m_maxColumns)
        throw DamagedFile("a row's column count disagrees with the table definition");
    const qsizetype maskSize = (rowColumns + 7) / 8;
    const auto *mask = reinterpret_cast<const unsigned char *>(row + size - maskSize);

    // Layout from the end of the row: null mask, the count of variable values, their
    // offsets in reverse order and, last of them, where the variable data ends.
    int varCount = 0;
    qsizetype fixedEnd = size - maskSize;
    std::array<qsizetype, 256> offsets {};
    if (m_varColumns > 0) {
        if (2 + maskSize + 4 > size)
            throw DamagedFile("a row is too short for its offset table");
        varCount = u16(row + size - maskSize - 2);
        const qsizetype tableStart = size - maskSize - 2 - 2 * (qsizetype(varCount) + 1);
        if (varCount > rowColumns || varCount >= int(offsets.size()) || tableStart < 2)
            throw DamagedFile("a row's variable column count disagrees with its size");
        for (int i = 0; i <= varCount; ++i) {
            offsets[size_t(i)] = u16(row + size - maskSize - 4 - 2 * i);
            if (offsets[size_t(i)] < (i == 0 ? 2 : offsets[size_t(i) - 1]))
                throw DamagedFile("a row's variable values overlap");
        }
        // The last offset marks where the variable data ends, which is where the offset
        // table itself begins.
        if (offsets[size_t(varCount)] != tableStart)
            throw DamagedFile("a row's variable data does not end at its offset table");
        fixedEnd = offsets[0];
    }

    // A row holds the columns the table had when it was written; a column added later
    // has a higher null bit and neither a fixed place nor a variable slot in it.
    for (size_t c = 0; c < m_columns.size(); ++c) {
        const ColumnLayout &column = m_columns[c];
        Value &value = m_values[c];
        const bool inRow = column.nullBit < rowColumns;
        const bool set = inRow && (mask[column.nullBit / 8] & (1u << (column.nullBit % 8)));
        value = {};
        if (column.storage == Storage::Boolean) {
            value.null = !inRow;
            value.length = set ? 1 : 0;
            continue;
        }
        if (column.fixed) {
            const qsizetype start = 2 + column.fixedOffset;
            if ((start + column.size <= fixedEnd) != inRow)
                throw DamagedFile("a row's fixed part disagrees with its column count");
            if (inRow)
                value = {!set, pageStart + rowStart + start, column.size};
        } else if ((column.varIndex < varCount) != inRow) {
            throw DamagedFile("a row's variable slots disagree with its column count");
        } else if (inRow) {
            const qsizetype start = offsets[size_t(column.varIndex)];
            const qsizetype length = offsets[size_t(column.varIndex) + 1] - start;
            if (!set && length > 0)
                throw DamagedFile("a value marked null has bytes");
            value = {!set, pageStart + rowStart + start, length};
        }
    }
}

QByteArray TableReader::memoText(const Value &value)
{
    if (value.length < kMemoHeaderSize)
        throw DamagedFile("a memo's head is cut short");
    const char *head = m_file.data() + value.start;
    const std::uint32_t lengthAndFlags = u32(head);
    const std::uint32_t length = lengthAndFlags & kMemoLengthMask;
    const std::uint32_t flags = lengthAndFlags & ~kMemoLengthMask;
    std::uint32_t pointer = u32(head + 4);

    // No memo is longer than the file that holds it; a damaged length must not make the
    // reader reserve gigabytes.
    if (qsizetype(length) > m_file.size())
        throw DamagedFile("a memo claims more bytes than the file holds");

    QByteArrayView stored;
    QByteArray joined;
    const auto longValueRow = [this](std::uint32_t at) {
        const QByteArrayView longPage = page(at >> 8);
        if (!isLongValuePage(longPage))
            throw DamagedFile("a memo points to a page that holds no long values");
        const RowSpan span = rowSpan(longPage, int(at & 0xFF));
        if (span.flags != 0)
            throw DamagedFile("a memo points to a deleted long value");
        m_longValueRows.push_back(at);
        return longPage.sliced(span.start, span.end - span.start);
    };
    if (flags == kMemoInline) {
        stored = QByteArrayView(head + kMemoHeaderSize, value.length - kMemoHeaderSize);
        if (stored.size() != qsizetype(length))
            throw DamagedFile("an inline memo's length disagrees with its bytes");
    } else if (flags == kMemoSingleRow) {
        stored = longValueRow(pointer);
        if (stored.size() != qsizetype(length))
            throw DamagedFile("a memo's length disagrees with its long value");
    } else if (flags == 0) {
        // Spread over pages: each piece starts with the pointer to the next one.
        std::uint32_t remaining = length;
        joined.reserve(qsizetype(length));
        while (remaining > 0) {
            if (pointer == 0)
                throw DamagedFile("a memo ends before its length");
            const QByteArrayView piece = longValueRow(pointer);
            if (piece.size() <= 4 || std::uint32_t(piece.size() - 4) > remaining)
                throw DamagedFile("a memo piece disagrees with the memo's length");
            pointer = u32(piece.data());
            joined.append(piece.sliced(4));
            remaining -= std::uint32_t(piece.size() - 4);
        }
        if (pointer != 0)
            throw DamagedFile("a memo goes on beyond its length");
        stored = joined;
    } else {
        throw DamagedFile("a memo's head has an unknown kind");
    }
    std::optional<QByteArray> text = decodeText(stored);
    if (!text)
        throw DamagedFile("a memo's text is not valid text");
    return *std::move(text);
}

bool TableReader::next()
{
    if (!advance()) {
        if (m_rowsRead != m_rowCount)
            throw DamagedFile("the table holds another number of rows than its definition");
        if (hasDuplicates(m_autoNumbers))
            throw DamagedFile("a row is read twice: its autonumber repeats");
        if (hasDuplicates(m_longValueRows))
            throw DamagedFile("a long value belongs to two memos");
        if (hasDuplicates(m_overflowRows))
            throw DamagedFile("two rows point to the same moved row");
        return false;
    }
    if (++m_rowsRead > m_rowCount)
        throw DamagedFile("the table holds more rows than its definition");

    for (size_t c = 0; c < m_columns.size(); ++c) {
        const ColumnLayout &column = m_columns[c];
        const Value &value = m_values[c];
        QByteArray &text = m_texts[c];
        if (!text.isNull())
            text = QByteArray();
        if (value.null) {
            // Jet numbers every row it writes.
            if (column.autoIncrement)
                throw DamagedFile("a row has no autonumber");
            continue;
        }
        if (column.storage == Storage::Text) {
            qsizetype units = 0;
            std::optional<QByteArray> decoded
                = decode(m_file.sliced(value.start, value.length), units);
            if (!decoded || 2 * units > column.size)
                throw DamagedFile("a text is not valid for its column");
            text = *std::move(decoded);
        } else if (column.storage == Storage::Memo) {
            text = memoText(value);
        } else if (column.autoIncrement && column.storage == Storage::Int32) {
            m_autoNumbers.push_back(qFromLittleEndian<std::int32_t>(m_file.data() + value.start));
        }
    }
    return true;
}

std::optional<double> TableReader::number(int column) const
{
    const Value &value = m_values[size_t(column)];
    if (value.null)
        return std::nullopt;
    const char *at = m_file.data() + value.start;
    switch (m_columns[size_t(column)].storage) {
    case Storage::Float64:
        return qFromLittleEndian<double>(at);
    case Storage::Float32:
        return double(qFromLittleEndian<float>(at));
    case Storage::Int32:
        return double(qFromLittleEndian<std::int32_t>(at));
    case Storage::Int16:
        return double(qFromLittleEndian<std::int16_t>(at));
    case Storage::Byte:
        return double(static_cast<unsigned char>(*at));
    case Storage::Boolean:
        return value.length != 0 ? 1.0 : 0.0;
    default:
        return std::nullopt;
    }
}

} // namespace jetrows
