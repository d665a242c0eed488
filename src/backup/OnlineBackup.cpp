#include "OnlineBackup.h"

#include "store/Connection.h"
#include "store/FileReplace.h"
#include "store/StoreErrors.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

namespace backup {

namespace {

// Pages copied per step: small enough for the progress to move and a cancel to be
// felt at once, large enough that the steps cost nothing beside the copying.
constexpr int kPagesPerStep = 1024;
constexpr int kBusyTimeoutMs = 500;

// `copy` names the copy in a message: "The backup '/path'".
[[noreturn]] void fail(int number, const QString& copy, const QString& reason) {
    store::raise(number, QStringLiteral("%1 could not be written: %2.").arg(copy, reason));
}

QString sqliteReason(sqlite3* db, int rc) {
    const int systemErrno = db ? sqlite3_system_errno(db) : 0;
    if ((rc & 0xff) == SQLITE_FULL || systemErrno == ENOSPC || systemErrno == EDQUOT)
        return QStringLiteral("the disk is full");
    if (systemErrno != 0)
        return QString::fromLocal8Bit(std::strerror(systemErrno));
    return QString::fromUtf8(sqlite3_errstr(rc));
}

int errorNumber(sqlite3* db, int rc) {
    const int systemErrno = db ? sqlite3_system_errno(db) : 0;
    if ((rc & 0xff) == SQLITE_FULL || systemErrno == ENOSPC || systemErrno == EDQUOT)
        return store::errDiskFull;
    if ((rc & 0xff) == SQLITE_READONLY || (rc & 0xff) == SQLITE_PERM ||
        (rc & 0xff) == SQLITE_CANTOPEN || systemErrno == EACCES || systemErrno == EROFS)
        return store::errReadOnly;
    return store::errIo;
}

// The copy is a plain file with no journal: it is written once, by us alone, and
// a crash leaves only the temporary name, which nothing reads.
store::ConnectionHandle openCopy(const QString& path, const QString& copy) {
    sqlite3* raw = nullptr;
    const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &raw,
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE |
                                       SQLITE_OPEN_NOMUTEX | SQLITE_OPEN_PRIVATECACHE,
                                   nullptr);
    store::ConnectionHandle db(raw);
    if (rc != SQLITE_OK)
        fail(errorNumber(db.get(), rc), copy, sqliteReason(db.get(), rc));
    sqlite3_extended_result_codes(db.get(), 1);
    sqlite3_exec(db.get(), "PRAGMA journal_mode = OFF", nullptr, nullptr, nullptr);
    sqlite3_exec(db.get(), "PRAGMA synchronous = OFF", nullptr, nullptr, nullptr);
    return db;
}

void copyPages(sqlite3* from, sqlite3* to, const QString& copy, const Progress& progress) {
    sqlite3_backup* job = sqlite3_backup_init(to, "main", from, "main");
    if (!job)
        fail(errorNumber(to, sqlite3_errcode(to)), copy, QString::fromUtf8(sqlite3_errmsg(to)));
    int rc;
    for (;;) {
        rc = sqlite3_backup_step(job, kPagesPerStep);
        if (rc != SQLITE_OK && rc != SQLITE_BUSY && rc != SQLITE_LOCKED && rc != SQLITE_DONE)
            break;
        // The source's busy timeout has waited for another program's commit already:
        // a lock still held is not waited for again.
        if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED) {
            sqlite3_backup_finish(job);
            fail(store::errLocked, copy, QStringLiteral("another program holds the database file"));
        }
        // Also after the last step: until the rename, a cancel still leaves nothing.
        const int total = sqlite3_backup_pagecount(job);
        if (progress && !progress(total - sqlite3_backup_remaining(job), total)) {
            sqlite3_backup_finish(job);
            store::raise(store::errInvalidOperation, QStringLiteral("%1 was cancelled.").arg(copy));
        }
        if (rc == SQLITE_DONE)
            break;
    }
    sqlite3_backup_finish(job);
    if (rc != SQLITE_DONE)
        fail(errorNumber(to, rc), copy, sqliteReason(to, rc));
}

void checkCopy(sqlite3* db, const QString& copy) {
    sqlite3_stmt* stmt = nullptr;
    int rc = sqlite3_prepare_v2(db, "PRAGMA integrity_check(1)", -1, &stmt, nullptr);
    QString answer;
    if (rc == SQLITE_OK && (rc = sqlite3_step(stmt)) == SQLITE_ROW)
        answer = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
    sqlite3_finalize(stmt);
    if (answer != QLatin1String("ok"))
        fail(store::errCannotOpen, copy,
             answer.isEmpty() ? sqliteReason(db, rc)
                              : QStringLiteral("the copy failed its check (%1)").arg(answer));
}

void syncFile(const QString& path, const QString& copy) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
    if (fd < 0 || ::fsync(fd) != 0) {
        const int code = errno;
        if (fd >= 0)
            ::close(fd);
        fail(code == ENOSPC ? store::errDiskFull : store::errIo, copy,
             QString::fromLocal8Bit(std::strerror(code)));
    }
    ::close(fd);
}

} // namespace

void writeBackup(const QString& source, const QString& destination, const Progress& progress,
                 const QString& described) {
    const QString copy =
        described.isEmpty() ? QStringLiteral("The backup '%1'").arg(destination) : described;
    if (destination.trimmed().isEmpty())
        store::raise(store::errFileNotFound, QStringLiteral("No name was given for the backup."));
    if (QFileInfo(destination).absoluteFilePath() == QFileInfo(source).absoluteFilePath() ||
        (QFileInfo::exists(destination) &&
         QFileInfo(destination).canonicalFilePath() == QFileInfo(source).canonicalFilePath()))
        fail(store::errInvalidOperation, copy, QStringLiteral("it is the database file itself"));
    if (!QFileInfo(QFileInfo(destination).absolutePath()).isDir())
        fail(store::errFileNotFound, copy, QStringLiteral("its folder does not exist"));
    if (QFileInfo(destination).isDir())
        fail(store::errInvalidOperation, copy, QStringLiteral("it is a folder"));

    store::ConnectionHandle from = store::openReadOnlyConnection(source);
    // Long enough for another program's commit; a backup taken before a save must not
    // hold the save up for long when the file is locked.
    sqlite3_busy_timeout(from.get(), kBusyTimeoutMs);
    const QString temporary = store::asideFileName(destination);
    try {
        {
            store::ConnectionHandle to = openCopy(temporary, copy);
            copyPages(from.get(), to.get(), copy, progress);
            checkCopy(to.get(), copy);
        }
        syncFile(temporary, copy);
        store::replaceFile(temporary, destination);
    } catch (...) {
        QFile::remove(temporary);
        throw;
    }
}

} // namespace backup
