#include "RowWriter.h"

#include "history/MissedMarks.h"
#include "store/Names.h"
#include "store/Schema.h"
#include "store/ValueConversion.h"

#include <sqlite3.h>

namespace importing {

namespace {

template <class T> QVariant optionalValue(const std::optional<T>& value) {
    return value ? QVariant::fromValue(*value) : QVariant();
}

} // namespace

RowWriter::RowWriter(sqlite3* db, const store::SqlErrorContext& context)
    : m_db(db), m_context(context), m_extras(db, context) {
    m_vehicle = prepare("VehicleInfo", {"VehicleLookup", "VehicleMake", "VehicleModel",
                                        "VehicleYear", "VehicleSerialNum"});
    m_fuel = prepare("Fuel", {"FuelDate", "FuelGals", "FuelMiles", "FuelFull", "FuelCost",
                              "FuelCity", "FuelState", "VehicleID"});
    m_workOrder = prepare("WorkOrder", {"VehicleID", "Mileage", "Date"});
    m_workDone = prepare("WorkDone", {"WorkOrderID", "WorkDescription"});
    m_part =
        prepare("PartsUsed", {"PartNum", "PartDescription", "PartCost", "WorkOrderId", "PartQty"});
    m_memo = prepare("WorkOrderMemo", {"WorkOrderMemo", "WorkOrderID"});
}

RowWriter::Insert RowWriter::prepare(const char* table, std::initializer_list<const char*> fields) {
    Insert insert;
    insert.table = QLatin1String(table);
    const store::schema::TableLayout& layout = store::schema::table(insert.table);
    QStringList names, marks;
    for (const char* field : fields) {
        for (const store::schema::FieldLayout& stored : layout.fields)
            if (qstrcmp(stored.name, field) == 0)
                insert.fields.emplace_back(QLatin1String(stored.name), stored.type, stored.size);
        names << store::quoted(QLatin1String(field));
        marks << QStringLiteral("?");
    }
    insert.stmt =
        store::Statement(m_db,
                         QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                             .arg(store::quoted(insert.table), names.join(QLatin1String(", ")),
                                  marks.join(QLatin1String(", "))),
                         m_context);
    return insert;
}

qint64 RowWriter::insert(Insert& insert, std::initializer_list<QVariant> values) {
    int index = 0;
    for (const QVariant& value : values) {
        insert.stmt.bind(index + 1, store::toStorage(insert.fields[size_t(index)], value));
        ++index;
    }
    return run(insert.stmt, insert.table);
}

qint64 RowWriter::run(store::Statement& stmt, const QString& table) {
    store::ResetGuard done(stmt);
    store::SqlErrorContext context = m_context;
    context.table = table;
    store::checkSqlite(m_db, stmt.step(), context);
    return sqlite3_last_insert_rowid(m_db);
}

qint64 RowWriter::addVehicle(const QString& lookUp, const FittedVehicle& vehicle) {
    const qint64 id = insert(m_vehicle, {lookUp, vehicle.make, vehicle.model,
                                         optionalValue(vehicle.year), vehicle.serialNum});
    m_extras.addVehicle(id, vehicle.extra);
    return id;
}

qint64 RowWriter::addFuel(qint64 vehicleId, const FittedFuel& row) {
    const qint64 id =
        insert(m_fuel, {row.date, optionalValue(row.gallons), optionalValue(row.odometer), row.full,
                        optionalValue(row.cost), row.city, row.state, vehicleId});
    if (row.missed) {
        if (!m_missed.get()) {
            history::createMissedTable(m_db, m_context);
            m_missed = store::Statement(
                m_db, QStringLiteral("INSERT INTO drivolex_fuel_missed (FuelId) VALUES (?)"),
                m_context);
        }
        m_missed.bind(1, id);
        run(m_missed, QStringLiteral("drivolex_fuel_missed"));
    }
    m_extras.addFuel(id, row.extra);
    return id;
}

qint64 RowWriter::addWorkOrder(qint64 vehicleId, const FittedWorkOrder& row) {
    const qint64 id = insert(m_workOrder, {vehicleId, optionalValue(row.mileage), row.date});
    for (const QString& service : row.services)
        if (!service.isEmpty())
            insert(m_workDone, {id, service});
    for (const FittedPart& part : row.parts)
        insert(m_part, {part.number, part.description, optionalValue(part.cost), id,
                        optionalValue(part.qty)});
    if (row.note && !row.note->isEmpty())
        insert(m_memo, {*row.note, id});
    m_extras.addWorkOrder(id, row.extra);
    return id;
}

} // namespace importing
