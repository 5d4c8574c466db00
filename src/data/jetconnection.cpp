#include "jetconnection.h"

#include "apperror.h"
#include "cp1254.h"
#include "jetpassword.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

// mdbtools.h includes glib inside extern "C", which C++ refuses for glib's templates.
#include <glib.h>
#include <mdbtools.h>

namespace {

constexpr qint64 kJetPageSize = 4096;
// Memos of a rate list run to a few tens of kilobytes; anything up to this size comes
// through whole (mdbtools cuts longer text without telling).
constexpr size_t kBindSize = 4 * 1024 * 1024;

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

// Checks the file's first page before mdbtools sees it: mdbtools trusts what it reads,
// so a file that is not a whole Jet 4 database never reaches it.
void checkDatabaseFile(
    const QString &openPath, const QString &path, const QString &password, int engineType)
{
    QFileInfo info(openPath);
    if (!info.exists() || !info.isFile())
        throw AppError(
            QStringLiteral("Could not find file '%1'.").arg(QDir::toNativeSeparators(path)));

    QFile file(openPath);
    if (!file.open(QIODevice::ReadOnly)) {
        throw AppError(QStringLiteral("Cannot open the database file '%1'. %2")
                           .arg(QDir::toNativeSeparators(path), file.errorString()));
    }
    const QByteArray firstPage = file.read(kJetPageSize);
    const qint64 size = file.size();
    file.close();

    const jetpassword::Format format = jetpassword::formatOf(firstPage);
    if (format != jetpassword::Format::Jet4 || engineType != connectionsettings::kJet4EngineType)
        throw AppError(unrecognised(path));
    // A Jet file is whole pages: the definition page, the system tables and at least
    // one page of its own catalog.
    if (size % kJetPageSize != 0 || size < 3 * kJetPageSize)
        throw AppError(unrecognised(path));
    if (jetpassword::passwordOf(firstPage) != password)
        throw AppError(QStringLiteral("Not a valid password."));
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

struct JetConnection::Handle
{
    MdbHandle *mdb = nullptr;
    ~Handle()
    {
        if (mdb)
            mdb_close(mdb);
    }
};

struct JetTableCursor::Table
{
    MdbTableDef *table = nullptr;
    std::vector<std::unique_ptr<char[]>> buffers;
    std::vector<int> lengths;

    ~Table()
    {
        if (table)
            mdb_free_tabledef(table);
    }

    MdbColumn &column(int index) const
    {
        return *static_cast<MdbColumn *>(g_ptr_array_index(table->columns, guint(index)));
    }
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
    const QString password = propertyOr(m_connectionString, u"Jet OLEDB:Database Password", {});
    bool engineTypeOk = false;
    const int engineType
        = propertyOr(m_connectionString, u"Jet OLEDB:Engine Type", QStringLiteral("5"))
              .toInt(&engineTypeOk);

    const QString openPath = openableDataSource(dataSource);
    m_databasePath = displayedDataSource(openPath);
    checkDatabaseFile(openPath, m_databasePath, password, engineTypeOk ? engineType : -1);

    // Opened for reading only (MDB_NOFLAGS): mdbtools then neither writes to the file
    // nor creates a lock file, so other users of the list are never in the way.
    auto handle = std::make_unique<Handle>();
    handle->mdb = mdb_open(QFile::encodeName(openPath).constData(), MDB_NOFLAGS);
    if (!handle->mdb || !mdb_read_catalog(handle->mdb, MDB_TABLE))
        throw AppError(unrecognised(m_databasePath));
    mdb_set_bind_size(handle->mdb, kBindSize);
    m_handle = std::move(handle);
}

std::unique_ptr<JetTableCursor> JetConnection::openTable(const QString &tableName)
{
    if (!m_handle)
        throw AppError(QStringLiteral("Operation is not allowed when the object is closed."));
    MdbHandle *mdb = m_handle->mdb;

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
    auto table = std::make_unique<JetTableCursor::Table>();
    table->table = mdb_read_table(entry);
    if (!table->table || !mdb_read_columns(table->table))
        throw AppError(damaged(m_databasePath));
    mdb_rewind_table(table->table);

    const int columnCount = int(table->table->num_cols);
    table->buffers.resize(size_t(columnCount));
    table->lengths.assign(size_t(columnCount), 0);
    for (int i = 0; i < columnCount; ++i) {
        // Never written beyond what a row holds, so left uninitialised.
        table->buffers[size_t(i)].reset(new char[kBindSize + 1]);
        mdb_bind_column(
            table->table, i + 1, table->buffers[size_t(i)].get(), &table->lengths[size_t(i)]);
    }
    return std::unique_ptr<JetTableCursor>(new JetTableCursor(std::move(table), m_databasePath));
}

JetTableCursor::JetTableCursor(std::unique_ptr<Table> table, QString databasePath)
    : m_table(std::move(table))
    , m_databasePath(std::move(databasePath))
{
    const int columnCount = int(m_table->table->num_cols);
    m_columns.reserve(size_t(columnCount));
    for (int i = 0; i < columnCount; ++i) {
        const MdbColumn &column = m_table->column(i);
        m_columns.push_back({QString::fromUtf8(column.name), kindOf(column)});
    }
}

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
    if (mdb_fetch_row(m_table->table)) {
        ++m_rowsRead;
        return true;
    }
    if (m_rowsRead < m_table->table->num_rows)
        throw AppError(damaged(m_databasePath));
    return false;
}

bool JetTableCursor::isNull(int column) const
{
    const MdbColumn &col = m_table->column(column);
    if (col.is_fixed)
        return col.cur_value_len == 0;
    return m_table->lengths[size_t(column)] == 0;
}

QByteArray JetTableCursor::text(int column) const
{
    const int length = std::min<int>(m_table->lengths[size_t(column)], int(kBindSize));
    if (length <= 0) {
        // A memo lives on pages of its own; when one of them cannot be read, mdbtools
        // hands out an empty text although the row says how long the memo is.
        const MdbColumn &col = m_table->column(column);
        if (col.col_type == MDB_MEMO && col.cur_value_len >= 4 && col.cur_value_start >= 0
            && col.cur_value_start + 4 <= int(sizeof m_table->table->entry->mdb->pg_buf)) {
            const long memoLength
                = mdb_get_int32(m_table->table->entry->mdb->pg_buf, col.cur_value_start)
                & 0x3fffffff;
            if (memoLength > 0)
                throw AppError(damaged(m_databasePath));
        }
        return {};
    }
    return cp1254::fromUtf8(QByteArrayView(m_table->buffers[size_t(column)].get(), length));
}

std::optional<double> JetTableCursor::number(int column) const
{
    const MdbColumn &col = m_table->column(column);
    if (col.cur_value_len == 0)
        return std::nullopt;
    // The row's bytes are still in the page buffer right after the fetch; reading them
    // there keeps every bit of a double, which its 16-digit text would not.
    void *page = m_table->table->entry->mdb->pg_buf;
    const int start = col.cur_value_start;
    if (start < 0 || start + col.cur_value_len > int(sizeof m_table->table->entry->mdb->pg_buf))
        return std::nullopt;
    switch (col.col_type) {
    case MDB_DOUBLE:
        return mdb_get_double(page, start);
    case MDB_FLOAT:
        return double(mdb_get_single(page, start));
    case MDB_LONGINT:
        return double(mdb_get_int32(page, start));
    case MDB_INT:
        return double(mdb_get_int16(page, start));
    case MDB_BYTE:
        return double(mdb_get_byte(page, start));
    default:
        return std::nullopt;
    }
}
