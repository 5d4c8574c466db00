// SPDX-License-Identifier: GPL-3.0-or-later

#include "search/ratessearch.h"

#include "data/fieldtext.h"
#include "data/ratesquery.h"
#include "data/searchfilter.h"
#include "data/turkishfold.h"
#include "jet/apperror.h"
#include "jet/connectionsettings.h"
#include "jet/cp1254.h"
#include "jet/jetconnection.h"
#include "search/searchlog.h"

#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>

#include <algorithm>

namespace {

// The list is Turkish whatever the desktop's language: "2,5 yıl", "%3,03".
const QLocale &turkish()
{
    static const QLocale locale(QLocale::Turkish, QLocale::Turkey);
    return locale;
}

QString oneLine(const QByteArray &text)
{
    return cp1254::toUnicode(text).simplified();
}

// A row the user can copy both figures from: what a search for an asset is after.
bool isAnswer(const RatesRecord &record)
{
    return record.omur_yil().has_value() && record.oran2().has_value();
}

// Cut before a word rather than inside one; a single word longer than the limit is cut
// where it must be.
QString cutAtWord(const QString &text, qsizetype limit)
{
    if (text.size() <= limit)
        return text;
    const QChar ellipsis(0x2026);
    const qsizetype space = text.lastIndexOf(u' ', limit - 1);
    const qsizetype end = space > 0 ? space : limit - 1;
    return QStringView(text).left(end).trimmed().toString() + ellipsis;
}

} // namespace

RatesSearch::RatesSearch(QString databasePath)
    : m_databasePath(std::move(databasePath))
{ }

RatesSearch::~RatesSearch() = default;

void RatesSearch::setDatabasePath(const QString &databasePath)
{
    if (databasePath == m_databasePath)
        return;
    m_databasePath = databasePath;
    m_loadedStamp.reset();
}

QStringList RatesSearch::termsOf(const QString &query)
{
    static const QRegularExpression whiteSpace(QStringLiteral("\\s+"));
    return query.split(whiteSpace, Qt::SkipEmptyParts);
}

RatesSearch::FileStamp RatesSearch::currentStamp() const
{
    const QFileInfo info(m_databasePath);
    if (!info.exists())
        return {};
    return {true, info.size(), info.lastModified(), info.metadataChangeTime()};
}

void RatesSearch::refresh()
{
    const FileStamp stamp = currentStamp();
    if (m_loadedStamp == stamp)
        return;
    m_loadedStamp = stamp;
    m_query.reset();
    m_connection.reset();
    try {
        auto connection
            = std::make_unique<JetConnection>(connectionsettings::renderFor(m_databasePath));
        auto query = std::make_unique<RatesQuery>(connection.get());
        query->open();
        // The rows stay in memory; the file is not held open between readings.
        connection->close();
        m_connection = std::move(connection);
        m_query = std::move(query);
        qCInfo(lcSearch, "Read %d rates from %s", m_query->recordCount(),
            qUtf8Printable(m_databasePath));
    } catch (const AppError &error) {
        qCWarning(lcSearch, "No results until the list changes: %s", error.what());
    } catch (const std::bad_alloc &) {
        qCWarning(lcSearch, "No results until the list changes: %s is too large to read",
            qUtf8Printable(m_databasePath));
    }
}

QList<int> RatesSearch::find(const QStringList &terms, int limit)
{
    refresh();
    if (!m_query || terms.isEmpty())
        return {};
    QList<QByteArray> folded;
    for (const QString &term : terms)
        folded.append(searchfilter::termOf(term).folded);
    // The longest term leads: it skips the most rows; the others are tested on what it
    // finds. The order of the terms does not change which rows match.
    std::stable_sort(folded.begin(), folded.end(),
        [](const QByteArray &a, const QByteArray &b) { return a.size() > b.size(); });
    if (folded.back().isEmpty())
        return {}; // a term of white space alone matches nothing, as in the window

    // Headings come after every answer, so the search goes on past `limit` matches
    // until it has that many answers or reaches the end.
    QList<int> answers;
    QList<int> others;
    const int count = m_query->recordCount();
    for (int row = m_query->nextContaining(folded.front(), 0, count);
         row < count && answers.size() < limit;
         row = m_query->nextContaining(folded.front(), row + 1, count)) {
        const RatesRecord record = m_query->record(row);
        const QByteArrayView description = record.aciklamaFolded();
        const bool all = std::all_of(folded.begin() + 1, folded.end(),
            [&](const QByteArray &term) { return turkishfold::foldedContains(description, term); });
        if (!all)
            continue;
        if (isAnswer(record))
            answers.append(row);
        else if (others.size() < limit)
            others.append(row);
    }
    answers.append(others);
    answers.resize(std::min<qsizetype>(answers.size(), std::max(limit, 0)));
    return answers;
}

std::optional<SearchHit> RatesSearch::hit(int row)
{
    if (!m_loadedStamp)
        refresh();
    if (!m_query || row < 0 || row >= m_query->recordCount())
        return std::nullopt;
    const RatesRecord record = m_query->record(row);
    const QString code = oneLine(record.tum_kodu());
    const QString description = cutAtWord(oneLine(record.aciklama()), kMaxNameLength);
    SearchHit hit;
    hit.name = code.isEmpty() ? description : code + u' ' + description;
    hit.code = code;

    QStringList figures;
    const QString life = fieldtext::generalNumber(record.omur_yil(), turkish());
    if (!life.isEmpty())
        figures.append(life + QStringLiteral(" yıl"));
    const QString rate = fieldtext::percentNumber(record.oran2(), turkish());
    if (!rate.isEmpty())
        figures.append(u'%' + rate);
    hit.description = figures.join(QStringLiteral(" · "));
    return hit;
}

int RatesSearch::rowCount() const
{
    return m_query ? m_query->recordCount() : 0;
}
