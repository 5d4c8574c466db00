// SPDX-License-Identifier: GPL-3.0-or-later

#include "ratesquery.h"

#include "jet/apperror.h"
#include "jet/jetconnection.h"

#include <QCoreApplication>

namespace {

QString fieldKindName(FieldKind kind)
{
    switch (kind) {
    case FieldKind::AutoInc:
        return QStringLiteral("AutoInc");
    case FieldKind::WideString:
        return QStringLiteral("WideString");
    case FieldKind::Memo:
        return QStringLiteral("WideMemo");
    case FieldKind::Double:
        return QStringLiteral("Float");
    }
    return {};
}

// Which stored kinds a declared field accepts: anything that reads into it without loss.
bool fits(FieldKind declared, JetColumnKind stored)
{
    switch (declared) {
    case FieldKind::AutoInc:
        return stored == JetColumnKind::AutoInc || stored == JetColumnKind::Integer;
    case FieldKind::WideString:
        return stored == JetColumnKind::WideString;
    case FieldKind::Memo:
        return stored == JetColumnKind::WideMemo || stored == JetColumnKind::WideString;
    case FieldKind::Double:
        return stored == JetColumnKind::Float || stored == JetColumnKind::Single
            || stored == JetColumnKind::Integer || stored == JetColumnKind::SmallInt
            || stored == JetColumnKind::Byte || stored == JetColumnKind::AutoInc;
    }
    return false;
}

QString tableOf(std::string_view sql)
{
    // The query is fixed: "select * FROM <table>;".
    const QString text = QString::fromLatin1(sql.data(), qsizetype(sql.size())).trimmed();
    const qsizetype from = text.indexOf(QLatin1String(" FROM "), 0, Qt::CaseInsensitive);
    QString table = text.mid(from + 6).trimmed();
    if (table.endsWith(u';'))
        table.chop(1);
    return table.trimmed();
}

QString latin1(std::string_view text)
{
    return QString::fromLatin1(text.data(), qsizetype(text.size()));
}

} // namespace

RatesQuery::RatesQuery(JetConnection *connection, QObject *parent)
    : QObject(parent)
    , m_connection(connection)
{ }

RatesQuery::~RatesQuery() = default;

RatesStore RatesQuery::readTable()
{
    if (!m_connection->isOpen())
        m_connection->open();
    const std::unique_ptr<JetTableCursor> cursor = m_connection->openTable(tableOf(kSql));

    std::array<int, kRatesFields.size()> columnOf {};
    for (size_t i = 0; i < kRatesFields.size(); ++i) {
        const FieldDefinition &field = kRatesFields[i];
        const int column = cursor->columnIndex(latin1(field.name));
        if (column < 0)
            throw AppError(
                QCoreApplication::translate("RatesQuery", "meslekkoduQuery: Field '%1' not found")
                    .arg(latin1(field.name)));
        const JetColumnKind stored = cursor->columns()[size_t(column)].kind;
        if (!fits(field.kind, stored)) {
            throw AppError(
                QCoreApplication::translate(
                    "RatesQuery", "Type mismatch for field '%1', expecting: %2 actual: %3")
                    .arg(latin1(field.name), fieldKindName(field.kind), jetColumnKindName(stored)));
        }
        columnOf[i] = column;
    }

    RatesStore rows;
    RatesRecordValues values;
    while (cursor->next()) {
        for (size_t i = 0; i < kRatesFields.size(); ++i) {
            const FieldDefinition &field = kRatesFields[i];
            if (field.text)
                values.*field.text = cursor->text(columnOf[i]);
            else
                values.*field.number = cursor->number(columnOf[i]);
        }
        rows.append(values);
        // Letting go of the texts leaves the reader's buffers to itself, so that the
        // next row decodes into them without allocating.
        for (const FieldDefinition &field : kRatesFields) {
            if (field.text)
                (values.*field.text).clear();
        }
    }
    rows.squeeze();
    return rows;
}

void RatesQuery::open()
{
    close();
    setOpenRows(readTable());
}

void RatesQuery::openWithRecords(const std::vector<RatesRecordValues> &records)
{
    close();
    RatesStore rows;
    for (const RatesRecordValues &values : records)
        rows.append(values);
    rows.squeeze();
    setOpenRows(std::move(rows));
}

void RatesQuery::setOpenRows(RatesStore rows)
{
    m_rows = std::move(rows);
    m_open = true;
    m_currentIndex = -1;
    emit restarted();
}

void RatesQuery::close()
{
    if (!m_open)
        return;
    m_open = false;
    m_rows = {};
    m_currentIndex = -1;
    emit restarted();
}

void RatesQuery::setFiltered(bool filtered)
{
    if (filtered == m_filtered)
        return;
    m_filtered = filtered;
    // Off shows every row again, on starts the filtered reading from the top.
    if (m_open) {
        m_currentIndex = -1;
        emit restarted();
    }
}

bool RatesQuery::accepts(int index) const
{
    if (!m_filtered || !m_filterRecord)
        return true;
    return m_filterRecord(RatesRecord(&m_rows, index));
}

int RatesQuery::nextAccepted(int from) const
{
    const int count = recordCount();
    int index = std::max(from, 0);
    if (index >= count)
        return count;
    if (m_filtered && m_filterRecord && m_findAccepted)
        return std::min(m_findAccepted(index), count);
    while (index < count && !accepts(index))
        ++index;
    return index;
}

void RatesQuery::setCurrentIndex(int index)
{
    m_currentIndex = (index >= 0 && index < recordCount()) ? index : -1;
}

RatesRecord RatesQuery::currentRecord() const
{
    if (m_currentIndex < 0)
        return {};
    return record(m_currentIndex);
}
