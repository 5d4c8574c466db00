#include "jetconnection.h"

#include "apperror.h"
#include "jetpassword.h"
#include "jetrows.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

// mdbtools.h includes glib inside extern "C", which C++ refuses for glib's templates.
#include <glib.h>
#include <mdbtools.h>

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
    return QStringLiteral("Unrecognized database format '%1'.").arg(QDir::toNativeSeparators(path));
}

QString damaged(const QString &path)
{
    return QStringLiteral("The database '%1' is damaged or incomplete.")
        .arg(QDir::toNativeSeparators(path));
}

// Opens the file for reading only; it stays open while connected, so that each reading
// of a table sees the same file even when the folder is renamed, and nothing is ever
// written or locked.
std::unique_ptr<QFile> openDatabaseFile(const QString &openPath, const QString &path)
{
    QFileInfo info(openPath);
    if (!info.exists() || !info.isFile())
        throw AppError(
            QStringLiteral("Could not find file '%1'.").arg(QDir::toNativeSeparators(path)));
    auto file = std::make_unique<QFile>(openPath);
    if (!file->open(QIODevice::ReadOnly)) {
        throw AppError(QStringLiteral("Cannot open the database file '%1'. %2")
                           .arg(QDir::toNativeSeparators(path), file->errorString()));
    }
    return file;
}

// Every check and every row works on the whole file read at once.
QByteArray readDatabaseFile(QFile &file, const QString &path)
{
    QByteArray bytes;
    if (file.seek(0))
        bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        throw AppError(QStringLiteral("Cannot open the database file '%1'. %2")
                           .arg(QDir::toNativeSeparators(path), file.errorString()));
    }
    return bytes;
}

// Checks the file's first page before mdbtools sees it: mdbtools trusts what it reads,
// so a file that is not a whole Jet 4 database never reaches it.
void checkDatabaseFile(
    const QString &path, QByteArrayView bytes, const QString &password, int engineType)
{
    const QByteArrayView firstPage = bytes.first(std::min(bytes.size(), jetrows::kPageSize));
    const jetpassword::Format format = jetpassword::formatOf(firstPage);
    if (format != jetpassword::Format::Jet4 || engineType != connectionsettings::kJet4EngineType)
        throw AppError(unrecognised(path));
    // A Jet file is whole pages: the definition page, the system tables and at least
    // one page of its own catalog.
    if (bytes.size() % jetrows::kPageSize != 0 || bytes.size() < 3 * jetrows::kPageSize)
        throw AppError(unrecognised(path));
    // Jet asks for the database password only when the file has one.
    const QString stored = jetpassword::passwordOf(firstPage).value_or(QString());
    if (!stored.isEmpty() && stored != password)
        throw AppError(QStringLiteral("Not a valid password."));
}

jetrows::Storage storageOf(const MdbColumn &column)
{
    switch (column.col_type) {
    case MDB_BOOL:
        return jetrows::Storage::Boolean;
    case MDB_BYTE:
        return jetrows::Storage::Byte;
    case MDB_INT:
        return jetrows::Storage::Int16;
    case MDB_LONGINT:
        return jetrows::Storage::Int32;
    case MDB_FLOAT:
        return jetrows::Storage::Float32;
    case MDB_DOUBLE:
        return jetrows::Storage::Float64;
    case MDB_TEXT:
        return jetrows::Storage::Text;
    case MDB_MEMO:
        return jetrows::Storage::Memo;
    default:
        return jetrows::Storage::Other;
    }
}

JetColumnKind kindOf(const MdbColumn &column)
{
    switch (column.col_type) {
    case MDB_BOOL:
        return JetColumnKind::Boolean;
    case MDB_BYTE:
        return JetColumnKind::Byte;
    case MDB_INT:
        return JetColumnKind::SmallInt;
    case MDB_LONGINT:
        return column.is_long_auto ? JetColumnKind::AutoInc : JetColumnKind::Integer;
    case MDB_MONEY:
        return JetColumnKind::Currency;
    case MDB_FLOAT:
        return JetColumnKind::Single;
    case MDB_DOUBLE:
        return JetColumnKind::Float;
    case MDB_DATETIME:
        return JetColumnKind::DateTime;
    case MDB_BINARY:
        return JetColumnKind::Binary;
    case MDB_TEXT:
        return JetColumnKind::WideString;
    case MDB_OLE:
        return JetColumnKind::Blob;
    case MDB_MEMO:
        return JetColumnKind::WideMemo;
    case MDB_REPID:
        return JetColumnKind::Guid;
    case MDB_NUMERIC:
        return JetColumnKind::Numeric;
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
    case JetColumnKind::Unknown:
        break;
    }
    return QStringLiteral("Unknown");
}

namespace {

// The file's bytes with mdbtools reading its catalog from them.
struct Database
{
    QByteArray bytes;
    MdbHandle *mdb = nullptr;

    Database() = default;
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;
    ~Database()
    {
        if (mdb)
            mdb_close(mdb);
    }
};

std::unique_ptr<Database> openDatabase(
    QFile &file, const QString &path, const QString &password, int engineType)
{
    auto database = std::make_unique<Database>();
    database->bytes = readDatabaseFile(file, path);
    checkDatabaseFile(path, database->bytes, password, engineType);
    // Read-only (MDB_NOFLAGS) from memory: mdbtools never sees the file itself.
    database->mdb
        = mdb_open_buffer(database->bytes.data(), size_t(database->bytes.size()), MDB_NOFLAGS);
    if (!database->mdb || !mdb_read_catalog(database->mdb, MDB_TABLE))
        throw AppError(unrecognised(path));
    return database;
}

struct TableDefinition
{
    MdbTableDef *table = nullptr;

