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
    QString code; // the list number alone, which names the row to the program
};

// The rate list as the desktop's search reads it: loaded at the first question, read
// again when the file changes, answered from memory otherwise. A list that cannot be
// read (missing, damaged, unreadable) answers nothing and says why in the log, once
// for each state of the file.
class RatesSearch
{
public:
    static constexpr int kMaxResults = 20;
    // A result's description is cut at a word before this many characters, with "…".
    static constexpr qsizetype kMaxNameLength = 160;

    explicit RatesSearch(QString databasePath);
    ~RatesSearch();
    RatesSearch(const RatesSearch &) = delete;
    RatesSearch &operator=(const RatesSearch &) = delete;

    const QString &databasePath() const { return m_databasePath; }
    // Another list from the next question on (the user's own list came or went).
    void setDatabasePath(const QString &databasePath);

    // The rows whose description holds every term, each compared as the window compares
    // a term box, at most `limit`: first those with a life and a rate (the answers), then
    // the others (headings, mostly), each group in table order. No terms, no rows.
    QList<int> find(const QStringList &terms, int limit = kMaxResults);
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
