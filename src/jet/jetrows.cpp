// SPDX-License-Identifier: GPL-3.0-or-later

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
constexpr qsizetype kFreeSpaceOffset = 2;
constexpr qsizetype kOwnerOffset = 4;
constexpr qsizetype kRowCountOffset = 12;
constexpr qsizetype kRowOffsetsStart = 14;
constexpr unsigned kRowOffsetMask = 0x1FFF;
constexpr unsigned kDeletedRow = 0x8000;
constexpr unsigned kOverflowRow = 0x4000;
constexpr char kLongValueTag[] = {'L', 'V', 'A', 'L'};

// The table definition: its header, then one entry per index, per column, then the
// column names. A definition longer than a page goes on after the next page's header.
constexpr qsizetype kNextDefinitionPageOffset = 4;
constexpr qsizetype kContinuationHeaderSize = 8;
constexpr qsizetype kTableRowCountOffset = 16;
constexpr qsizetype kMaxColumnsOffset = 41;
constexpr qsizetype kVarColumnsOffset = 43;
constexpr qsizetype kColumnCountOffset = 45;
constexpr qsizetype kRealIndexCountOffset = 51;
constexpr qsizetype kUsageMapOffset = 55;
constexpr qsizetype kIndexEntriesStart = 63;
constexpr qsizetype kIndexEntrySize = 12;
constexpr qsizetype kColumnEntrySize = 25;
constexpr qsizetype kColumnTypeAt = 0;
constexpr qsizetype kColumnNumberAt = 5;
constexpr qsizetype kColumnVarIndexAt = 7;
constexpr qsizetype kColumnFlagsAt = 15;
constexpr qsizetype kColumnExtendedFlagsAt = 16;
constexpr qsizetype kColumnFixedOffsetAt = 21;
constexpr qsizetype kColumnSizeAt = 23;
constexpr unsigned kFixedColumnFlag = 0x01;
constexpr unsigned kAutoNumberFlag = 0x04;
// ACE's calculated columns keep their result behind a header of their own.
constexpr unsigned kCalculatedColumnFlags = 0xC0;

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
    return u16(page.data() + kRowOffsetsStart + 2 * qsizetype(row));
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
    if (start < kRowOffsetsStart + 2 * qsizetype(count) || start >= end || end > kPageSize)
        throw DamagedFile("a row lies outside the free part of its page");
    return {start, end, entry & (kDeletedRow | kOverflowRow)};
}

bool isLongValuePage(QByteArrayView page)
{
    return page[0] == char(kDataPage)
        && std::memcmp(page.data() + kOwnerOffset, kLongValueTag, sizeof kLongValueTag) == 0;
}

bool isDataPageOf(QByteArrayView page, std::uint32_t definitionPage)
{
    return page[0] == char(kDataPage) && u32(page.data() + kOwnerOffset) == definitionPage;
}

// Jet keeps each data page's free space, which is exactly the gap between the row
// offsets and the lowest row (deleted rows keep their bytes until the file is
// compacted). A row count or a row offset changed alone no longer adds up.
void checkFreeSpace(QByteArrayView page)
{
    const int count = rowCountOf(page);
    qsizetype lowest = kPageSize;
    for (int row = 0; row < count; ++row)
        lowest = std::min<qsizetype>(lowest, rowEntry(page, row) & kRowOffsetMask);
    if (u16(page.data() + kFreeSpaceOffset) != lowest - (kRowOffsetsStart + 2 * qsizetype(count)))
        throw DamagedFile("a data page's free space disagrees with its rows");
}