    TableDefinition() = default;
    TableDefinition(const TableDefinition &) = delete;
    TableDefinition &operator=(const TableDefinition &) = delete;
    ~TableDefinition()
    {
        if (table)
            mdb_free_tabledef(table);
    }
    MdbColumn &column(int index) const
    {
        return *static_cast<MdbColumn *>(g_ptr_array_index(table->columns, guint(index)));
    }
};

} // namespace

struct JetConnection::Handle
{
    Handle() = default;
    Handle(const Handle &) = delete;
    Handle &operator=(const Handle &) = delete;

    QString password;
    int engineType = -1;
    std::unique_ptr<QFile> file;
    // The bytes read when connecting serve the first table read; later reads (each
    // reopening of the query) read the file afresh, as Jet would, and nothing of it
    // stays in memory between them.
    std::unique_ptr<Database> connected;
};

// The reader looks into `bytes`: a copy would leave it reading the original's.
struct JetTableCursor::Table
{
    Table() = default;
    Table(const Table &) = delete;
    Table &operator=(const Table &) = delete;

    QByteArray bytes;
    std::vector<JetColumn> columns;
    std::optional<jetrows::TableReader> reader;
};

JetConnection::JetConnection(QString connectionString)
    : m_connectionString(std::move(connectionString))
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
        throw AppError(
            QStringLiteral("Provider cannot be found. It may not be properly installed."));
    }
    const QString dataSource = propertyOr(m_connectionString, u"Data Source", {});
    if (dataSource.isEmpty())
        throw AppError(QStringLiteral("No data source is given in the connection string."));
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
    handle->connected
        = openDatabase(*handle->file, m_databasePath, handle->password, handle->engineType);
    m_handle = std::move(handle);
}

std::unique_ptr<JetTableCursor> JetConnection::openTable(const QString &tableName)
{
    if (!m_handle)
        throw AppError(QStringLiteral("Operation is not allowed when the object is closed."));
    std::unique_ptr<Database> database = m_handle->connected
        ? std::move(m_handle->connected)
        : openDatabase(*m_handle->file, m_databasePath, m_handle->password, m_handle->engineType);
    MdbHandle *mdb = database->mdb;

    MdbCatalogEntry *entry = nullptr;
    for (guint i = 0; mdb->catalog && i < mdb->catalog->len; ++i) {
        auto *candidate = static_cast<MdbCatalogEntry *>(g_ptr_array_index(mdb->catalog, i));
        if (candidate->object_type == MDB_TABLE
            && tableName.compare(QString::fromUtf8(candidate->object_name), Qt::CaseInsensitive)
                == 0) {
            entry = candidate;
            break;
        }
    }
    if (!entry) {
        throw AppError(QStringLiteral("Cannot find the input table or query '%1'. Make sure it "
                                      "exists and that its name is spelled correctly.")
                           .arg(tableName));
    }
    TableDefinition definition;
    definition.table = mdb_read_table(entry);
    if (!definition.table || !mdb_read_columns(definition.table))
        throw AppError(damaged(m_databasePath));

    auto table = std::make_unique<JetTableCursor::Table>();
    std::vector<jetrows::ColumnLayout> layouts;
    const int columnCount = int(definition.table->num_cols);
    for (int i = 0; i < columnCount; ++i) {
        const MdbColumn &column = definition.column(i);
        table->columns.push_back({QString::fromUtf8(column.name), kindOf(column)});
        jetrows::ColumnLayout layout;
        layout.storage = storageOf(column);
        layout.fixed = column.is_fixed != 0;
        layout.nullBit = column.col_num;
        layout.fixedOffset = column.fixed_offset;
        layout.varIndex = int(column.var_col_num);
        layout.size = column.col_size;
        layout.autoIncrement = column.is_long_auto != 0;
        layouts.push_back(layout);
    }
    const auto definitionPage = std::uint32_t(entry->table_pg);
    // The rows are read from the bytes alone; mdbtools is done once the columns are known.
    table->bytes = std::move(database->bytes);
    try {
        table->reader.emplace(table->bytes, definitionPage, std::move(layouts));
    } catch (const jetrows::DamagedFile &) {
        throw AppError(damaged(m_databasePath));
    }
    return std::unique_ptr<JetTableCursor>(new JetTableCursor(std::move(table), m_databasePath));
}

JetTableCursor::JetTableCursor(std::unique_ptr<Table> table, QString databasePath)
    : m_table(std::move(table))
    , m_columns(std::move(m_table->columns))
    , m_databasePath(std::move(databasePath))
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
        if (!m_table->reader->next())
            return false;
    } catch (const jetrows::DamagedFile &) {
        throw AppError(damaged(m_databasePath));
    }
    return true;
}

QByteArray JetTableCursor::text(int column) const
{
    return m_table->reader->text(column);
}

std::optional<double> JetTableCursor::number(int column) const
{
    return m_table->reader->number(column);
}
