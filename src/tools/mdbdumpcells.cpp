// SPDX-License-Identifier: GPL-3.0-or-later

#include "mdbdumpcells.h"

#include "jet/cp1254.h"
#include "jet/jetconnection.h"

#include <QDate>
#include <QtEndian>

#include <charconv>
#include <cmath>
#include <cstdint>

namespace mdbdumpcells {

namespace {

template<typename Number> QByteArray shortest(Number value)
{
    char buffer[64];
    const std::to_chars_result result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return QByteArray(buffer, result.ptr - buffer);
}

// Currency is a count of ten-thousandths: written exactly, never through a double.
QByteArray currencyText(std::int64_t units)
{
    const bool negative = units < 0;
    const auto magnitude = negative ? 0 - std::uint64_t(units) : std::uint64_t(units);
    QByteArray text = QByteArray::number(magnitude / 10000) + '.'
        + QByteArray::number(magnitude % 10000).rightJustified(4, '0');
    return negative ? '-' + text : text;
}

} // namespace

QByteArray escaped(const QString &text)
{
    QByteArray out;
    for (const char byte : text.toUtf8()) {
        switch (byte) {
        case '\\':
            out += "\\\\";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\n':
            out += "\\n";
            break;
        default:
            out += byte;
        }
    }
    return out;
}

QByteArray dateText(double days)
{
    // Past these the calendar runs out (Access itself stops at 100 and 9999).
    if (!std::isfinite(days) || std::fabs(days) > 3.0e6)
        return {};
    auto day = static_cast<std::int64_t>(days);
    auto seconds = std::llround(std::fabs(days - double(day)) * 86400.0);
    if (seconds >= 86400) {
        seconds -= 86400;
        ++day;
    }
    const QDate date = QDate(1899, 12, 30).addDays(day);
    if (!date.isValid())
        return {};
    return QString::asprintf("%04d-%02d-%02d %02lld:%02lld:%02lld", date.year(), date.month(),
        date.day(), seconds / 3600, seconds / 60 % 60, seconds % 60)
        .toLatin1();
}

QByteArray cell(const JetTableCursor &cursor, int column)
{
    if (cursor.isNull(column))
        return {};
    const QByteArrayView stored = cursor.storedBytes(column);
    switch (cursor.columns()[size_t(column)].kind) {
    case JetColumnKind::Boolean:
        return *cursor.number(column) != 0 ? "1" : "0";
    case JetColumnKind::Byte:
    case JetColumnKind::SmallInt:
    case JetColumnKind::Integer:
    case JetColumnKind::AutoInc:
        return QByteArray::number(static_cast<qint64>(*cursor.number(column)));
    case JetColumnKind::Single:
        return shortest(qFromLittleEndian<float>(stored.data()));
    case JetColumnKind::Float:
        return shortest(qFromLittleEndian<double>(stored.data()));
    case JetColumnKind::Currency:
        return currencyText(qFromLittleEndian<std::int64_t>(stored.data()));
    case JetColumnKind::DateTime: {
        const QByteArray text = dateText(qFromLittleEndian<double>(stored.data()));
        return text.isEmpty() ? QByteArrayLiteral("*") : text;
    }
    case JetColumnKind::WideString:
    case JetColumnKind::WideMemo:
        return escaped(cp1254::toUnicode(cursor.text(column)));
    default:
        return QByteArrayLiteral("*");
    }
}

} // namespace mdbdumpcells
