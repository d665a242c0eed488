#include "exporting/ExportRun.h"

#include "store/Connection.h"

#include <sqlite3.h>

namespace exporting {

ExportRun::ExportRun(sqlite3* db, std::optional<qint64> vehicleId, const ExportProgress& progress)
    : m_db(db), m_vehicleId(vehicleId), m_progress(progress) {}

QString ExportRun::databaseFile() const {
    return QString::fromUtf8(sqlite3_db_filename(m_db, "main"));
}

store::SqlErrorContext ExportRun::context(const QString& table) const {
    return store::SqlErrorContext{databaseFile(), table, false, {}};
}

store::Statement ExportRun::prepare(const QString& sql, const QString& table) const {
    store::Statement stmt(m_db, sql, context(table));
    if (m_vehicleId && sqlite3_bind_parameter_count(stmt.get()) > 0)
        stmt.bind(1, *m_vehicleId);
    return stmt;
}

bool ExportRun::next(store::Statement& stmt, const QString& table) const {
    const int rc = stmt.step();
    if (rc == SQLITE_ROW)
        return true;
    store::checkSqlite(m_db, rc, context(table));
    return false;
}

qint64 ExportRun::scalar(const QString& sql, const QString& table) const {
    store::Statement stmt = prepare(sql, table);
    return next(stmt, table) ? stmt.columnInt64(0) : 0;
}

bool ExportRun::tableExists(const QString& table) const {
    store::Statement stmt(
        m_db, QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ?"),
        context(table));
    stmt.bind(1, table);
    return next(stmt, table);
}

bool ExportRun::tell() {
    return !m_progress || m_progress(m_done, qMax(m_total, m_done));
}

bool ExportRun::finished() {
    m_total = m_done;
    return tell();
}

ReadSnapshot::ReadSnapshot(const ExportRun& run) : m_db(run.db()) {
    if (sqlite3_get_autocommit(m_db)) {
        store::execute(m_db, QStringLiteral("BEGIN"), run.context(QString()));
        m_began = true;
    }
}

ReadSnapshot::~ReadSnapshot() {
    if (m_began)
        sqlite3_exec(m_db, "COMMIT", nullptr, nullptr, nullptr);
}

} // namespace exporting
