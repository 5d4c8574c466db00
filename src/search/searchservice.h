// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "search/krunnertypes.h"
#include "search/programlauncher.h"
#include "search/ratessearch.h"

#include <QDBusAbstractAdaptor>
#include <QHash>
#include <QObject>
#include <QStringList>
#include <QTimer>
#include <QVariantMap>

#include <chrono>
#include <functional>

// What the desktop's search asks of the rate list, answered for GNOME Shell and KRunner
// alike by the two adaptors below. Started by D-Bus when a search first needs it, it
// ends after a while without questions; the next question starts it again.
class SearchService : public QObject
{
    Q_OBJECT

public:
    // Which list to read, asked at each new question: the user's own list may come or
    // go while the service runs. The launcher starts the program in that list's folder.
    using ListChooser = std::function<QString()>;

    SearchService(ListChooser whichList, ProgramLauncher launcher,
        std::chrono::milliseconds idleTimeout, QObject *parent = nullptr);

    // KRunner asks at every key: fewer letters than this find too much to be useful (the
    // runner's file asks KRunner for the same), and it shows fewer results than GNOME.
    static constexpr int kKRunnerMinLetters = 3;
    static constexpr int kKRunnerMaxMatches = 10;

    // GNOME Shell: results are row numbers of the list, as text.
    QStringList resultIds(const QStringList &terms);
    QList<QVariantMap> resultMetas(const QStringList &ids);
    // A chosen result: the program opens with the terms searched and that row current.
    void activate(const QString &id, const QStringList &terms);
    // "Search in the program": the terms searched, the first row current.
    void launchSearch(const QStringList &terms);

    // KRunner: a match's id is its row number alone, so KRunner's history keeps one entry
    // per row; Run() is told nothing of the query, so the terms that found each row are
    // kept here.
    KRunnerMatches matches(const QString &query);
    void run(const QString &matchId);

signals:
    // No question for the idle time: the process may end.
    void idle();

private:
    void stillNeeded();
    void followTheList();
    std::optional<QString> codeOf(const QString &id);

    ListChooser m_whichList;
    RatesSearch m_search;
    ProgramLauncher m_launcher;
    QTimer m_idleTimer;
    QHash<int, QStringList> m_termsOfMatch;
};

// org.gnome.Shell.SearchProvider2, as GNOME Shell calls it: names and signatures are
// that interface's.
class GnomeShellSearchProvider : public QDBusAbstractAdaptor
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.gnome.Shell.SearchProvider2")

public:
    explicit GnomeShellSearchProvider(SearchService *service);

public slots:
    QStringList GetInitialResultSet(const QStringList &terms);
    QStringList GetSubsearchResultSet(const QStringList &previousResults, const QStringList &terms);
    QList<QVariantMap> GetResultMetas(const QStringList &identifiers);
    void ActivateResult(const QString &identifier, const QStringList &terms, uint timestamp);
    void LaunchSearch(const QStringList &terms, uint timestamp);

private:
    SearchService *m_service;
};

// org.kde.krunner1, as KRunner's D-Bus runners are called.
class KRunnerProvider : public QDBusAbstractAdaptor
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.krunner1")

public:
    explicit KRunnerProvider(SearchService *service);

public slots:
    KRunnerActions Actions();
    KRunnerMatches Match(const QString &query);
    void Run(const QString &matchId, const QString &actionId);
    void Teardown();

private:
    SearchService *m_service;
};
