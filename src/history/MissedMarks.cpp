#include "MissedMarks.h"

#include "store/Connection.h"
#include "store/Statement.h"

#include <sqlite3.h>

namespace history {

namespace {

const QString kTable = QStringLiteral("drivolex_fuel_missed");

store::SqlErrorContext contextOf(sqlite3* db) {
    return store::SqlErrorContext{
        QString::fromUtf8(sqlite3_db_filename(db, "main")), kTable, false, {}};
}

bool stepsToRow(sqlite3* db, store::Statement& stmt) {
    const int rc = stmt.step();
    store::checkSqlite(db, rc, contextOf(db));
    return rc == SQLITE_ROW;
}

} // namespace

bool hasMissedTable(sqlite3* db) {
    store::Statement stmt(db,
                          QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'table' AND "
                                         "name = 'drivolex_fuel_missed'"),
                          contextOf(db));
    return stepsToRow(db, stmt);
}

bool isMissed(sqlite3* db, qint64 fuelId) {
    if (!hasMissedTable(db))
        return false;
    store::Statement stmt(db, QStringLiteral("SELECT 1 FROM drivolex_fuel_missed WHERE FuelId = ?"),
                          contextOf(db));
    stmt.bind(1, fuelId);
    return stepsToRow(db, stmt);
}

QSet<qint64> missedFuelIds(sqlite3* db, qint64 vehicleId) {
    QSet<qint64> ids;
    if (!hasMissedTable(db))
        return ids;
    store::Statement stmt(db,
                          QStringLiteral("SELECT m.FuelId FROM drivolex_fuel_missed AS m JOIN Fuel "
                                         "AS f ON f.FuelId = m.FuelId WHERE f.VehicleID = ?"),
                          contextOf(db));
    stmt.bind(1, vehicleId);
    while (stepsToRow(db, stmt))
        ids.insert(stmt.columnInt64(0));
    return ids;
}

QSet<qint64> everyMissedFuelId(sqlite3* db) {
    QSet<qint64> ids;
    if (!hasMissedTable(db))
        return ids;
    store::Statement stmt(db, QStringLiteral("SELECT FuelId FROM drivolex_fuel_missed"),
                          contextOf(db));
    while (stepsToRow(db, stmt))
        ids.insert(stmt.columnInt64(0));
    return ids;
}

void setMissed(sqlite3* db, qint64 fuelId, bool missed) {
    store::SqlErrorContext context = contextOf(db);
    context.deleting = !missed;
    // Clearing a mark on a file that never had one changes nothing and writes nothing.
    if (!missed && !hasMissedTable(db))
        return;
    store::Transaction transaction(db, context);
    if (missed)
        createMissedTable(db, context);
    store::Statement change(db,
                            missed ? QStringLiteral("INSERT OR IGNORE INTO drivolex_fuel_missed "
                                                    "(FuelId) VALUES (?)")
                                   : QStringLiteral("DELETE FROM drivolex_fuel_missed WHERE "
                                                    "FuelId = ?"),
                            context);
    change.bind(1, fuelId);
    store::checkSqlite(db, change.step(), context);
    transaction.commit();
}

void createMissedTable(sqlite3* db, const store::SqlErrorContext& context) {
    store::execute(db,
                   QStringLiteral("CREATE TABLE IF NOT EXISTS drivolex_fuel_missed (FuelId "
                                  "INTEGER PRIMARY KEY REFERENCES Fuel (FuelId) ON DELETE "
                                  "CASCADE)"),
                   context);
}

bool MissedMarkReader::isMissed(sqlite3* db, qint64 fuelId) {
    if (db != m_db)
        forget();
    if (!m_looked) {
        m_db = db;
        m_looked = true;
        if (hasMissedTable(db))
            m_select = store::Statement(
                db, QStringLiteral("SELECT 1 FROM drivolex_fuel_missed WHERE FuelId = ?"),
                contextOf(db));
    }
    if (!m_select.get())
        return false;
    // Reset at once: no read stays open on the file between the user's actions.
    store::ResetGuard done(m_select);
    m_select.bind(1, fuelId);
    return stepsToRow(db, m_select);
}

void MissedMarkReader::forget() {
    m_select = store::Statement();
    m_db = nullptr;
    m_looked = false;
}

} // namespace history
