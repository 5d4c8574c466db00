#include "ratesquery.h"

#include "apperror.h"
#include "fieldtext.h"
#include "jetconnection.h"
#include "turkishfold.h"

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
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

} // namespace

RatesQuery::RatesQuery(JetConnection *connection, QObject *parent)
    : QObject(parent)
    , m_connection(connection)
{ }

RatesQuery::~RatesQuery() = default;

void RatesQuery::calculateFields(RatesRecord &record)
{
    record.oran2 = fieldtext::calculatedPercentage(record.oran);
    record.aciklamaFolded
        = turkishfold::lowerCase(turkishfold::trimmed(turkishfold::untilZero(record.aciklama)));
}

std::vector<RatesRecord> RatesQuery::readTable()
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
                QStringLiteral("meslekkoduQuery: Field '%1' not found").arg(latin1(field.name)));
        const JetColumnKind stored = cursor->columns()[size_t(column)].kind;
        if (!fits(field.kind, stored)) {
            throw AppError(
                QStringLiteral("Type mismatch for field '%1', expecting: %2 actual: %3")
                    .arg(latin1(field.name), fieldKindName(field.kind), jetColumnKindName(stored)));
        }
        columnOf[i] = column;
    }

    std::vector<RatesRecord> records;
    while (cursor->next()) {
        RatesRecord record;
        for (size_t i = 0; i < kRatesFields.size(); ++i) {
            const FieldDefinition &field = kRatesFields[i];
            if (field.text)
                record.*field.text = cursor->text(columnOf[i]);
            else
                record.*field.number = cursor->number(columnOf[i]);
        }
        calculateFields(record);
        records.push_back(std::move(record));
    }
    return records;
}

void RatesQuery::open()
{
    close();
    setOpenRecords(readTable());
}

void RatesQuery::openWithRecords(std::vector<RatesRecord> records)
{
    close();
    for (RatesRecord &record : records)
        calculateFields(record);
    setOpenRecords(std::move(records));
}

void RatesQuery::setOpenRecords(std::vector<RatesRecord> records)
{
    m_records = std::move(records);
    m_open = true;
    m_currentIndex = -1;
    emit restarted();
}

void RatesQuery::close()
{
    if (!m_open)
        return;
    m_open = false;
    m_records.clear();
    m_records.shrink_to_fit();
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
    return m_filterRecord(m_records[size_t(index)]);
}

int RatesQuery::nextAccepted(int from) const
{
    const int count = recordCount();
    int index = std::max(from, 0);
    while (index < count && !accepts(index))
        ++index;
    return index;
}

void RatesQuery::setCurrentIndex(int index)
{
    m_currentIndex = (index >= 0 && index < recordCount()) ? index : -1;
}

const RatesRecord &RatesQuery::currentRecord() const
{
    static const RatesRecord kEmpty;
    if (m_currentIndex < 0)
        return kEmpty;
    return m_records[size_t(m_currentIndex)];
}
