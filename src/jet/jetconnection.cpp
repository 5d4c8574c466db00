// SPDX-License-Identifier: GPL-3.0-or-later

#include "jetconnection.h"

#include "apperror.h"
#include "datalog.h"
#include "jetcatalog.h"
#include "jetpassword.h"
#include "jetrows.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>

#ifdef Q_OS_LINUX
#include <sys/mman.h>
#endif

namespace {

QString propertyOr(const QString &connectionString, QStringView name, const QString &fallback)
{
    return connectionsettings::value(connectionString, name).value_or(fallback);
}

// The data source as the system opens it: written in the Windows form, where the
// backslash separates folders on every platform. A relative path stays relative, so that
// the system resolves it against the current directory itself: a folder name that is not
// valid in the locale's encoding loses bytes on its way to text and back.
QString openableDataSource(const QString &dataSource)
{
    QString path = dataSource;
    path.replace(u'\\', u'/');
    return QDir::cleanPath(path);
}

// The full path, for the user to read in messages.
QString displayedDataSource(const QString &openable)
{
    return QDir::cleanPath(QDir::current().absoluteFilePath(openable));
}

QString unrecognised(const QString &path)
{
    return QCoreApplication::translate("JetConnection", "Unrecognized database format '%1'.")
        .arg(QDir::toNativeSeparators(path));
}

// The user learns which table; the log says what is wrong and where, for whoever
// looks into the file.
AppError damagedTable(const QString &path, const QString &table, const jetrows::DamagedFile &damage)
{
    qCWarning(lcData).nospace() << "Refused " << path << ", table " << table << ": "
                                << damage.what() << " (page " << damage.page() << ", row "
                                << damage.row() << ")";
    return AppError(QCoreApplication::translate(
        "JetConnection", "The database '%1' is damaged or incomplete (table '%2').")
                        .arg(QDir::toNativeSeparators(path), table));
}

// Opening and reading fail alike for the user: the file and the system's reason.
AppError cannotOpen(const QString &path, const QFile &file)
{
    return AppError(
        QCoreApplication::translate("JetConnection", "Cannot open the database file '%1'. %2")
            .arg(QDir::toNativeSeparators(path), file.errorString()));
}

// Opens the file for reading only; it stays open while connected, so that each reading
// of a table sees the same file even when the folder is renamed, and nothing is ever
// written or locked.
std::unique_ptr<QFile> openDatabaseFile(const QString &openPath, const QString &path)
{
    QFileInfo info(openPath);
    if (!info.exists() || !info.isFile())
        throw AppError(QCoreApplication::translate("JetConnection", "Could not find file '%1'.")
                           .arg(QDir::toNativeSeparators(path)));
    auto file = std::make_unique<QFile>(openPath);
    if (!file->open(QIODevice::ReadOnly))
        throw cannotOpen(path, *file);
    return file;
}

// A large list is read into memory that the kernel may back with large pages: a
// 400 MB file otherwise costs a hundred thousand page faults on the way in, and the
// reader's jumps between data and long-value pages miss the address cache at each page.
void adviseLargePages(char *bytes, qsizetype size)
{
#ifdef Q_OS_LINUX
    constexpr qsizetype kLargePage = qsizetype(2) * 1024 * 1024;
    const auto misalignment = qsizetype(reinterpret_cast<quintptr>(bytes) % kLargePage);
    char *const begin = bytes + (kLargePage - misalignment) % kLargePage;
    char *const end = bytes + size - (misalignment + size) % kLargePage;
    if (end > begin)
        madvise(begin, size_t(end - begin), MADV_HUGEPAGE);
#else
    Q_UNUSED(bytes);
    Q_UNUSED(size);
#endif
}

// Every check and every row works on the whole file read at once. Windows lets nobody
// replace a file a program holds open, so there the file is open only for the read and
// each later read opens the file now at that path; elsewhere it stays open, and every
// read sees the file the program opened even after it was replaced.
QByteArray readDatabaseFile(QFile &file, const QString &path)
{
#ifdef Q_OS_WIN
    if (!file.isOpen() && !file.open(QIODevice::ReadOnly))
        throw cannotOpen(path, file);
    const auto closeAfterRead = qScopeGuard([&file] { file.close(); });
#endif
    constexpr qsizetype kLargeFile = qsizetype(16) * 1024 * 1024;
    QByteArray bytes;
    if (file.seek(0)) {
        const qint64 expected = file.size();
        if (expected >= kLargeFile && qint64(qsizetype(expected)) == expected) {
            bytes.resize(qsizetype(expected));
            adviseLargePages(bytes.data(), bytes.size());
            qsizetype filled = 0;
            while (filled < bytes.size()) {
                const qint64 read = file.read(bytes.data() + filled, bytes.size() - filled);
                if (read <= 0)
                    break;
                filled += qsizetype(read);
            }
            bytes.truncate(filled);
            // A file that grew meanwhile is read to its end, as readAll() would.
            if (filled == expected && file.error() == QFileDevice::NoError)
                bytes.append(file.readAll());
        } else {
            bytes = file.readAll();
        }
    }
    if (file.error() != QFileDevice::NoError)
        throw cannotOpen(path, file);
    return bytes;
}

// Checks the file's first page before any table is read: a file that is not a whole
// Jet 4 or ACE database, or whose pages are enciphered, never reaches the reader.
void checkDatabaseFile(const QString &path, QByteArrayView bytes, const QString &password,
    int engineType, JetConnection::PasswordCheck passwordCheck)
{
    const QByteArrayView firstPage = bytes.first(std::min(bytes.size(), jetrows::kPageSize));
    const jetpassword::Format format = jetpassword::formatOf(firstPage);
    if ((format != jetpassword::Format::Jet4 && format != jetpassword::Format::Ace)
        || engineType != connectionsettings::kJet4EngineType)
        throw AppError(unrecognised(path));
    // A Jet file is whole pages: the definition page, the system tables and at least
    // one page of its own catalog.
    if (bytes.size() % jetrows::kPageSize != 0 || bytes.size() < 3 * jetrows::kPageSize)
        throw AppError(unrecognised(path));
    // ACE has no plain database password: one set there enciphers the file.
    if (jetpassword::isEncrypted(firstPage)) {
        throw AppError(QCoreApplication::translate("JetConnection",
            "The database '%1' is encrypted and cannot be read. Save "
            "it without a password or encryption.")
                           .arg(QDir::toNativeSeparators(path)));
    }
    // Jet asks for the database password only when the file has one.
    const QString stored = jetpassword::passwordOf(firstPage).value_or(QString());
    if (passwordCheck == JetConnection::PasswordCheck::Enforce && !stored.isEmpty()
        && stored != password)
        throw AppError(QCoreApplication::translate("JetConnection", "Not a valid password."));
}

JetColumnKind kindOf(const jetrows::ColumnLayout &column)
{
    namespace type = jetrows::columntype;
    switch (column.type) {
    case type::kBoolean:
        return JetColumnKind::Boolean;
    case type::kByte:
        return JetColumnKind::Byte;
    case type::kInt16:
        return JetColumnKind::SmallInt;
    case type::kInt32:
        return column.autoIncrement ? JetColumnKind::AutoInc : JetColumnKind::Integer;
    case type::kCurrency:
        return JetColumnKind::Currency;
    case type::kFloat32:
        return JetColumnKind::Single;
    case type::kFloat64:
        return JetColumnKind::Float;
    case type::kDateTime:
        return JetColumnKind::DateTime;
    case type::kBinary:
        return JetColumnKind::Binary;
    case type::kText:
        return JetColumnKind::WideString;
    case type::kOle:
        return JetColumnKind::Blob;
    case type::kMemo:
        return JetColumnKind::WideMemo;
    case type::kGuid:
        return JetColumnKind::Guid;
    case type::kNumeric:
        return JetColumnKind::Numeric;
    case type::kBigInt:
        return JetColumnKind::BigInt;
    case type::kExtendedDateTime:
        return JetColumnKind::ExtendedDateTime;
    case type::kComplex:
        return JetColumnKind::Complex;
    default:
        return JetColumnKind::Unknown;
    }
}

} // namespace

