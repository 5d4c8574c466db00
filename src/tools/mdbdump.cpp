// SPDX-License-Identifier: GPL-3.0-or-later

#include "jet/apperror.h"
#include "jet/connectionsettings.h"
#include "jet/jetconnection.h"
#include "mdbdumpcells.h"

#include <QCoreApplication>
#include <QDir>
#include <QStringList>

#include <cstdio>

// velkaro-mdb-dump FILE [TABLE]: a Jet 4 or ACE file's user tables as the program reads
// them, whatever the file's password, so that a list a user brings can be compared with
// other readers. Without TABLE: one line per table, its rows and columns or why it was
// refused (exit 1 when any was, 2 when the file cannot be read at all). With TABLE: the
// table as tab-separated text (exit 1 when refused, 3 when there is no such table).

namespace {

constexpr int kTableRefused = 1;
constexpr int kFileUnreadable = 2;
constexpr int kNoSuchTable = 3;

void write(const QByteArray &bytes, std::FILE *to = stdout)
{
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), to);
}

void say(const QString &message)
{
    write(message.toUtf8() + '\n', stderr);
}

// Every row is read before anything is written: a table refused halfway shows nothing.
QByteArray tableText(JetConnection &connection, const QString &name, qsizetype *rowCount)
{
    const std::unique_ptr<JetTableCursor> cursor = connection.openTable(name);
    const int columns = int(cursor->columns().size());
    QByteArray text;
    for (int column = 0; column < columns; ++column) {
        if (column > 0)
            text += '\t';
        text += mdbdumpcells::escaped(cursor->columns()[size_t(column)].name);
    }
    text += '\n';
    qsizetype rows = 0;
    while (cursor->next()) {
        ++rows;
        for (int column = 0; column < columns; ++column) {
            if (column > 0)
                text += '\t';
            text += mdbdumpcells::cell(*cursor, column);
        }
        text += '\n';
    }
    if (rowCount)
        *rowCount = rows;
    return text;
}

int listTables(JetConnection &connection)
{
    int status = 0;
    for (const QString &name : connection.tableNames()) {
        QByteArray line = mdbdumpcells::escaped(name) + '\t';
        try {
            qsizetype rows = 0;
            const std::unique_ptr<JetTableCursor> cursor = connection.openTable(name);
            const auto columns = qsizetype(cursor->columns().size());
            while (cursor->next())
                ++rows;
            line += QByteArray::number(rows) + '\t' + QByteArray::number(columns);
        } catch (const AppError &error) {
            line += "error\t" + mdbdumpcells::escaped(error.message());
            status = kTableRefused;
        }
        write(line + '\n');
    }
    return status;
}

int dumpTable(JetConnection &connection, const QString &name)
{
    if (!connection.tableNames().contains(name, Qt::CaseInsensitive)) {
        say(QStringLiteral("No table '%1'.").arg(name));
        return kNoSuchTable;
    }
    try {
        write(tableText(connection, name, nullptr));
    } catch (const AppError &error) {
        say(error.message());
        return kTableRefused;
    }
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    if (arguments.size() < 1 || arguments.size() > 2) {
        say(QStringLiteral("usage: velkaro-mdb-dump FILE [TABLE]"));
        return kFileUnreadable;
    }
    JetConnection connection(
        connectionsettings::renderFor(QDir::current().absoluteFilePath(arguments.at(0))),
        JetConnection::PasswordCheck::Ignore);
    try {
        connection.open();
        return arguments.size() == 1 ? listTables(connection)
                                     : dumpTable(connection, arguments.at(1));
    } catch (const AppError &error) {
        say(error.message());
        return kFileUnreadable;
    } catch (const std::bad_alloc &) {
        say(QStringLiteral("Out of memory reading '%1'.").arg(arguments.at(0)));
        return kFileUnreadable;
    }
}
