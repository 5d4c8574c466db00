#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <cstdint>
#include <exception>
#include <optional>
#include <vector>

// Reads the rows of one table of a Jet 4 file straight from the file's bytes. The
// format has no checksums, so every structure a row passes through is checked against
// the others before the row is handed out: a file that contradicts itself gives
// DamagedFile, never a shorter, longer or altered list.
namespace jetrows {

inline constexpr qsizetype kPageSize = 4096;

// The bytes contradict the format. The reason names the structure, for developers; the
// user is told that the database is damaged.
class DamagedFile : public std::exception
{
public:
    explicit DamagedFile(const char *reason)
        : m_reason(reason)
    { }
    const char *what() const noexcept override { return m_reason; }

private:
    const char *m_reason;
};

// How a column's value is stored, as far as reading it needs to know.
enum class Storage { Boolean, Byte, Int16, Int32, Float32, Float64, Text, Memo, Other };

struct ColumnLayout
{
    Storage storage = Storage::Other;
    bool fixed = false;
    int nullBit = 0; // the column's bit in a row's null mask
    int fixedOffset = 0; // fixed columns: where the value starts after the column count
    int varIndex = 0; // variable columns: the slot in the row's offset table
    int size = 0; // fixed columns: bytes of the value; text: the most bytes it may hold
    bool autoIncrement = false;
};

class TableReader
{
public:
    // The table whose definition starts on `definitionPage`. Reads the definition's
    // counts and the usage map; throws DamagedFile.
    TableReader(
        QByteArrayView file, std::uint32_t definitionPage, std::vector<ColumnLayout> columns);

    // The next row, checked and decoded. At the end of the table, checks that the rows
    // read are the rows the definition counts and that none was read twice. Throws
    // DamagedFile.
    bool next();

    std::uint32_t rowCount() const { return m_rowCount; }
    const std::vector<std::uint32_t> &dataPages() const { return m_dataPages; }

    // Windows-1254 bytes of a text or memo column; characters the code page lacks are "?".
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
    bool advance();
    void crackRow(qsizetype pageStart, qsizetype rowStart, qsizetype rowEnd);
    QByteArray memoText(const Value &value);

    QByteArrayView m_file;
    std::uint32_t m_definitionPage;
    std::vector<ColumnLayout> m_columns;
    std::uint32_t m_rowCount = 0;
    int m_maxColumns = 0;
    int m_varColumns = 0;
    std::vector<std::uint32_t> m_dataPages;

    size_t m_pageIndex = 0;
    int m_rowOnPage = -1;
    std::uint32_t m_rowsRead = 0;
    std::vector<Value> m_values;
    std::vector<QByteArray> m_texts;
    std::vector<std::int32_t> m_autoNumbers;
    std::vector<std::uint32_t> m_longValueRows;
    std::vector<std::uint32_t> m_overflowRows;
};

// Decodes a Jet 4 text value (UCS-2, or its compressed form) into Windows-1254.
// Nothing when the bytes cannot be a text: an odd length, a lone surrogate.
std::optional<QByteArray> decodeText(QByteArrayView stored);

} // namespace jetrows
