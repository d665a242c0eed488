#include "Connection.h"

#include "DatabaseFiles.h"
#include "Statement.h"
#include "StoreErrors.h"

#include <QFile>
#include <QFileInfo>
#include <QUrl>
#include <cerrno>
#include <sqlite3.h>

namespace store {

namespace {

// Long enough to ride out another window's write, short enough to answer the user.
constexpr int kBusyTimeoutMs = 2000;

QVariant singleValue(sqlite3* db, const QString& sql, const SqlErrorContext& context) {
    Statement stmt(db, sql, context);
    const int rc = stmt.step();
    checkSqlite(db, rc, context);
    return rc == SQLITE_ROW ? stmt.column(0) : QVariant();
}

// Nothing stored in a file runs: no trigger fires, no view is read, and functions
// named in the file's layout (an index's expression, a default) are only those
// that cannot do harm. The file cannot be changed other than through rows.
void configureDefensive(sqlite3* db, const SqlErrorContext& context) {
    const struct {
        int option;
        int value;
    } settings[] = {{SQLITE_DBCONFIG_ENABLE_TRIGGER, 0},
                    {SQLITE_DBCONFIG_ENABLE_VIEW, 0},
                    {SQLITE_DBCONFIG_DEFENSIVE, 1},
                    {SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0}};
    for (const auto& setting : settings) {
        int now = -1;
        const int rc = sqlite3_db_config(db, setting.option, setting.value, &now);
        if (rc != SQLITE_OK || now != setting.value)
            raise(errIo, QStringLiteral("The database engine cannot guard the database file "
                                        "'%1' against what is stored in it.")
                             .arg(context.file));
    }
    execute(db, QStringLiteral("PRAGMA trusted_schema = OFF"), context);
}

void configureReading(sqlite3* db, const SqlErrorContext& context) {
    sqlite3_extended_result_codes(db, 1);
    configureDefensive(db, context);
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
    execute(db, QStringLiteral("PRAGMA foreign_keys = ON"), context);
    if (singleValue(db, QStringLiteral("PRAGMA foreign_keys"), context).toLongLong() != 1)
        raise(errIo, QStringLiteral("The database engine cannot enforce the relations of the "
                                    "database file '%1'.")
                         .arg(context.file));
}

void configure(sqlite3* db, const SqlErrorContext& context) {
    configureReading(db, context);
    // A rollback journal keeps the file self-contained (one file to copy or back up)
    // and works in folders other programs only read. A commit ends when the
    // journal is deleted; EXTRA syncs the folder after that, so that a saved row
    // survives a power cut as well as a crash of the program.
    execute(db, QStringLiteral("PRAGMA journal_mode = DELETE"), context);
    execute(db, QStringLiteral("PRAGMA synchronous = EXTRA"), context);
}

} // namespace

void ConnectionCloser::operator()(sqlite3* db) const {
    sqlite3_close_v2(db);
}

ConnectionHandle openConnection(const QString& path, bool create) {
    const SqlErrorContext context{path, {}, false, {}};
    sqlite3* raw = nullptr;
    const int flags = SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0) |
                      SQLITE_OPEN_NOMUTEX | SQLITE_OPEN_PRIVATECACHE;
    const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &raw, flags, nullptr);
    ConnectionHandle db(raw);
    if (rc != SQLITE_OK)
        raiseSqlite(db.get(), rc, context);
    configure(db.get(), context);
    return db;
}

namespace {

// The file's header says WAL mode (read and write versions 2) and no WAL file lies
// beside it, so everything is in the file itself. To read it otherwise, SQLite would
// make a WAL file and a shared-memory file, even for reading only.
bool walModeWithoutWalFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray header = file.read(20);
    return header.startsWith(QByteArray("SQLite format 3", 16)) && header.size() == 20 &&
           header[18] == 2 && header[19] == 2 && !QFileInfo::exists(path + QLatin1String("-wal"));
}