Storage storageOf(int type)
{
    switch (type) {
    case columntype::kBoolean:
        return Storage::Boolean;
    case columntype::kByte:
        return Storage::Byte;
    case columntype::kInt16:
        return Storage::Int16;
    case columntype::kInt32:
        return Storage::Int32;
    case columntype::kBigInt:
        return Storage::Int64;
    case columntype::kFloat32:
        return Storage::Float32;
    case columntype::kFloat64:
        return Storage::Float64;
    case columntype::kCurrency:
        return Storage::Currency;
    case columntype::kDateTime:
        return Storage::DateTime;
    case columntype::kText:
        return Storage::Text;
    case columntype::kMemo:
        return Storage::Memo;
    case columntype::kOle:
        return Storage::LongBinary;
    default:
        return Storage::Bytes;
    }
}

// The size a fixed value of this kind has; -1 where the definition's own size rules.
int fixedSizeOf(Storage storage)
{
    switch (storage) {
    case Storage::Boolean:
        return 0;
    case Storage::Byte:
        return 1;
    case Storage::Int16:
        return 2;
    case Storage::Int32:
    case Storage::Float32:
        return 4;
    case Storage::Int64:
    case Storage::Float64:
    case Storage::Currency:
    case Storage::DateTime:
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
        // Windows-1254 leaves these bytes undefined; the C1 controls they would stand
        // for are characters the code page cannot hold.
        for (const char32_t control : {0x81, 0x8D, 0x8E, 0x8F, 0x90, 0x9D, 0x9E})
            (*bytes)[control] = '?';
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

// Decodes into `text`, whose room is reused: a table's rows decode into the same few
// buffers instead of allocating a text per value. `units` counts UCS-2 units, which is
// what a text column's size limits. False when the bytes cannot be a text; `text` then
// holds no meaning.
bool decodeInto(QByteArrayView stored, QByteArray &text, qsizetype &units)
{
    const auto *bytes = reinterpret_cast<const unsigned char *>(stored.data());
    const qsizetype size = stored.size();
    units = 0;
    if (size == 0) {
        text = QByteArray();
        return true;
    }
    if (size >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
        // Compressed: runs of one byte per character and runs of UCS-2, each ended by a
        // zero byte, starting with the one-byte kind.
        text.resize(size - 2);
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
                return false;
            }
            oneByte = !oneByte;
            at = end + 1;
        }
        text.truncate(out - text.data());
        return true;
    }
    if (size % 2 != 0)
        return false;
    text.resize(size / 2);
    char *out = text.data();
    if (!decodeUnits(bytes, size / 2, out, units))
        return false;
    text.truncate(out - text.data());
    return true;
}

// The definition's bytes as one run: the first page whole, each further page after its
// header. Every page is visited once, so a chain that loops ends.
QByteArray definitionBytes(QByteArrayView file, std::uint32_t first)
{
    const qsizetype pageCount = file.size() / kPageSize;
    std::vector<bool> visited(size_t(pageCount), false);
    QByteArray bytes;
    for (std::uint32_t number = first; number != 0;) {
        if (qsizetype(number) >= pageCount)
            throw DamagedFile("a table definition goes on outside the file", first);
        if (visited[number])
            throw DamagedFile("a table definition's pages run in a circle", first);
        visited[number] = true;
        const QByteArrayView page = file.sliced(qsizetype(number) * kPageSize, kPageSize);
        if (page[0] != char(kDefinitionPage))
            throw DamagedFile("the table definition is not on a definition page", number);
        bytes.append(bytes.isEmpty() ? page : page.sliced(kContinuationHeaderSize));
        number = u32(page.data() + kNextDefinitionPageOffset);
    }
    return bytes;
}

} // namespace

std::optional<QByteArray> decodeText(QByteArrayView stored)
{
    qsizetype units = 0;
    QByteArray text;
    if (!decodeInto(stored, text, units))
        return std::nullopt;
    return text;
}

