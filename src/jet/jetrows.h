// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <cstdint>
#include <exception>
#include <optional>
#include <vector>

// Reads table definitions and rows of a Jet 4 or ACE file straight from the file's
// bytes. The format has no checksums, so every structure a row passes through is
// checked against the others before the row is handed out: a file that contradicts
// itself gives DamagedFile, never a shorter, longer or altered list. What Jet itself
// writes and reads (deleted columns, padding, fixed-length text, a stale row count in
// the definition) is no contradiction.
namespace jetrows {

inline constexpr qsizetype kPageSize = 4096;

// The bytes contradict the format. The reason names the structure and, where known, the
// page and the row on it, for developers and the log; the user is told that the
// database is damaged.
class DamagedFile : public std::exception
{
public:
    explicit DamagedFile(const char *reason, std::uint32_t page = 0, int row = -1)
        : m_reason(reason)
        , m_page(page)
        , m_row(row)
    { }
    const char *what() const noexcept override { return m_reason; }
    std::uint32_t page() const noexcept { return m_page; }
    int row() const noexcept { return m_row; }

    // The same damage, placed where it was found when the thrower could not tell.
    DamagedFile placedAt(std::uint32_t page, int row) const
    {
        return m_page != 0 ? *this : DamagedFile(m_reason, page, row);
    }

private:
    const char *m_reason;
    std::uint32_t m_page;
    int m_row;
};

// Jet's own codes for the kinds of column.
namespace columntype {
inline constexpr int kBoolean = 0x01;
inline constexpr int kByte = 0x02;
inline constexpr int kInt16 = 0x03;
inline constexpr int kInt32 = 0x04;
inline constexpr int kCurrency = 0x05;
inline constexpr int kFloat32 = 0x06;
inline constexpr int kFloat64 = 0x07;
inline constexpr int kDateTime = 0x08;
inline constexpr int kBinary = 0x09;
inline constexpr int kText = 0x0A;
inline constexpr int kOle = 0x0B;
inline constexpr int kMemo = 0x0C;
inline constexpr int kGuid = 0x0F;
inline constexpr int kNumeric = 0x10;
inline constexpr int kComplex = 0x12; // ACE: attachments and multi-valued fields
inline constexpr int kBigInt = 0x13; // ACE
inline constexpr int kExtendedDateTime = 0x14; // ACE
} // namespace columntype

// How a column's value is stored, as far as reading it needs to know.
enum class Storage {
    Boolean, // in the null mask, no bytes
    Byte,
    Int16,
    Int32,
    Int64,
    Float32,
    Float64,
    Currency,
    DateTime,
    Text,
    Memo, // a long value: inline, or on long-value pages
    LongBinary, // OLE: a long value the program never reads
    Bytes, // any other kind: the value's bytes, not interpreted
};

struct ColumnLayout
{
    QString name;
    int type = 0; // columntype
    Storage storage = Storage::Bytes;
    bool fixed = false;
    int nullBit = 0; // the column's bit in a row's null mask, its number in the table
    int fixedOffset = 0; // fixed columns: where the value starts after the column count
    int varIndex = 0; // variable columns: the slot in the row's offset table
    int size = 0; // fixed columns: bytes of the value; text: the most bytes it may hold
    bool autoIncrement = false;
};

struct TableDefinition
{
    std::uint32_t page = 0;
    // As stored: Jet leaves it stale after an unclean close, so it proves nothing.
    std::uint32_t storedRowCount = 0;
    int maxColumns = 0;
    int varColumns = 0;
    std::uint32_t usageMap = 0; // page << 8 | row of the table's usage map
    std::vector<ColumnLayout> columns; // in the order of their numbers
};

// The checked definition of the table whose definition starts on `page`. Throws
// DamagedFile; never reads outside `file`, however the definition's counts lie.
TableDefinition readDefinition(QByteArrayView file, std::uint32_t page);

class TableReader
{
public:
    // Reads the usage map and checks it against the pages that name the table as
    // their owner. Throws DamagedFile.
    TableReader(QByteArrayView file, TableDefinition definition);

    // The next row, checked and decoded. At the end of the table, checks that no row
    // and no long value was read twice. Throws DamagedFile.
    bool next();

    const TableDefinition &definition() const { return m_definition; }
    const std::vector<ColumnLayout> &columns() const { return m_definition.columns; }
    const std::vector<std::uint32_t> &dataPages() const { return m_dataPages; }

    bool isNull(int column) const { return m_values[size_t(column)].null; }
    // The value's bytes in the row (a long value's head, not its text).
    QByteArrayView storedBytes(int column) const;
    // Windows-1254 bytes of a text or memo column; characters the code page lacks are "?".
    // The next row decodes into the same buffer: a copy still held then costs a new one.
    const QByteArray &text(int column) const { return m_texts[size_t(column)]; }
    std::optional<double> number(int column) const;

private:
    struct Value
    {
        bool null = true;
        qsizetype start = 0; // in the file
        qsizetype length = 0;
    };

    QByteArrayView page(std::uint32_t number) const;
    void readUsageMap(QByteArrayView map);
    void addDataPage(std::uint32_t number);
    void checkNoPageLeftOut() const;
    bool advance();
    void crackRow(qsizetype pageStart, qsizetype rowStart, qsizetype rowEnd);
    void decodeMemo(const Value &value, QByteArray &text);

    QByteArrayView m_file;
    TableDefinition m_definition;
    std::vector<std::uint32_t> m_dataPages;

    size_t m_pageIndex = 0;
    int m_rowOnPage = -1;
    std::vector<Value> m_values;
    std::vector<QByteArray> m_texts;
    std::vector<std::int64_t> m_autoNumbers;
    std::vector<std::uint32_t> m_longValueRows;
    std::vector<std::uint32_t> m_overflowPointers;
    std::vector<std::uint32_t> m_movedRows;
};

// Decodes a Jet 4 text value (UCS-2, or its compressed form) into Windows-1254.
// Nothing when the bytes cannot be a text: an odd length, a lone surrogate.
std::optional<QByteArray> decodeText(QByteArrayView stored);

// The same, into Unicode: for the names of tables and columns, which are compared as
// the user spells them.
std::optional<QString> decodeName(QByteArrayView stored);

} // namespace jetrows
