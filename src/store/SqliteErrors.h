#pragma once

#include <QString>
#include <functional>

struct sqlite3;

namespace store {

// What the caller knows about a failing SQLite call, so that the error can name
// the file, the table or the owning table of a relation.
struct SqlErrorContext {
    QString file;
    QString table;
    bool deleting = false; // a refused delete means related rows exist, not a missing owner
    // The primary table whose row a refused insert or change needs; asked only then.
    std::function<QString()> primaryTable;
};

// Throws the store's error for SQLite's (extended) result code rc. For a failed
// file operation the system's error number (SQLite keeps it on the connection)
// tells a full disk or quota and a file that became read-only from other faults.
[[noreturn]] void raiseSqlite(sqlite3* db, int rc, const SqlErrorContext& context);
[[noreturn]] void raiseSqlite(sqlite3* db, int rc, const SqlErrorContext& context, int systemErrno);

// Throws unless rc is SQLITE_OK, SQLITE_ROW or SQLITE_DONE.
inline void checkSqlite(sqlite3* db, int rc, const SqlErrorContext& context) {
    if (rc != 0 && rc != 100 && rc != 101)
        raiseSqlite(db, rc, context);
}

} // namespace store
