#include "FileCheck.h"

#include "platform/AppError.h"
#include "store/Database.h"
#include "store/DatabaseFiles.h"
#include "store/FileChecks.h"
#include "store/Schema.h"

#include <sqlite3.h>

namespace backup {

namespace {

// The first row of a check's answer, or the engine's error; empty when it has none.
QString firstAnswer(sqlite3* db, const char* sql, bool* failed) {
    sqlite3_stmt* stmt = nullptr;
    int rc = sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr);
    QString answer;
    if (rc == SQLITE_OK)
        rc = sqlite3_step(stmt);
    if (rc == SQLITE_ROW) {
        QStringList values;
        for (int column = 0; column < sqlite3_column_count(stmt); ++column)
            values << QString::fromUtf8(
                reinterpret_cast<const char*>(sqlite3_column_text(stmt, column)));
        answer = values.join(QLatin1Char(' '));
    } else if (rc != SQLITE_DONE) {
        *failed = true;
        answer = QString::fromUtf8(sqlite3_errmsg(db));
    }
    sqlite3_finalize(stmt);
    return answer;
}

CheckResult unsound(const QString& path, const QString& what) {
    return CheckResult{false,
                       QStringLiteral("The database file '%1' is not sound: %2.").arg(path, what)};
}

} // namespace

CheckResult checkFile(const QString& path, bool pagesChecked) {
    // A missing or unreadable file is no answer about the file: it throws.
    store::checkExistingDatabasePath(path, false);
    try {
        const auto database =
            store::Database::OpenDatabase(path, store::Database::Access::ReadOnly);
        sqlite3* db = database->handle();
        const store::SqlErrorContext context{path, {}, false, {}};
        bool failed = false;
        if (!pagesChecked) {
            // A cut file first: SQLite would read its missing pages as zeros.
            store::checkWholeFile(db, context);
            const QString pages = firstAnswer(db, "PRAGMA integrity_check(1)", &failed);
            if (failed || pages != QLatin1String("ok"))
                return unsound(path, QStringLiteral("damaged pages (%1)").arg(pages));
        }
        // A row naming an owner that is not there: table, row, owning table.
        const QString orphan = firstAnswer(db, "PRAGMA foreign_key_check", &failed);
        if (failed || !orphan.isEmpty())
            return unsound(path, QStringLiteral("a row without its owner (%1)").arg(orphan));
        store::checkNothingRuns(db, context);
        store::schema::verifyLayout(*database);
    } catch (const platform::AppError& error) {
        return CheckResult{false, error.text()};
    }
    return CheckResult{true, {}};
}

} // namespace backup