std::optional<QString> decodeName(QByteArrayView stored)
{
    const auto *bytes = reinterpret_cast<const unsigned char *>(stored.data());
    const qsizetype size = stored.size();
    QString name;
    if (size >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
        bool oneByte = true;
        for (qsizetype at = 2; at < size;) {
            const auto *zero
                = static_cast<const unsigned char *>(std::memchr(bytes + at, 0, size_t(size - at)));
            const qsizetype end = zero ? zero - bytes : size;
            if (oneByte) {
                for (qsizetype i = at; i < end; ++i)
                    name.append(QChar(char16_t(bytes[i])));
            } else if ((end - at) % 2 != 0) {
                return std::nullopt;
            } else {
                for (qsizetype i = at; i < end; i += 2)
                    name.append(QChar(char16_t(bytes[i] | (bytes[i + 1] << 8))));
            }
            oneByte = !oneByte;
            at = end + 1;
        }
    } else {
        if (size % 2 != 0)
            return std::nullopt;
        for (qsizetype i = 0; i < size; i += 2)
            name.append(QChar(char16_t(bytes[i] | (bytes[i + 1] << 8))));
    }
    if (!name.isValidUtf16())
        return std::nullopt;
    return name;
}

TableDefinition readDefinition(QByteArrayView file, std::uint32_t page)
{
    if (file.size() % kPageSize != 0)
        throw DamagedFile("the file is not made of whole pages");
    if (page == 0 || qsizetype(page) >= file.size() / kPageSize)
        throw DamagedFile("a table definition lies outside the file", page);
    const QByteArray bytes = definitionBytes(file, page);
    const char *at = bytes.constData();
    const auto fits = [&bytes](qsizetype start, qsizetype length) {
        return start >= 0 && length >= 0 && start <= bytes.size() && length <= bytes.size() - start;
    };
    if (!fits(0, kIndexEntriesStart))
        throw DamagedFile("a table definition is cut short", page);

    TableDefinition definition;
    definition.page = page;
    definition.storedRowCount = u32(at + kTableRowCountOffset);
    definition.maxColumns = u16(at + kMaxColumnsOffset);
    definition.varColumns = u16(at + kVarColumnsOffset);
    definition.usageMap = u32(at + kUsageMapOffset);
    const int columnCount = u16(at + kColumnCountOffset);
    const std::uint32_t realIndexes = u32(at + kRealIndexCountOffset);
    if (realIndexes > std::uint32_t(bytes.size() / kIndexEntrySize))
        throw DamagedFile("a table definition counts more indexes than it holds", page);
    qsizetype cursor = kIndexEntriesStart + kIndexEntrySize * qsizetype(realIndexes);
    if (!fits(cursor, kColumnEntrySize * qsizetype(columnCount)))
        throw DamagedFile("a table definition counts more columns than it holds", page);

    std::vector<ColumnLayout> &columns = definition.columns;
    for (int i = 0; i < columnCount; ++i, cursor += kColumnEntrySize) {
        const char *entry = at + cursor;
        ColumnLayout column;
        column.type = static_cast<unsigned char>(entry[kColumnTypeAt]);
        const unsigned extendedFlags = static_cast<unsigned char>(entry[kColumnExtendedFlagsAt]);
        column.storage = (extendedFlags & kCalculatedColumnFlags) == kCalculatedColumnFlags
            ? Storage::Bytes
            : storageOf(column.type);
        column.nullBit = u16(entry + kColumnNumberAt);
        column.varIndex = u16(entry + kColumnVarIndexAt);
        const unsigned flags = static_cast<unsigned char>(entry[kColumnFlagsAt]);
        column.fixed = (flags & kFixedColumnFlag) != 0;
        column.autoIncrement = (flags & kAutoNumberFlag) != 0;
        column.fixedOffset = u16(entry + kColumnFixedOffsetAt);
        column.size = column.storage == Storage::Boolean ? 0 : u16(entry + kColumnSizeAt);
        columns.push_back(std::move(column));
    }
    for (ColumnLayout &column : columns) {
        if (!fits(cursor, 2))
            throw DamagedFile("a table definition's column names are cut short", page);
        const qsizetype length = u16(at + cursor);
        cursor += 2;
        if (!fits(cursor, length))
            throw DamagedFile("a table definition's column names are cut short", page);
        std::optional<QString> name = decodeName(QByteArrayView(at + cursor, length));
        if (!name || name->isEmpty())
            throw DamagedFile("a column's name is not valid text", page);
        column.name = *std::move(name);
        cursor += length;
    }

    // The column definitions must describe rows that can exist: each column its own
    // null bit and variable slot, fixed values of the size their kind has, apart from
    // each other and inside a page. Deleted columns keep their numbers and slots, so
    // the definition's counts may exceed the live columns, never the other way.
    int liveVarColumns = 0;
    std::vector<int> nullBits;
    std::vector<int> varSlots;
    std::vector<std::pair<int, int>> fixedRanges;
    for (const ColumnLayout &column : columns) {
        nullBits.push_back(column.nullBit);
        if (column.nullBit >= definition.maxColumns)
            throw DamagedFile("a column's number lies beyond every row", page);
        const int expected = fixedSizeOf(column.storage);
        if (column.fixed) {
            if ((expected >= 0 && column.size != expected) || column.storage == Storage::Memo
                || column.storage == Storage::LongBinary
                || column.fixedOffset + column.size > kPageSize)
                throw DamagedFile("a fixed column's definition does not fit its kind", page);
            if (column.size > 0)
                fixedRanges.emplace_back(column.fixedOffset, column.fixedOffset + column.size);
        } else {
            // Jet's own tables keep some numbers in variable slots; the value's size is
            // checked as each row is read.
            if (column.varIndex >= definition.varColumns)
                throw DamagedFile("a column's variable slot lies beyond every row", page);
            varSlots.push_back(column.varIndex);
            ++liveVarColumns;
        }
    }
    if (liveVarColumns > definition.varColumns || columnCount > definition.maxColumns
        || hasDuplicates(nullBits) || hasDuplicates(varSlots))
        throw DamagedFile("the column definitions contradict each other", page);
    std::sort(fixedRanges.begin(), fixedRanges.end());
    for (size_t i = 1; i < fixedRanges.size(); ++i) {
        if (fixedRanges[i].first < fixedRanges[i - 1].second)
            throw DamagedFile("two fixed columns share bytes", page);
    }
    // Rows list their values by column number, as every other reader shows them.
    std::stable_sort(columns.begin(), columns.end(),
        [](const ColumnLayout &a, const ColumnLayout &b) { return a.nullBit < b.nullBit; });
    return definition;
}

