// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "ratesrecord.h"
#include "ratesstore.h"

#include <QObject>
#include <QString>

#include <array>
#include <functional>
#include <string_view>
#include <vector>

class JetConnection;

// The kinds a declared field can have.
enum class FieldKind { AutoInc, WideString, Memo, Double };

struct FieldDefinition
{
    std::string_view name;
    FieldKind kind;
    int size; // characters, for strings; not checked against the table
    std::string_view displayLabel;
    QByteArray RatesRecordValues::*text = nullptr;
    std::optional<double> RatesRecordValues::*number = nullptr;
};

// The fields of the rates query, declared rather than discovered: they bind by name
// to the columns of ORANLAR when the query opens.
inline const std::array<FieldDefinition, 11> kRatesFields = {{
    {"ID", FieldKind::AutoInc, 0, "", nullptr, &RatesRecordValues::ID},
    {"ana_kodu", FieldKind::WideString, 10, "", &RatesRecordValues::ana_kodu},
    {"alt1_kodu", FieldKind::WideString, 12, "", &RatesRecordValues::alt1_kodu},
    {"alt2_kodu", FieldKind::WideString, 15, "", &RatesRecordValues::alt2_kodu},
    {"alt3_kodu", FieldKind::WideString, 20, "", &RatesRecordValues::alt3_kodu},
    {"tum_kodu", FieldKind::WideString, 30, "Sıra No", &RatesRecordValues::tum_kodu},
    {"aciklama", FieldKind::Memo, 0, "Açıklama", &RatesRecordValues::aciklama},
    {"omur_yil", FieldKind::Double, 0, "Ömrü", nullptr, &RatesRecordValues::omur_yil},
    {"oran", FieldKind::Double, 0, "Oran", nullptr, &RatesRecordValues::oran},
    {"teblig", FieldKind::Double, 0, "Tebliğ", nullptr, &RatesRecordValues::teblig},
    {"not", FieldKind::WideString, 50, "", &RatesRecordValues::not_},
}};

// The one query of the program (`meslekkoduQuery`). Opening reads every row of the
// table at once, in the order they are stored (data pages in usage-map order, rows in
// page order), into packed rows; a record works out its calculated percentage each
// time it is read. While the filtered flag is on, the reader of the rows asks
// accepts() for each record it fetches.
class RatesQuery : public QObject
{
    Q_OBJECT

public:
    static constexpr std::string_view kSql = "select * FROM ORANLAR;";

    using FilterRecord = std::function<bool(const RatesRecord &)>;
    // Finds the first record at or after an index that the predicate accepts, or
    // recordCount() when none is: the same answer as testing each, found faster.
    using FindAccepted = std::function<int(int from)>;

    explicit RatesQuery(JetConnection *connection, QObject *parent = nullptr);
    ~RatesQuery() override;

    // Runs the SQL afresh: connects if needed and re-reads the table. Throws AppError;
    // on failure the query stays closed.
    void open();
    void close();
    bool isOpen() const { return m_open; }

    // Switching the flag while open returns the query to its first record; setting the
    // value it already has does nothing.
    void setFiltered(bool filtered);
    bool isFiltered() const { return m_filtered; }

    // The record predicate (`meslekkoduQueryFilterRecord`), and optionally a search that
    // agrees with it, for skipping the records it rejects.
    void setFilterRecord(FilterRecord filter, FindAccepted findAccepted = {})
    {
        m_filterRecord = std::move(filter);
        m_findAccepted = std::move(findAccepted);
    }

    // Rows of the unfiltered result; index 0 is record number 1. A record reads the
    // query's rows in place: it is valid until the query closes or opens again.
    int recordCount() const { return m_rows.size(); }
    RatesRecord record(int index) const { return RatesRecord(&m_rows, index); }
    static int recordNumber(int index) { return index + 1; }

    // Whether the record at this index passes the filter; always true while the
    // filter is off. The predicate may throw.
    bool accepts(int index) const;

    // The first accepted index at or after `from`, or recordCount() when none is.
    int nextAccepted(int from) const;

    // The first index in [from, to) whose folded description contains the folded term,
    // or `to`. An empty term is found nowhere.
    int nextContaining(QByteArrayView foldedTerm, int from, int to) const
    {
        return m_rows.nextContaining(foldedTerm, from, to);
    }

    // The current record: the one under the grid's cursor. With none, every field reads
    // as empty (and as 0 when read as a number).
    void setCurrentIndex(int index);
    int currentIndex() const { return m_currentIndex; }
    RatesRecord currentRecord() const;

    // Replaces the rows as if they had been read from the table (benchmarks, tests).
    void openWithRecords(const std::vector<RatesRecordValues> &records);

    // Bytes held for the rows.
    qsizetype rowMemoryBytes() const { return m_rows.memoryBytes(); }

signals:
    // The rows changed or the query went back to its first record: whoever shows the
    // rows starts fetching again from the top.
    void restarted();

private:
    RatesStore readTable();
    void setOpenRows(RatesStore rows);

    JetConnection *m_connection;
    RatesStore m_rows;
    bool m_open = false;
    bool m_filtered = false;
    int m_currentIndex = -1;
    FilterRecord m_filterRecord;
    FindAccepted m_findAccepted;
};
