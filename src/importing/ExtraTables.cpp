#include "ExtraTables.h"

#include "store/Connection.h"

#include <optional>
#include <sqlite3.h>

namespace importing {

namespace {

store::SqlErrorContext contextOf(sqlite3* db, const char* table) {
    return store::SqlErrorContext{
        QString::fromUtf8(sqlite3_db_filename(db, "main")), QLatin1String(table), false, {}};
}

bool hasTable(sqlite3* db, const char* table) {
    const store::SqlErrorContext context = contextOf(db, table);
    store::Statement stmt(
        db, QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ?"),
        context);
    stmt.bind(1, QLatin1String(table));
    const int rc = stmt.step();
    store::checkSqlite(db, rc, context);
    return rc == SQLITE_ROW;
}

// Null for no text, so that a reader tells "not kept" from an empty value.
QVariant textOrNull(const QString& text) {
    return text.isEmpty() ? QVariant() : QVariant(text);
}

// Reads rows of (key, texts...) into a map, each value made by `make`.
template <class Extra, class Make>
std::map<qint64, Extra> readExtras(sqlite3* db, const char* table, const QString& sql,
                                   std::optional<qint64> vehicleId, Make make) {
    std::map<qint64, Extra> extras;
    if (!hasTable(db, table))
        return extras;
    const store::SqlErrorContext context = contextOf(db, table);
    store::Statement stmt(db, sql, context);
    if (vehicleId)
        stmt.bind(1, *vehicleId);
    int rc;
    while ((rc = stmt.step()) == SQLITE_ROW)
        extras.emplace(stmt.columnInt64(0), make(stmt));
    store::checkSqlite(db, rc, context);
    return extras;
}

} // namespace

bool FuelExtra::isEmpty() const {
    return note.isEmpty() && tags.isEmpty() && station.isEmpty() && city.isEmpty() &&
           state.isEmpty();
}

void createExtraTables(sqlite3* db, const store::SqlErrorContext& context) {
    store::execute(db,
                   QStringLiteral("CREATE TABLE IF NOT EXISTS drivolex_fuel_extra (FuelId INTEGER "
                                  "PRIMARY KEY REFERENCES Fuel (FuelId) ON DELETE CASCADE, Note "
                                  "TEXT, Tags TEXT, Station TEXT, City TEXT, State TEXT)"),
                   context);
    store::execute(db,
                   QStringLiteral("CREATE TABLE IF NOT EXISTS drivolex_workorder_extra "
                                  "(WorkOrderID INTEGER PRIMARY KEY REFERENCES WorkOrder "
                                  "(WorkOrderID) ON DELETE CASCADE, Tags TEXT)"),
                   context);
    store::execute(db,
                   QStringLiteral("CREATE TABLE IF NOT EXISTS drivolex_vehicle_extra (VehicleID "
                                  "INTEGER PRIMARY KEY REFERENCES VehicleInfo (VehicleID) ON "
                                  "DELETE CASCADE, Make TEXT, Model TEXT, SerialNum TEXT)"),
                   context);
}

ExtraWriter::ExtraWriter(sqlite3* db, const store::SqlErrorContext& context)
    : m_db(db), m_context(context) {}

store::Statement& ExtraWriter::prepared(store::Statement& insert, const QString& sql) {
    // The tables come with the first value kept aside: an import that keeps none
    // leaves the file's layout as it was.
    if (!m_made) {
        createExtraTables(m_db, m_context);
        m_made = true;
    }
    if (!insert.get())
        insert = store::Statement(m_db, sql, m_context);
    return insert;
}

void ExtraWriter::run(store::Statement& insert) {
    store::ResetGuard done(insert);
    store::checkSqlite(m_db, insert.step(), m_context);
}

void ExtraWriter::addFuel(qint64 fuelId, const FuelExtra& extra) {
    if (extra.isEmpty())
        return;
    store::Statement& insert =
        prepared(m_fuel, QStringLiteral("INSERT INTO drivolex_fuel_extra (FuelId, Note, Tags, "
                                        "Station, City, State) VALUES (?, ?, ?, ?, ?, ?)"));
    insert.bind(1, fuelId);
    insert.bind(2, textOrNull(extra.note));
    insert.bind(3, textOrNull(extra.tags));
    insert.bind(4, textOrNull(extra.station));
    insert.bind(5, textOrNull(extra.city));
    insert.bind(6, textOrNull(extra.state));
    run(insert);
}

void ExtraWriter::addWorkOrder(qint64 workOrderId, const WorkOrderExtra& extra) {
    if (extra.isEmpty())
        return;
    store::Statement& insert = prepared(
        m_workOrder,
        QStringLiteral("INSERT INTO drivolex_workorder_extra (WorkOrderID, Tags) VALUES (?, ?)"));
    insert.bind(1, workOrderId);
    insert.bind(2, textOrNull(extra.tags));
    run(insert);
}

void ExtraWriter::addVehicle(qint64 vehicleId, const VehicleExtra& extra) {
    if (extra.isEmpty())
        return;
    store::Statement& insert =
        prepared(m_vehicle, QStringLiteral("INSERT INTO drivolex_vehicle_extra (VehicleID, "
                                           "Make, Model, SerialNum) VALUES (?, ?, ?, ?)"));
    insert.bind(1, vehicleId);
    insert.bind(2, textOrNull(extra.make));
    insert.bind(3, textOrNull(extra.model));
    insert.bind(4, textOrNull(extra.serialNum));
    run(insert);
}

std::map<qint64, FuelExtra> fuelExtras(sqlite3* db, qint64 vehicleId) {
    return readExtras<FuelExtra>(
        db, "drivolex_fuel_extra",
        QStringLiteral("SELECT e.FuelId, e.Note, e.Tags, e.Station, e.City, e.State FROM "
                       "drivolex_fuel_extra AS e JOIN Fuel AS f ON f.FuelId = e.FuelId WHERE "
                       "f.VehicleID = ?"),
        vehicleId, [](const store::Statement& stmt) {
            return FuelExtra{stmt.columnText(1), stmt.columnText(2), stmt.columnText(3),
                             stmt.columnText(4), stmt.columnText(5)};
        });
}

std::map<qint64, WorkOrderExtra> workOrderExtras(sqlite3* db, qint64 vehicleId) {
    return readExtras<WorkOrderExtra>(
        db, "drivolex_workorder_extra",
        QStringLiteral("SELECT e.WorkOrderID, e.Tags FROM drivolex_workorder_extra AS e JOIN "
                       "WorkOrder AS w ON w.WorkOrderID = e.WorkOrderID WHERE w.VehicleID = ?"),
        vehicleId, [](const store::Statement& stmt) { return WorkOrderExtra{stmt.columnText(1)}; });
}

std::map<qint64, VehicleExtra> vehicleExtras(sqlite3* db) {
    return readExtras<VehicleExtra>(
        db, "drivolex_vehicle_extra",
        QStringLiteral("SELECT VehicleID, Make, Model, SerialNum FROM drivolex_vehicle_extra"),
        std::nullopt, [](const store::Statement& stmt) {
            return VehicleExtra{stmt.columnText(1), stmt.columnText(2), stmt.columnText(3)};
        });
}

} // namespace importing
