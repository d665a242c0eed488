// A file is trusted only when it earns it: a damaged file and one holding objects
// that would run inside it are refused at open and never written; what another
// program stores in an open file never runs.
#include "StoreTestSupport.h"

#include "store/StoreErrors.h"

#include <QFile>
#include <functional>
#include <sqlite3.h>

using namespace store;
using namespace store_test;

namespace {

QByteArray bytesOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("unreadable");
}

// Runs SQL on the file with a plain connection of its own, as another program does.
void runOnFile(const QString& path, const char* sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(path).constData(), &db), SQLITE_OK);
    char* message = nullptr;
    const int rc = sqlite3_exec(db, sql, nullptr, nullptr, &message);
    const std::string text = message ? message : "";
    sqlite3_free(message);
    sqlite3_close(db);
    ASSERT_EQ(rc, SQLITE_OK) << text << " in " << sql;
}

qint64 numberOnFile(const QString& path, const char* sql) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* stmt = nullptr;
    qint64 value = -1;
    if (sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr) == SQLITE_OK &&
        sqlite3_step(stmt) == SQLITE_ROW)
        value = sqlite3_column_int64(stmt, 0);
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return value;
}

// A closed file of the small schema with an owner and enough trips for the Trip
// table to fill several pages.
struct ClosedFile : TinyDb {
    ClosedFile() {
        const qint64 owner = addOwner(QStringLiteral("Ann"));
        db.reset();
        runOnFile(path, QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 "
                                       "FROM n WHERE i < 300) INSERT INTO Trip (OwnerID, Miles) "
                                       "SELECT %1, i FROM n")
                            .arg(owner)
                            .toUtf8()
                            .constData());
    }
};

// Writes bytes over part of the file, leaving its size alone.
void overwrite(const QString& path, qint64 offset, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.seek(offset));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

} // namespace

TEST(FileChecks, DamagedFilesAreRefusedAndNotWritten) {
    const struct {
        const char* name;
        std::function<void(const QString&)> damage;
    } cases[] = {
        {"cut by one byte",
         [](const QString& path) {
             QFile file(path);
             ASSERT_TRUE(file.resize(file.size() - 1));
         }},
        {"a table page written over",
         [](const QString& path) {
             // The Trip table's first page, past the file's own header.
             const qint64 pageSize = numberOnFile(path, "PRAGMA page_size");
             const qint64 root =
                 numberOnFile(path, "SELECT rootpage FROM sqlite_master WHERE name = 'Trip'");
             ASSERT_GT(root, 1);
             overwrite(path, (root - 1) * pageSize, QByteArray(16, '\x7f'));
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ClosedFile file;
        ASSERT_NO_FATAL_FAILURE(c.damage(file.path));
        const QByteArray before = bytesOf(file.path);
        const platform::AppError error = storeError([&] { Database::OpenDatabase(file.path); });
        EXPECT_EQ(error.number(), errCannotOpen) << error.text().toStdString();
        EXPECT_TRUE(error.text().contains(file.path)) << error.text().toStdString();
        EXPECT_TRUE(error.text().contains(QLatin1String("damaged"))) << error.text().toStdString();
        EXPECT_TRUE(bytesOf(file.path) == before) << "the damaged file was written";
        EXPECT_FALSE(QFile::exists(file.path + QStringLiteral("-journal")));
    }
}

TEST(FileChecks, FilesHoldingWhatWouldRunAreRefusedAndNotWritten) {
    const struct {
        const char* sql;
        const char* named;
    } cases[] = {
        {"CREATE TRIGGER wipe AFTER INSERT ON Trip BEGIN DELETE FROM Owner; END", "wipe"},
        {"CREATE VIEW AllTrips AS SELECT * FROM Trip", "AllTrips"},
        {"CREATE INDEX Shouted ON Owner (upper(OwnerName))", "Shouted"},
        {"CREATE INDEX Some ON Owner (OwnerName) WHERE OwnerName > 'M'", "Some"},
        {"ALTER TABLE Owner ADD COLUMN Twice TEXT AS (OwnerName || OwnerName)", "Twice"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sql);
        ClosedFile file;
        ASSERT_NO_FATAL_FAILURE(runOnFile(file.path, c.sql));
        const QByteArray before = bytesOf(file.path);
        const platform::AppError error = storeError([&] { Database::OpenDatabase(file.path); });
        EXPECT_EQ(error.number(), errNotADatabase) << error.text().toStdString();
        EXPECT_TRUE(error.text().contains(file.path)) << error.text().toStdString();
        EXPECT_TRUE(error.text().contains(QLatin1String(c.named))) << error.text().toStdString();
        EXPECT_TRUE(bytesOf(file.path) == before) << "the file was written";
    }
}

// Another program adds a trigger and a view after the file passed its checks: a save
// does not fire the trigger, and the view cannot be read through the store.
TEST(FileChecks, WhatAnotherProgramStoresInAnOpenFileNeverRuns) {
    TinyDb file;
    const qint64 owner = file.addOwner(QStringLiteral("Ann"));
    file.addTrip(owner, QStringLiteral("3/15/2024"), 10);
    ASSERT_NO_FATAL_FAILURE(
        runOnFile(file.path, "CREATE TRIGGER wipe AFTER INSERT ON Trip BEGIN DELETE FROM Trip; END;"
                             "CREATE VIEW Everything AS SELECT * FROM Trip"));

    file.addTrip(owner, QStringLiteral("3/16/2024"), 20);
    EXPECT_EQ(file.count(QStringLiteral("Trip")), 2) << "the trigger fired";

    const auto viewReads = [](const Database& db) {
        sqlite3_stmt* stmt = nullptr;
        const int rc =
            sqlite3_prepare_v2(db.handle(), "SELECT count(*) FROM Everything", -1, &stmt, nullptr);
        sqlite3_finalize(stmt);
        return rc == SQLITE_OK;
    };
    EXPECT_FALSE(viewReads(*file.db));
    EXPECT_FALSE(viewReads(*Database::OpenDatabase(file.path, Database::Access::ReadOnly)));
}
