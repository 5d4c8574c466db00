// SPDX-License-Identifier: GPL-3.0-or-later

#include "search/searchservice.h"

#include "searchlayout.h"

namespace {

// KRunner sorts by this first: "possibly what was meant", below exact answers such as
// an application's name.
constexpr int kPossibleMatch = 30;

// Relevances fall with the row, so that KRunner keeps the list's own order.
constexpr double kFirstRelevance = 0.5;
constexpr double kRelevanceStep = 0.01;

const QLatin1Char kIdSeparator(':');

} // namespace

SearchService::SearchService(QString databasePath, ProgramLauncher launcher,
    std::chrono::milliseconds idleTimeout, QObject *parent)
    : QObject(parent)
    , m_search(std::move(databasePath))
    , m_launcher(std::move(launcher))
{
    m_idleTimer.setSingleShot(true);
    m_idleTimer.setInterval(idleTimeout);
    connect(&m_idleTimer, &QTimer::timeout, this, &SearchService::idle);
    m_idleTimer.start();
    // Adaptors belong to the object they serve; registering it exports both.
    new GnomeShellSearchProvider(this);
    new KRunnerProvider(this);
}

void SearchService::stillNeeded()
{
    m_idleTimer.start();
}

QStringList SearchService::resultIds(const QStringList &terms)
{
    stillNeeded();
    QStringList ids;
    for (int row : m_search.find(terms))
        ids.append(QString::number(row));
    return ids;
}

QList<QVariantMap> SearchService::resultMetas(const QStringList &ids)
{
    stillNeeded();
    QList<QVariantMap> metas;
    for (const QString &id : ids) {
        bool isNumber = false;
        const int row = id.toInt(&isNumber);
        const std::optional<SearchHit> hit = isNumber ? m_search.hit(row) : std::nullopt;
        if (!hit)
            continue; // not ours, or from a list read before this one
        metas.append({{QStringLiteral("id"), id}, {QStringLiteral("name"), hit->name},
            {QStringLiteral("description"), hit->description},
            {QStringLiteral("gicon"), QString::fromLatin1(kIconName)}});
    }
    return metas;
}

void SearchService::activate(const QStringList &terms)
{
    stillNeeded();
    m_launcher.launch(terms);
}

KRunnerMatches SearchService::matches(const QString &query)
{
    stillNeeded();
    const QStringList terms = RatesSearch::termsOf(query);
    KRunnerMatches matches;
    double relevance = kFirstRelevance;
    for (int row : m_search.find(terms)) {
        const SearchHit hit = *m_search.hit(row); // a row find() just gave
        KRunnerMatch match;
        match.id = QString::number(row) + kIdSeparator + terms.front();
        match.text = hit.name;
        match.iconName = QString::fromLatin1(kIconName);
        match.type = kPossibleMatch;
        match.relevance = relevance;
        match.properties = {{QStringLiteral("subtext"), hit.description},
            {QStringLiteral("actions"), QStringList()}};
        matches.append(match);
        relevance -= kRelevanceStep;
    }
    return matches;
}

void SearchService::run(const QString &matchId)
{
    stillNeeded();
    const qsizetype separator = matchId.indexOf(kIdSeparator);
    if (separator < 0) {
        m_launcher.launch({});
        return;
    }
    m_launcher.launch({matchId.mid(separator + 1)});
}

GnomeShellSearchProvider::GnomeShellSearchProvider(SearchService *service)
    : QDBusAbstractAdaptor(service)
    , m_service(service)
{ }

QStringList GnomeShellSearchProvider::GetInitialResultSet(const QStringList &terms)
{
    return m_service->resultIds(terms);
}

// Searched afresh rather than narrowed: the earlier set stopped at the result limit, and
// rows beyond it may match the longer terms.
QStringList GnomeShellSearchProvider::GetSubsearchResultSet(
    const QStringList &previousResults, const QStringList &terms)
{
    Q_UNUSED(previousResults);
    return m_service->resultIds(terms);
}

QList<QVariantMap> GnomeShellSearchProvider::GetResultMetas(const QStringList &identifiers)
{
    return m_service->resultMetas(identifiers);
}

void GnomeShellSearchProvider::ActivateResult(
    const QString &identifier, const QStringList &terms, uint timestamp)
{
    Q_UNUSED(identifier);
    Q_UNUSED(timestamp);
    m_service->activate(terms);
}

void GnomeShellSearchProvider::LaunchSearch(const QStringList &terms, uint timestamp)
{
    Q_UNUSED(timestamp);
    m_service->activate(terms);
}

KRunnerProvider::KRunnerProvider(SearchService *service)
    : QDBusAbstractAdaptor(service)
    , m_service(service)
{ }

KRunnerActions KRunnerProvider::Actions()
{
    return {};
}

KRunnerMatches KRunnerProvider::Match(const QString &query)
{
    return m_service->matches(query);
}

void KRunnerProvider::Run(const QString &matchId, const QString &actionId)
{
    Q_UNUSED(actionId);
    m_service->run(matchId);
}

// KRunner's session is over; the list stays loaded for the next one until the service
// ends on its own.
void KRunnerProvider::Teardown() { }
