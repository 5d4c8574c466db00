// SPDX-License-Identifier: GPL-3.0-or-later

#include "search/searchservice.h"

#include "searchlayout.h"

#include <QFileInfo>

namespace {

// KRunner sorts by this first: "possibly what was meant", below exact answers such as
// an application's name.
constexpr int kPossibleMatch = 30;

// Relevances fall with the row, so that KRunner keeps the list's own order.
constexpr double kFirstRelevance = 0.5;
constexpr double kRelevanceStep = 0.01;

std::optional<int> rowOf(const QString &id)
{
    bool isNumber = false;
    const int row = id.toInt(&isNumber);
    return isNumber ? std::optional<int>(row) : std::nullopt;
}

// The folder above the list's AnaData/, where the program reads it.
QString folderOf(const QString &databasePath)
{
    return QFileInfo(QFileInfo(databasePath).absolutePath()).absolutePath();
}

} // namespace

SearchService::SearchService(ListChooser whichList, ProgramLauncher launcher,
    std::chrono::milliseconds idleTimeout, QObject *parent)
    : QObject(parent)
    , m_whichList(std::move(whichList))
    , m_search(m_whichList())
    , m_launcher(std::move(launcher))
{
    m_launcher.setWorkingDirectory(folderOf(m_search.databasePath()));
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

void SearchService::followTheList()
{
    const QString databasePath = m_whichList();
    if (databasePath == m_search.databasePath())
        return;
    m_search.setDatabasePath(databasePath);
    m_launcher.setWorkingDirectory(folderOf(databasePath));
    m_termsOfMatch.clear();
}

std::optional<QString> SearchService::codeOf(const QString &id)
{
    const std::optional<int> row = rowOf(id);
    const std::optional<SearchHit> hit = row ? m_search.hit(*row) : std::nullopt;
    return hit ? std::optional<QString>(hit->code) : std::nullopt;
}

QStringList SearchService::resultIds(const QStringList &terms)
{
    stillNeeded();
    followTheList();
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
        const std::optional<int> row = rowOf(id);
        const std::optional<SearchHit> hit = row ? m_search.hit(*row) : std::nullopt;
        if (!hit)
            continue; // not ours, or from a list read before this one
        metas.append({{QStringLiteral("id"), id}, {QStringLiteral("name"), hit->name},
            {QStringLiteral("description"), hit->description},
            {QStringLiteral("gicon"), QString::fromLatin1(kIconName)}});
    }
    return metas;
}

void SearchService::activate(const QString &id, const QStringList &terms)
{
    stillNeeded();
    // The number as the list that gave the result has it; a row gone since then leaves
    // the program on its first row.
    m_launcher.launch(terms, codeOf(id));
}

void SearchService::launchSearch(const QStringList &terms)
{
    stillNeeded();
    m_launcher.launch(terms);
}

KRunnerMatches SearchService::matches(const QString &query)
{
    stillNeeded();
    followTheList();
    const QStringList terms = RatesSearch::termsOf(query);
    if (terms.join(QString()).size() < kKRunnerMinLetters)
        return {};
    KRunnerMatches matches;
    double relevance = kFirstRelevance;
    for (int row : m_search.find(terms, kKRunnerMaxMatches)) {
        const SearchHit hit = *m_search.hit(row); // a row find() just gave
        m_termsOfMatch.insert(row, terms);
        KRunnerMatch match;
        match.id = QString::number(row);
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
    // A match from before the service last started has no terms here: the program then
    // shows the whole list, on the chosen row all the same.
    const std::optional<int> row = rowOf(matchId);
    m_launcher.launch(row ? m_termsOfMatch.value(*row) : QStringList(), codeOf(matchId));
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
    Q_UNUSED(timestamp);
    m_service->activate(identifier, terms);
}

void GnomeShellSearchProvider::LaunchSearch(const QStringList &terms, uint timestamp)
{
    Q_UNUSED(timestamp);
    m_service->launchSearch(terms);
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