QString jetColumnKindName(JetColumnKind kind)
{
    switch (kind) {
    case JetColumnKind::Boolean:
        return QStringLiteral("Boolean");
    case JetColumnKind::Byte:
        return QStringLiteral("Byte");
    case JetColumnKind::SmallInt:
        return QStringLiteral("SmallInt");
    case JetColumnKind::Integer:
        return QStringLiteral("Integer");
    case JetColumnKind::AutoInc:
        return QStringLiteral("AutoInc");
    case JetColumnKind::Currency:
        return QStringLiteral("Currency");
    case JetColumnKind::Single:
        return QStringLiteral("Single");
    case JetColumnKind::Float:
        return QStringLiteral("Float");
    case JetColumnKind::DateTime:
        return QStringLiteral("DateTime");
    case JetColumnKind::Binary:
        return QStringLiteral("VarBytes");
    case JetColumnKind::WideString:
        return QStringLiteral("WideString");
    case JetColumnKind::Blob:
        return QStringLiteral("Blob");
    case JetColumnKind::WideMemo:
        return QStringLiteral("WideMemo");
    case JetColumnKind::Guid:
        return QStringLiteral("Guid");
    case JetColumnKind::Numeric:
        return QStringLiteral("BCD");
    case JetColumnKind::BigInt:
        return QStringLiteral("LargeInt");
    case JetColumnKind::ExtendedDateTime:
        return QStringLiteral("DateTime2");
    case JetColumnKind::Complex:
        return QStringLiteral("Complex");
    case JetColumnKind::Unknown:
        break;
    }
    return QStringLiteral("Unknown");
}

