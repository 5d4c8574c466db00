// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "search/krunnertypes.h"
#include "search/programlauncher.h"
#include "search/ratessearch.h"

#include <QDBusAbstractAdaptor>
#include <QObject>
#include <QStringList>
#include <QTimer>
#include <QVariantMap>

#include <chrono>

// What the desktop's search asks of the rate list, answered for GNOME Shell and KRunner
// alike by the two adaptors below. Started by D-Bus when a search first needs it, it
// ends after a while without questions; the next question starts it again.
class SearchService : public QObject
{
    Q_OBJECT

public:
    SearchService(QString databasePath, ProgramLauncher launcher,
        std::chrono::milliseconds idleTimeout, QObject *parent = nullptr);

    // GNOME Shell: results are row numbers of the list, as text.
    QStringList resultIds(const QStringList &terms);
    QList<QVariantMap> resultMetas(const QStringList &ids);
    void activate(const QStringList &terms);

    // KRunner: a match's id also carries the term the program is started with, since
    // Run() is told nothing of the query.
    KRunnerMatches matches(const QString &query);
    void run(const QString &matchId);

signals:
    // No question for the idle time: the process may end.
    void idle();

private:
    void stillNeeded();

    RatesSearch m_search;
    ProgramLauncher m_launcher;
    QTimer m_idleTimer;
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