TableReader::TableReader(QByteArrayView file, TableDefinition definition)
    : m_file(file)
    , m_definition(std::move(definition))
{
    if (m_file.size() % kPageSize != 0)
        throw DamagedFile("the file is not made of whole pages");
    const std::uint32_t mapPointer = m_definition.usageMap;
    const QByteArrayView mapPage = page(mapPointer >> 8);
    if (mapPage[0] != char(kDataPage))
        throw DamagedFile("the usage map is not on a data page", mapPointer >> 8);
    try {
        const RowSpan mapRow = rowSpan(mapPage, int(mapPointer & 0xFF));
        readUsageMap(mapPage.sliced(mapRow.start, mapRow.end - mapRow.start));
    } catch (const DamagedFile &damage) {
        throw damage.placedAt(mapPointer >> 8, int(mapPointer & 0xFF));
    }
    checkNoPageLeftOut();
    m_values.resize(columns().size());
    m_texts.resize(columns().size());
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
    if (!isDataPageOf(data, m_definition.page))
        throw DamagedFile("the usage map lists a page that holds no rows of the table", number);
    try {
        checkFreeSpace(data);
    } catch (const DamagedFile &damage) {
        throw damage.placedAt(number, -1);
    }
    m_dataPages.push_back(number);
}

// Each data page names its table, so the pages and the usage map check each other: a
// page of the table's rows that the map leaves out would silently drop them.
void TableReader::checkNoPageLeftOut() const
{
    std::vector<std::uint32_t> listed = m_dataPages;
    std::sort(listed.begin(), listed.end());
    const qsizetype pageCount = m_file.size() / kPageSize;
    for (qsizetype number = 1; number < pageCount; ++number) {
        const QByteArrayView data = m_file.sliced(number * kPageSize, kPageSize);
        if (!isDataPageOf(data, m_definition.page)
            || std::binary_search(listed.begin(), listed.end(), std::uint32_t(number)))
            continue;
        // A page the table gave up keeps its owner; only rows still on it are lost.
        const int count = rowCountOf(data);
        for (int row = 0; row < count; ++row) {
            if (!(rowEntry(data, row) & kDeletedRow))
                throw DamagedFile("a page of the table's rows is missing from its usage map",
                    std::uint32_t(number), row);
        }
    }
}

