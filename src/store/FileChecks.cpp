#include "FileChecks.h"

#include "Statement.h"
#include "StoreErrors.h"

#include <QFileInfo>
#include <sqlite3.h>

namespace store {

namespace {

qint64 pragmaNumber(sqlite3* db, const char* pragma, const SqlErrorContext& context) {
    Statement stmt(db, QString::fromLatin1(pragma), context);
    const int rc = stmt.step();
    checkSqlite(db, rc, context);
    return rc == SQLITE_ROW ? stmt.columnInt64(0) : 0;
}

// Steps the statement once: whether it found a row; an error throws.
bool found(sqlite3* db, Statement& stmt, const SqlErrorContext& context) {
    const int rc = stmt.step();
    checkSqlite(db, rc, context);
    return rc == SQLITE_ROW;
}

// Tables the file itself stores, not virtual ones another tool's module serves.
constexpr const char* kStoredTables = "t.type = 'table' AND t.sql NOT LIKE 'CREATE VIRTUAL%'";

[[noreturn]] void refuse(const SqlErrorContext& context, const QString& what) {
    raise(errNotADatabase, QStringLiteral("The database file '%1' holds %2, which this program "
                                          "does not make; the file is not used.")
                               .arg(context.file, what));
}

} // namespace

void checkWholeFile(sqlite3* db, const SqlErrorContext& context) {
    // The connection uses a rollback journal, so every page lives in the file itself.
    const qint64 pageSize = pragmaNumber(db, "PRAGMA page_size", context);
    const qint64 pages = pragmaNumber(db, "PRAGMA page_count", context);
    const qint64 size = QFileInfo(QString::fromUtf8(sqlite3_db_filename(db, "main"))).size();
    if (pageSize <= 0 || size < pages * pageSize || size % pageSize != 0)
        raiseSqlite(db, SQLITE_CORRUPT, context);

    Statement check(db, QStringLiteral("PRAGMA quick_check(1)"), context);
    const int rc = check.step();
    checkSqlite(db, rc, context);
    if (rc != SQLITE_ROW || check.columnText(0) != QLatin1String("ok"))
        raiseSqlite(db, SQLITE_CORRUPT, context);
}

void checkNothingRuns(sqlite3* db, const SqlErrorContext& context) {
    Statement objects(db,
                      QStringLiteral("SELECT type, name FROM sqlite_master WHERE type IN "
                                     "('trigger', 'view') ORDER BY rowid LIMIT 1"),
                      context);
    if (found(db, objects, context))
        refuse(context,
               QStringLiteral("a %1 named '%2'").arg(objects.columnText(0), objects.columnText(1)));

    // Key columns of an expression have no column number (-2); a partial index is
    // marked in the index list.
    Statement indexes(
        db,
        QStringLiteral("SELECT i.name FROM sqlite_master AS t, pragma_index_list(t.name) AS i "
                       "WHERE %1 AND (i.partial = 1 OR EXISTS (SELECT 1 FROM "
                       "pragma_index_xinfo(i.name) AS c WHERE c.key = 1 AND c.cid = -2)) LIMIT 1")
            .arg(QLatin1String(kStoredTables)),
        context);
    if (found(db, indexes, context))
        refuse(context, QStringLiteral("an index named '%1' over an expression or a condition")
                            .arg(indexes.columnText(0)));

    // Hidden 2 and 3: a computed (generated) column, virtual or stored.
    Statement computed(db,
                       QStringLiteral("SELECT t.name, c.name FROM sqlite_master AS t, "
                                      "pragma_table_xinfo(t.name) AS c WHERE %1 "
                                      "AND c.hidden IN (2, 3) LIMIT 1")
                           .arg(QLatin1String(kStoredTables)),
                       context);
    if (found(db, computed, context))
        refuse(context, QStringLiteral("a computed field '%1' in table '%2'")
                            .arg(computed.columnText(1), computed.columnText(0)));
}

} // namespace store
