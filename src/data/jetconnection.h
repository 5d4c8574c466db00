#pragma once

#include "connectionsettings.h"

#include <QByteArray>
#include <QString>

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
    Unknown,
};

QString jetColumnKindName(JetColumnKind kind);

struct JetColumn
{
    QString name;
    JetColumnKind kind;
};

class JetTableCursor;

// The read-only connection to a Jet 4 database (`ADOConnection1`). It reads provider,
// data source, password and mode from its connection string; the data source is
// resolved against the current directory when the connection opens. The file is read
// whole into memory and never locked or written; mdbtools reads the catalog from those
// bytes, the rows are read and checked by jetrows.
class JetConnection
{
public:
    explicit JetConnection(QString connectionString = connectionsettings::render());
    ~JetConnection();

    JetConnection(const JetConnection &) = delete;
    JetConnection &operator=(const JetConnection &) = delete;

    // Throws AppError; afterwards the connection is closed.
    void open();
    void close();
    bool isOpen() const;

    // The full path the data source resolved to at the last opening.
    const QString &databasePath() const { return m_databasePath; }

    // Reads the table from its first row; throws AppError when it does not exist.
    std::unique_ptr<JetTableCursor> openTable(const QString &tableName);

private:
    struct Handle;
    QString m_connectionString;
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

    // Throws AppError, the database's damaged error, when the file contradicts itself
    // anywhere the row's reading passes; at the end, when the rows read are not the
    // rows the table's definition counts.
    bool next();

    QByteArray text(int column) const;
    std::optional<double> number(int column) const;

private:
    friend class JetConnection;
    struct Table;
    JetTableCursor(std::unique_ptr<Table> table, QString databasePath);

    std::unique_ptr<Table> m_table;
    std::vector<JetColumn> m_columns;
    QString m_databasePath;
};