namespace {

// The file's bytes with the user tables its catalog lists.
struct Database
{
    QByteArray bytes;
    std::vector<jetcatalog::Table> tables;
};

std::unique_ptr<Database> openDatabase(QFile &file, const QString &path, const QString &password,
    int engineType, JetConnection::PasswordCheck passwordCheck)
{
    auto database = std::make_unique<Database>();
    database->bytes = readDatabaseFile(file, path);
    checkDatabaseFile(path, database->bytes, password, engineType, passwordCheck);
    try {
        database->tables = jetcatalog::userTables(database->bytes);
    } catch (const jetrows::DamagedFile &damage) {
        throw damagedTable(path, QStringLiteral("MSysObjects"), damage);
    }
    return database;
}

} // namespace

struct JetConnection::Handle
{
    QString password;
    int engineType = -1;
    std::unique_ptr<QFile> file;
    // The bytes read when connecting serve the first table read; later reads (each
    // reopening of the query) read the file afresh, as Jet would, and nothing of it
    // stays in memory between them.
    std::unique_ptr<Database> connected;
    QStringList tableNames;
};

// The reader looks into `bytes`: a copy would leave it reading the original's.
struct JetTableCursor::Table
{
    QByteArray bytes;
    std::vector<JetColumn> columns;
    std::optional<jetrows::TableReader> reader;
};

JetConnection::JetConnection(QString connectionString, PasswordCheck passwordCheck)
    : m_connectionString(std::move(connectionString))
    , m_passwordCheck(passwordCheck)
{ }

JetConnection::~JetConnection() = default;

bool JetConnection::isOpen() const
{
    return m_handle != nullptr;
}

void JetConnection::close()
{
    m_handle.reset();
}

