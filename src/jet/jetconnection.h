// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "connectionsettings.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <vector>

// The storage kinds of Jet columns, as far as the program tells them apart.
enum class JetColumnKind {
    Boolean,
    Byte,
    SmallInt,
    Integer,
    AutoInc,
    Currency,
    Single,
    Float,
    DateTime,
    Binary,
    WideString,
    Blob,
    WideMemo,
    Guid,
    Numeric,
    BigInt, // ACE
    ExtendedDateTime, // ACE
    Complex, // ACE: attachments, multi-valued fields
    Unknown,
};

QString jetColumnKindName(JetColumnKind kind);

struct JetColumn
{
    QString name;
    JetColumnKind kind;
};

class JetTableCursor;

// The read-only connection to a Jet 4 (or ACE) database (`ADOConnection1`). It reads
// provider, data source, password and mode from its connection string; the data source
// is resolved against the current directory when the connection opens. The file is read
// whole into memory and never locked or written; the catalog, the table definitions and
// the rows are read and checked by jetcatalog and jetrows.
class JetConnection
{
public:
    // Diagnostics read files whatever their password; the program never does.
    enum class PasswordCheck { Enforce, Ignore };

    explicit JetConnection(QString connectionString = connectionsettings::render(),
        PasswordCheck passwordCheck = PasswordCheck::Enforce);
    ~JetConnection();

    JetConnection(const JetConnection &) = delete;
    JetConnection &operator=(const JetConnection &) = delete;

    // Throws AppError; afterwards the connection is closed.
    void open();
    void close();
    bool isOpen() const;

    // The full path the data source resolved to at the last opening.
    const QString &databasePath() const { return m_databasePath; }

    // The user tables, in the order the catalog keeps them.
    QStringList tableNames() const;

    // Reads the table from its first row; throws AppError when it does not exist, or
    // when its definition or usage map is damaged.
    std::unique_ptr<JetTableCursor> openTable(const QString &tableName);

private:
    struct Handle;
    QString m_connectionString;
    PasswordCheck m_passwordCheck;
    QString m_databasePath;
    std::unique_ptr<Handle> m_handle;
};

// Walks the rows of one table in the order they are stored. Text comes out as
// Windows-1254 bytes; numbers are read from the row's bytes, never through text.
class JetTableCursor
{
public:
    ~JetTableCursor();

    const std::vector<JetColumn> &columns() const { return m_columns; }
    int columnIndex(QStringView name) const; // -1 when absent; case-insensitive

    // Throws AppError, the database's damaged error naming the table, when the file
    // contradicts itself anywhere the row's reading passes, or at the end, when a row
    // or a long value was read twice.
    bool next();

    bool isNull(int column) const;
    QByteArray text(int column) const;
    std::optional<double> number(int column) const;
    // The value's bytes as stored in the row: for kinds the program does not read.
    QByteArrayView storedBytes(int column) const;

private:
    friend class JetConnection;
    struct Table;
    JetTableCursor(std::unique_ptr<Table> table, QString databasePath, QString tableName);

    std::unique_ptr<Table> m_table;
    std::vector<JetColumn> m_columns;
    QString m_databasePath;
    QString m_tableName;
};