// An "immutable" file is read as it lies: no locks, no journal or WAL file is looked
// at or made.
ConnectionHandle openForReading(const QString& path, bool immutable) {
    const SqlErrorContext context{path, {}, false, {}};
    QByteArray uri = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toEncoded() +
                     QByteArrayLiteral("?mode=ro");
    if (immutable)
        uri += QByteArrayLiteral("&immutable=1");
    sqlite3* raw = nullptr;
    const int flags =
        SQLITE_OPEN_READONLY | SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX | SQLITE_OPEN_PRIVATECACHE;
    const int rc = sqlite3_open_v2(uri.constData(), &raw, flags, nullptr);
    ConnectionHandle db(raw);
    if (rc != SQLITE_OK)
        raiseSqlite(db.get(), rc, context);
    configureReading(db.get(), context);
    return db;
}

// SQLite reads nothing before the first statement; this is the first read.
int firstRead(sqlite3* db) {
    sqlite3_stmt* stmt = nullptr;
    int rc = sqlite3_prepare_v2(db, "SELECT count(*) FROM sqlite_master", -1, &stmt, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_step(stmt);
    sqlite3_finalize(stmt);
    return rc == SQLITE_ROW ? SQLITE_OK : rc;
}

} // namespace

ConnectionHandle openReadOnlyConnection(const QString& path) {
    ConnectionHandle db = openForReading(path, walModeWithoutWalFile(path));
    // A journal a crash left behind is played back by the next writer, not here.
    if (firstRead(db.get()) == SQLITE_READONLY_ROLLBACK)
        db = openForReading(path, true);
    return db;
}

void execute(sqlite3* db, const QString& sql, const SqlErrorContext& context) {
    Statement stmt(db, sql, context);
    int rc;
    while ((rc = stmt.step()) == SQLITE_ROW) {
    }
    checkSqlite(db, rc, context);
}

namespace {

WriteWatch& writeWatch() {
    static WriteWatch watch;
    return watch;
}

} // namespace

void setWriteWatch(WriteWatch watch) {
    writeWatch() = std::move(watch);
}

Transaction::Transaction(sqlite3* db, const SqlErrorContext& context)
    : m_db(db), m_context(context) {
    // The probe at open time and a new file's creation name no table: no change yet.
    if (writeWatch() && !m_context.table.isEmpty())
        writeWatch()(WriteStart{m_context.file, m_context.table, m_context.deleting});
    // A file deleted or replaced while it is open keeps its old contents behind the
    // open handle, where a save would be lost: the name must still lead to that file.
    int moved = 0;
    if (sqlite3_file_control(m_db, "main", SQLITE_FCNTL_HAS_MOVED, &moved) == SQLITE_OK && moved)
        raiseSqlite(m_db, SQLITE_READONLY_DBMOVED, m_context);
    // A file made read-only while it is open could still be written through the
    // open handle; the user's "read-only" is kept, and nothing is touched. A file
    // opened for reading only is refused the same way.
    const QString file = QString::fromUtf8(sqlite3_db_filename(m_db, "main"));
    if (sqlite3_db_readonly(m_db, "main") == 1 || (!file.isEmpty() && !isWritableFile(file)))
        raiseSqlite(m_db, SQLITE_READONLY, m_context);
    execute(m_db, QStringLiteral("BEGIN IMMEDIATE"), m_context);
}

Transaction::~Transaction() {
    if (m_open && !sqlite3_get_autocommit(m_db))
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
}

void Transaction::commit() {
    errno = 0;
    const int rc = sqlite3_exec(m_db, "COMMIT", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) {
        // SQLite keeps the system's reason for a failed write of a statement, not of
        // the commit; errno still holds it then (a full quota, a read-only file).
        const int lastErrno = errno;
        const int code = sqlite3_extended_errcode(m_db);
        const int systemErrno = lastErrno != 0 ? lastErrno : sqlite3_system_errno(m_db);
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
        m_open = false;
        // The connection's message now tells of the rollback: name the first failure.
        raiseSqlite(nullptr, code, m_context, systemErrno);
    }
    m_open = false;
}

} // namespace store
