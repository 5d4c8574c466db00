// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class JetConnection;
class RatesQuery;

// One result as the desktop's search shows it.
struct SearchHit
{
    QString name; // the list number and the description, on one line
    QString description; // "N yıl · %R", or the part of it the row has
};

// The rate list as the desktop's search reads it: loaded at the first question, read
// again when the file changes, answered from memory otherwise. A list that cannot be
// read (missing, damaged, unreadable) answers nothing and says why in the log, once
// for each state of the file.
class RatesSearch
{
public:
    static constexpr int kMaxResults = 20;

    explicit RatesSearch(QString databasePath);
    ~RatesSearch();
    RatesSearch(const RatesSearch &) = delete;
    RatesSearch &operator=(const RatesSearch &) = delete;

    const QString &databasePath() const { return m_databasePath; }

    // The rows whose description holds every term, each compared as the window compares
    // a term box, in table order, at most kMaxResults. No terms, no rows.
    QList<int> find(const QStringList &terms);
    // A row of the list as the last question read it, so that ids handed out by find()
    // keep naming the same rows; a service started afresh reads the list first. Nothing
    // when the list has no such row.
    std::optional<SearchHit> hit(int row);
    int rowCount() const;

    // Splits what the user typed into terms at white space, as GNOME Shell does before
    // it asks.
    static QStringList termsOf(const QString &query);

private:
    struct FileStamp
    {
        bool exists = false;
        qint64 size = 0;
        QDateTime modified;
        QDateTime changed;
        bool operator==(const FileStamp &) const = default;
    };
    FileStamp currentStamp() const;
    void refresh();

    QString m_databasePath;
    std::optional<FileStamp> m_loadedStamp;
    std::unique_ptr<JetConnection> m_connection;
    std::unique_ptr<RatesQuery> m_query;
};
