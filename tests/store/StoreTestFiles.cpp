#include "StoreTestFiles.h"

#include <QFile>
#include <stdexcept>

namespace testing_support {

QString sqlScalar(const QString& path, const QString& sql) {
    sqlite3* db = nullptr;
    QString result;
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr) ==
        SQLITE_OK) {
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &stmt, nullptr) == SQLITE_OK &&
            sqlite3_step(stmt) == SQLITE_ROW) {
            const unsigned char* text = sqlite3_column_text(stmt, 0);
            result = text ? QString::fromUtf8(reinterpret_cast<const char*>(text)) : QString();
        }
        sqlite3_finalize(stmt);
    }
    sqlite3_close(db);
    return result;
}

bool fileIsConsistent(const QString& path) {
    return sqlScalar(path, QStringLiteral("PRAGMA integrity_check")) == QLatin1String("ok") &&
           sqlScalar(path, QStringLiteral("PRAGMA foreign_key_check")).isEmpty();
}

QString sqlExecute(const QString& path, const QString& sql) {
    sqlite3* db = nullptr;
    sqlite3_open(QFile::encodeName(path).constData(), &db);
    char* message = nullptr;
    const int rc = sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &message);
    QString error =
        rc == SQLITE_OK ? QString() : QString::fromUtf8(message ? message : sqlite3_errstr(rc));
    sqlite3_free(message);
    sqlite3_close(db);
    return error;
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFileBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write " + path.toStdString());
}

namespace {

void mustRun(sqlite3* db, const char* sql) {
    char* message = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &message) != SQLITE_OK) {
        const std::string text = message ? message : "failed";
        sqlite3_free(message);
        throw std::runtime_error(std::string(sql) + ": " + text);
    }
}

sqlite3* openRaw(const QString& path) {
    sqlite3* db = nullptr;
    if (sqlite3_open(QFile::encodeName(path).constData(), &db) != SQLITE_OK)
        throw std::runtime_error("cannot open " + path.toStdString());
    return db;
}

} // namespace

void declareTextColumnsAsVersion1(const QString& path) {
    sqlite3* db = openRaw(path);
    mustRun(db, "PRAGMA writable_schema = ON");
    mustRun(db, "UPDATE sqlite_master SET sql = replace(replace(sql, 'MEMO TEXT', 'MEMO'), "
                "'DATETIME TEXT', 'DATETIME') WHERE type = 'table'");
    // The schema is read anew only when its version number changes.
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db, "PRAGMA schema_version", -1, &stmt, nullptr);
    sqlite3_step(stmt);
    const qint64 version = sqlite3_column_int64(stmt, 0);
    sqlite3_finalize(stmt);
    mustRun(db,
            QByteArray("PRAGMA schema_version = " + QByteArray::number(version + 1)).constData());
    mustRun(db, "PRAGMA writable_schema = OFF");
    sqlite3_close(db);
}

void leaveHotJournal(const QString& path, const QString& sql) {
    sqlite3* db = openRaw(path);
    // A small page cache makes the write reach the file before it commits.
    mustRun(db, "PRAGMA journal_mode = DELETE; PRAGMA cache_size = 10; BEGIN");
    mustRun(db, sql.toUtf8().constData());
    const QByteArray halfWritten = fileBytes(path);
    const QByteArray journal = fileBytes(path + QLatin1String("-journal"));
    mustRun(db, "ROLLBACK");
    sqlite3_close(db);
    if (journal.isEmpty() || halfWritten == fileBytes(path))
        throw std::runtime_error("the write did not reach the file before its commit");
    writeFileBytes(path, halfWritten);
    writeFileBytes(path + QLatin1String("-journal"), journal);
}

void leaveWalWithChanges(const QString& path, const QString& sql) {
    sqlite3* db = openRaw(path);
    mustRun(db, "PRAGMA journal_mode = WAL; PRAGMA wal_autocheckpoint = 0");
    const QByteArray before = fileBytes(path);
    mustRun(db, sql.toUtf8().constData());
    const QByteArray wal = fileBytes(path + QLatin1String("-wal"));
    sqlite3_close(db); // copies the changes into the file and removes the WAL file
    if (wal.isEmpty())
        throw std::runtime_error("no WAL file was written");
    writeFileBytes(path, before);
    writeFileBytes(path + QLatin1String("-wal"), wal);
}

} // namespace testing_support