// Rows are read in the order they are stored. A row that grew past its page leaves a
// pointer in its old place and is read at its new one, as other Jet readers list it;
// each pointer must lead to a moved row of the table, and each moved row be pointed to
// exactly once.
bool TableReader::advance()
{
    while (m_pageIndex < m_dataPages.size()) {
        const std::uint32_t pageNumber = m_dataPages[m_pageIndex];
        const QByteArrayView data = page(pageNumber);
        const int count = rowCountOf(data);
        while (++m_rowOnPage < count) {
            const unsigned flags = rowEntry(data, m_rowOnPage) & (kDeletedRow | kOverflowRow);
            if (flags == (kDeletedRow | kOverflowRow))
                continue;
            const RowSpan span = rowSpan(data, m_rowOnPage);
            if (flags == kOverflowRow) {
                if (span.end - span.start < 4)
                    throw DamagedFile("a moved row's pointer is cut short");
                const std::uint32_t pointer = u32(data.data() + span.start);
                const QByteArrayView target = page(pointer >> 8);
                if (!isDataPageOf(target, m_definition.page))
                    throw DamagedFile("a moved row points outside the table");
                if (rowSpan(target, int(pointer & 0xFF)).flags != kDeletedRow)
                    throw DamagedFile("a moved row's pointer leads to no moved row");
                m_overflowPointers.push_back(pointer);
                continue;
            }
            if (flags == kDeletedRow)
                m_movedRows.push_back((pageNumber << 8) | std::uint32_t(m_rowOnPage));
            crackRow(qsizetype(pageNumber) * kPageSize, span.start, span.end);
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
    if (rowColumns == 0 || rowColumns > m_definition.maxColumns)
        throw DamagedFile("a row's column count disagrees with the table definition");
    const qsizetype maskSize = (rowColumns + 7) / 8;
    if (2 + maskSize > size)
        throw DamagedFile("a row is too short for its null mask");
    const auto *mask = reinterpret_cast<const unsigned char *>(row + size - maskSize);

    // Layout from the end of the row: null mask, the count of variable values, their
    // offsets in reverse order and, last of them, where the variable data ends. Jet may
    // leave a few zero bytes between that end and the offsets.
    int varCount = 0;
    qsizetype fixedEnd = size - maskSize;
    std::array<qsizetype, 257> offsets {};
    if (m_definition.varColumns > 0) {
        if (2 + maskSize + 4 > size)
            throw DamagedFile("a row is too short for its offset table");
        varCount = u16(row + size - maskSize - 2);
        const qsizetype tableStart = size - maskSize - 2 - 2 * (qsizetype(varCount) + 1);
        if (varCount > rowColumns || varCount >= int(offsets.size()) || tableStart < 2)
            throw DamagedFile("a row's variable column count disagrees with its size");
        for (int i = 0; i <= varCount; ++i) {
            offsets[size_t(i)] = u16(row + size - maskSize - 4 - 2 * qsizetype(i));
            if (offsets[size_t(i)] < (i == 0 ? 2 : offsets[size_t(i) - 1]))
                throw DamagedFile("a row's variable values overlap");
        }
        const qsizetype dataEnd = offsets[size_t(varCount)];
        if (dataEnd > tableStart
            || std::any_of(row + dataEnd, row + tableStart, [](char byte) { return byte != 0; }))
            throw DamagedFile("a row's variable data does not end at its offset table");
        fixedEnd = offsets[0];
    }

    // A row holds the columns the table had when it was written; a column added later
    // has a higher number and neither a fixed place nor a variable slot in it.
    for (size_t c = 0; c < m_values.size(); ++c) {
        const ColumnLayout &column = columns()[c];
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

void TableReader::decodeMemo(const Value &value, QByteArray &text)
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
    qsizetype units = 0;
    if (!decodeInto(stored, text, units))
        throw DamagedFile("a memo's text is not valid text");
}

bool TableReader::next()
{
    const auto here = [this] {
        return m_pageIndex < m_dataPages.size() ? m_dataPages[m_pageIndex] : m_definition.page;
    };
    try {
        if (!advance()) {
            if (hasDuplicates(m_autoNumbers))
                throw DamagedFile("a row is read twice: its autonumber repeats");
            if (hasDuplicates(m_longValueRows))
                throw DamagedFile("a long value belongs to two memos");
            std::sort(m_overflowPointers.begin(), m_overflowPointers.end());
            std::sort(m_movedRows.begin(), m_movedRows.end());
            if (m_overflowPointers != m_movedRows)
                throw DamagedFile("the moved rows and the pointers to them disagree");
            return false;
        }
        for (size_t c = 0; c < m_values.size(); ++c) {
            const ColumnLayout &column = columns()[c];
            const Value &value = m_values[c];
            QByteArray &text = m_texts[c];
            const bool isText = column.storage == Storage::Text || column.storage == Storage::Memo;
            if ((value.null || !isText) && !text.isNull())
                text = QByteArray();
            if (value.null) {
                // Jet numbers every row it writes.
                if (column.autoIncrement)
                    throw DamagedFile("a row has no autonumber");
                continue;
            }
            if (column.storage == Storage::Text) {
                qsizetype units = 0;
                if (!decodeInto(m_file.sliced(value.start, value.length), text, units)
                    || (!column.fixed && 2 * units > column.size))
                    throw DamagedFile("a text is not valid for its column");
            } else if (column.storage == Storage::Memo) {
                decodeMemo(value, text);
            } else if (const int size = fixedSizeOf(column.storage);
                       size > 0 && value.length != size) {
                throw DamagedFile("a number's bytes do not fit its kind");
            } else if (column.autoIncrement && column.storage == Storage::Int32) {
                m_autoNumbers.push_back(
                    qFromLittleEndian<std::int32_t>(m_file.data() + value.start));
            }
        }
    } catch (const DamagedFile &damage) {
        throw damage.placedAt(here(), m_rowOnPage);
    }
    return true;
}

QByteArrayView TableReader::storedBytes(int column) const
{
    const Value &value = m_values[size_t(column)];
    return value.null ? QByteArrayView() : m_file.sliced(value.start, value.length);
}

std::optional<double> TableReader::number(int column) const
{
    const Value &value = m_values[size_t(column)];
    if (value.null)
        return std::nullopt;
    const char *at = m_file.data() + value.start;
    switch (columns()[size_t(column)].storage) {
    case Storage::Float64:
    case Storage::DateTime:
        return qFromLittleEndian<double>(at);
    case Storage::Float32:
        return double(qFromLittleEndian<float>(at));
    case Storage::Int64:
        return double(qFromLittleEndian<std::int64_t>(at));
    case Storage::Currency:
        return double(qFromLittleEndian<std::int64_t>(at)) / 10000.0;
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
