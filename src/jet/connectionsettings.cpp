// SPDX-License-Identifier: GPL-3.0-or-later

#include "connectionsettings.h"

#include <QStringList>

namespace {

QString quoted(QStringView value)
{
    if (value.isEmpty())
        return QStringLiteral("\"\"");
    const bool needsQuotes = value.contains(u';') || value.startsWith(u'"')
        || value.startsWith(u'\'') || value.front().isSpace() || value.back().isSpace();
    if (!needsQuotes)
        return value.toString();
    QString escaped = value.toString();
    escaped.replace(u'"', QStringLiteral("\"\""));
    return u'"' + escaped + u'"';
}

// Splits "a=b;c=\"d;e\"" into its name=value pairs and hands each to the visitor;
// a visitor returning true stops the walk.
template<typename Visitor> void forEachPair(QStringView text, Visitor visit)
{
    qsizetype pos = 0;
    while (pos < text.size()) {
        const qsizetype equals = text.indexOf(u'=', pos);
        if (equals < 0)
            return;
        const QStringView name = text.sliced(pos, equals - pos).trimmed();
        pos = equals + 1;
        while (pos < text.size() && text[pos].isSpace())
            ++pos;
        QString value;
        if (pos < text.size() && (text[pos] == u'"' || text[pos] == u'\'')) {
            const QChar quote = text[pos++];
            while (pos < text.size()) {
                if (text[pos] == quote) {
                    if (pos + 1 < text.size() && text[pos + 1] == quote) {
                        value += quote;
                        pos += 2;
                        continue;
                    }
                    ++pos;
                    break;
                }
                value += text[pos++];
            }
            const qsizetype semicolon = text.indexOf(u';', pos);
            pos = semicolon < 0 ? text.size() : semicolon + 1;
        } else {
            const qsizetype semicolon = text.indexOf(u';', pos);
            const qsizetype end = semicolon < 0 ? text.size() : semicolon;
            value = text.sliced(pos, end - pos).trimmed().toString();
            pos = end + 1;
        }
        if (visit(name, value))
            return;
    }
}

} // namespace

namespace connectionsettings {

QString render(const std::array<Property, kProperties.size()> &properties)
{
    QStringList parts;
    for (const Property &property : properties) {
        parts << QString::fromUtf8(property.name.data(), qsizetype(property.name.size())) + u'='
                + quoted(
                    QString::fromUtf8(property.value.data(), qsizetype(property.value.size())));
    }
    return parts.join(u';');
}

std::optional<QString> value(const QString &connectionString, QStringView name)
{
    std::optional<QString> found;
    forEachPair(connectionString, [&](QStringView key, const QString &value) {
        if (key.compare(name, Qt::CaseInsensitive) != 0)
            return false;
        found = value;
        return true;
    });
    return found;
}

QString renderFor(const QString &dataSource)
{
    auto properties = kProperties;
    const QByteArray utf8 = dataSource.toUtf8();
    for (auto &property : properties) {
        if (property.name == "Data Source")
            property.value = std::string_view(utf8.constData(), size_t(utf8.size()));
    }
    return render(properties);
}

} // namespace connectionsettings