void JetConnection::open()
{
    close();
    const QString provider = propertyOr(m_connectionString, u"Provider", {});
    if (provider.compare(QLatin1String(connectionsettings::kJetProvider.data(),
                             qsizetype(connectionsettings::kJetProvider.size())),
            Qt::CaseInsensitive)
        != 0) {
        throw AppError(QCoreApplication::translate(
            "JetConnection", "Provider cannot be found. It may not be properly installed."));
    }
    const QString dataSource = propertyOr(m_connectionString, u"Data Source", {});
    if (dataSource.isEmpty())
        throw AppError(QCoreApplication::translate(
            "JetConnection", "No data source is given in the connection string."));
    auto handle = std::make_unique<Handle>();
    handle->password = propertyOr(m_connectionString, u"Jet OLEDB:Database Password", {});
    bool engineTypeOk = false;
    const int engineType
        = propertyOr(m_connectionString, u"Jet OLEDB:Engine Type", QStringLiteral("5"))
              .toInt(&engineTypeOk);
    handle->engineType = engineTypeOk ? engineType : -1;

    const QString openPath = openableDataSource(dataSource);
    m_databasePath = displayedDataSource(openPath);
    handle->file = openDatabaseFile(openPath, m_databasePath);
    handle->connected = openDatabase(
        *handle->file, m_databasePath, handle->password, handle->engineType, m_passwordCheck);
    for (const jetcatalog::Table &table : handle->connected->tables)
        handle->tableNames.append(table.name);
    m_handle = std::move(handle);
}

QStringList JetConnection::tableNames() const
{
    return m_handle ? m_handle->tableNames : QStringList();
}

std::unique_ptr<JetTableCursor> JetConnection::openTable(const QString &tableName)
{
    if (!m_handle)
        throw AppError(QCoreApplication::translate(
            "JetConnection", "Operation is not allowed when the object is closed."));
    std::unique_ptr<Database> database = m_handle->connected
        ? std::move(m_handle->connected)
        : openDatabase(*m_handle->file, m_databasePath, m_handle->password, m_handle->engineType,
            m_passwordCheck);

    const auto entry = std::find_if(database->tables.begin(), database->tables.end(),
        [&tableName](const jetcatalog::Table &table) {
            return tableName.compare(table.name, Qt::CaseInsensitive) == 0;
        });
    if (entry == database->tables.end()) {
        throw AppError(QCoreApplication::translate("JetConnection",
            "Cannot find the input table or query '%1'. Make sure it "
            "exists and that its name is spelled correctly.")
                           .arg(tableName));
    }
    auto table = std::make_unique<JetTableCursor::Table>();
    // The rows are read from the bytes alone, which the cursor keeps.
    table->bytes = std::move(database->bytes);
    try {
        jetrows::TableDefinition definition
            = jetrows::readDefinition(table->bytes, entry->definitionPage);
        for (const jetrows::ColumnLayout &column : definition.columns)
            table->columns.push_back({column.name, kindOf(column)});
        table->reader.emplace(table->bytes, std::move(definition));
    } catch (const jetrows::DamagedFile &damage) {
        throw damagedTable(m_databasePath, entry->name, damage);
    }
    return std::unique_ptr<JetTableCursor>(
        new JetTableCursor(std::move(table), m_databasePath, entry->name));
}

JetTableCursor::JetTableCursor(
    std::unique_ptr<Table> table, QString databasePath, QString tableName)
    : m_table(std::move(table))
    , m_columns(std::move(m_table->columns))
    , m_databasePath(std::move(databasePath))
    , m_tableName(std::move(tableName))
{ }

JetTableCursor::~JetTableCursor() = default;

int JetTableCursor::columnIndex(QStringView name) const
{
    for (size_t i = 0; i < m_columns.size(); ++i) {
        if (m_columns[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    }
    return -1;
}

bool JetTableCursor::next()
{
    try {
        return m_table->reader->next();
    } catch (const jetrows::DamagedFile &damage) {
        throw damagedTable(m_databasePath, m_tableName, damage);
    }
}

bool JetTableCursor::isNull(int column) const
{
    return m_table->reader->isNull(column);
}

QByteArray JetTableCursor::text(int column) const
{
    return m_table->reader->text(column);
}

std::optional<double> JetTableCursor::number(int column) const
{
    return m_table->reader->number(column);
}

QByteArrayView JetTableCursor::storedBytes(int column) const
{
    return m_table->reader->storedBytes(column);
}
