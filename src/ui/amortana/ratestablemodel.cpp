// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/amortana/ratestablemodel.h"

#include "data/fieldtext.h"
#include "data/ratesquery.h"
#include "jet/cp1254.h"
#include "ui/common/errorreporting.h"

#include <array>
#include <string_view>

namespace {

// The field each column shows; the calculated oran2 carries the label of the stored rate.
constexpr std::array<std::string_view, RatesTableModel::ColumnCount> kColumnLabelFields
    = {"tum_kodu", "aciklama", "omur_yil", "oran", "teblig"};

QString labelOf(int column)
{
    for (const FieldDefinition &field : kRatesFields) {
        if (field.name == kColumnLabelFields[size_t(column)])
            return QString::fromUtf8(
                field.displayLabel.data(), qsizetype(field.displayLabel.size()));
    }
    return {};
}

} // namespace

RatesTableModel::RatesTableModel(QObject *parent)
    : QAbstractTableModel(parent)
{ }

void RatesTableModel::setQuery(RatesQuery *query)
{
    if (m_query)
        disconnect(m_query, nullptr, this, nullptr);
    m_query = query;
    if (m_query)
        connect(m_query, &RatesQuery::restarted, this, &RatesTableModel::restart);
    restart();
}

void RatesTableModel::restart()
{
    beginResetModel();
    m_recordIndexes.clear();
    m_nextToTest = 0;
    m_fetchFailed = false;
    m_currentRow = -1;
    endResetModel();
    // The first screenful is fetched at once rather than when the grid next lays
    // itself out: the filter must read the search boxes as they are now, before the
    // key that caused the refetch reaches its box.
    if (canFetchMore())
        fetchMore();
    emit refetchedFromTop();
}

int RatesTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_recordIndexes.size());
}

int RatesTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

int RatesTableModel::recordIndex(int row) const
{
    if (row < 0 || row >= int(m_recordIndexes.size()))
        return -1;
    return m_recordIndexes[size_t(row)];
}

RatesRecord RatesTableModel::record(int row) const
{
    return m_query->record(recordIndex(row));
}

QVariant RatesTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || !m_query || recordIndex(index.row()) < 0)
        return {};
    const RatesRecord rates = record(index.row());
    const auto column = Column(index.column());
    switch (role) {
    case Qt::DisplayRole:
        switch (column) {
        case TumKodu:
            return cp1254::toUnicode(rates.tum_kodu());
        case Aciklama:
            return cp1254::toUnicode(fieldtext::descriptionForDisplay(rates.aciklama()));
        case OmurYil:
            return fieldtext::generalNumber(rates.omur_yil());
        case Oran2:
            return fieldtext::percent(rates.oran2());
        case Teblig:
            return fieldtext::generalNumber(rates.teblig());
        case ColumnCount:
            break;
        }
        return {};
    case Qt::TextAlignmentRole:
        if (column == TumKodu || column == Aciklama)
            return int(Qt::AlignLeft | Qt::AlignVCenter);
        return int(Qt::AlignRight | Qt::AlignVCenter);
    case RecordNumberRole:
        return RatesQuery::recordNumber(recordIndex(index.row()));
    default:
        return {};
    }
}

QVariant RatesTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal) {
        if (role == Qt::DisplayRole && section >= 0 && section < ColumnCount)
            return labelOf(section);
        if (role == Qt::TextAlignmentRole)
            return int(Qt::AlignLeft | Qt::AlignVCenter);
        return {};
    }
    if (role == CurrentRecordRole)
        return section == m_currentRow;
    return {};
}

Qt::ItemFlags RatesTableModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

bool RatesTableModel::canFetchMore(const QModelIndex &parent) const
{
    return !parent.isValid() && m_query && m_query->isOpen() && !m_fetchFailed
        && m_nextToTest < m_query->recordCount();
}

void RatesTableModel::fetchMore(const QModelIndex &parent)
{
    if (!canFetchMore(parent))
        return;
    const int batch = fetchBatch();
    std::vector<int> accepted;
    accepted.reserve(size_t(batch));
    try {
        const int count = m_query->recordCount();
        while (int(accepted.size()) < batch && m_nextToTest < count) {
            const int next = m_query->nextAccepted(m_nextToTest);
            m_nextToTest = next + 1;
            if (next < count)
                accepted.push_back(next);
        }
    } catch (...) {
        // Called from inside the view's layout code, which must not see an exception:
        // the fetch ends with what was accepted so far and the box comes from the loop.
        m_fetchFailed = true;
        errorreporting::postCurrentError();
    }
    if (accepted.empty())
        return;
    const int first = int(m_recordIndexes.size());
    beginInsertRows({}, first, first + int(accepted.size()) - 1);
    m_recordIndexes.insert(m_recordIndexes.end(), accepted.begin(), accepted.end());
    endInsertRows();
}

void RatesTableModel::setCurrentRow(int row)
{
    if (row == m_currentRow)
        return;
    const int previous = m_currentRow;
    m_currentRow = row;
    if (previous >= 0 && previous < rowCount())
        emit headerDataChanged(Qt::Vertical, previous, previous);
    if (row >= 0 && row < rowCount())
        emit headerDataChanged(Qt::Vertical, row, row);
}
