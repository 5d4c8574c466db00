// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QAbstractTableModel>
#include <QPointer>

#include <algorithm>
#include <vector>

class RatesQuery;
class RatesRecord;

// The data source between the rates query and the grid (`meslekkoduSource`). It fetches
// lazily, a batch at a time, asking the query for the next records that pass its
// filter, so the filter is applied to records as they are fetched and reads the search
// boxes as they are at that moment.
class RatesTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { TumKodu, Aciklama, OmurYil, Oran2, Teblig, ColumnCount };

    enum Role {
        RecordNumberRole = Qt::UserRole + 1, // 1-based position in the unfiltered result
        CurrentRecordRole, // row header: true for the row the indicator column marks
    };

    // The fewest rows one fetch asks the query for.
    static constexpr int kFetchBatch = 48;

    explicit RatesTableModel(QObject *parent = nullptr);

    // The query may be set to nothing (after the window has freed it).
    void setQuery(RatesQuery *query);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(
        int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    bool canFetchMore(const QModelIndex &parent = {}) const override;
    void fetchMore(const QModelIndex &parent = {}) override;

    // How many rows the grid can show at once. Each fetch takes at least as many, so
    // that the first screenful after a refetch is complete before the key that caused
    // it reaches its box: rows fetched later would be tested against the new text.
    void setRowsPerScreen(int rows) { m_rowsPerScreen = rows; }
    int fetchBatch() const { return std::max(kFetchBatch, m_rowsPerScreen); }

    // The query's index of the record a row shows.
    int recordIndex(int row) const;
    RatesRecord record(int row) const;

    // The row the indicator column marks.
    void setCurrentRow(int row);

signals:
    // The rows were fetched afresh from the first record on.
    void refetchedFromTop();

private:
    void restart();

    QPointer<RatesQuery> m_query;
    std::vector<int> m_recordIndexes;
    int m_nextToTest = 0;
    bool m_fetchFailed = false;
    int m_currentRow = -1;
    int m_rowsPerScreen = 0;
};
