#include "exporting/OtherFormatRows.h"

#include "exporting/ExportRun.h"
#include "history/StoredColumns.h"
#include "values/NumberText.h"
#include "values/PartLine.h"

#include <sqlite3.h>

namespace exporting {

using namespace history::stored;

std::vector<ExportedVehicle> exportedVehicles(const ExportRun& run) {
    const QString table = QStringLiteral("VehicleInfo");
    store::Statement stmt = run.prepare(
        run.vehicleId()
            ? QStringLiteral("SELECT VehicleID, VehicleLookup, VehicleModel FROM VehicleInfo "
                             "WHERE VehicleID = ?")
            : QStringLiteral("SELECT VehicleID, VehicleLookup, VehicleModel FROM VehicleInfo ORDER "
                             "BY VehicleID"),
        table);
    std::vector<ExportedVehicle> vehicles;
    while (run.next(stmt, table))
        vehicles.push_back({stmt.columnInt64(0), textAt(stmt, 1), textAt(stmt, 2)});
    return vehicles;
}

QHash<qint64, FuelExtra> fuelExtras(const ExportRun& run) {
    QHash<qint64, FuelExtra> extras;
    const QString table = QStringLiteral("drivolex_fuel_extra");
    if (!run.tableExists(table))
        return extras;
    store::Statement stmt(
        run.db(), QStringLiteral("SELECT FuelId, Note, Tags, Station FROM drivolex_fuel_extra"),
        run.context(table));
    while (run.next(stmt, table))
        extras.insert(stmt.columnInt64(0), {textAt(stmt, 1), textAt(stmt, 2), textAt(stmt, 3)});
    return extras;
}

qint64 OrderRows::partsTotal() const {
    values::WideInteger total = 0;
    for (const OrderPart& part : parts)
        if (part.qty && part.cost)
            total += values::WideInteger(*part.qty) * part.cost->scaled;
    return qint64(total);
}

std::vector<OrderRows> workOrdersOf(const ExportRun& run, qint64 vehicleId) {
    const QString table = QStringLiteral("WorkOrder");
    std::vector<OrderRows> orders;
    QHash<qint64, std::size_t> index;
    store::Statement stmt(run.db(),
                          QStringLiteral("SELECT WorkOrderID, Date, Mileage FROM WorkOrder WHERE "
                                         "VehicleID = ? ORDER BY Date, WorkOrderID"),
                          run.context(table));
    stmt.bind(1, vehicleId);
    while (run.next(stmt, table)) {
        index.insert(stmt.columnInt64(0), orders.size());
        orders.push_back(
            {stmt.columnInt64(0), dateAt(stmt, 1), integerAt(stmt, 2), {}, {}, {}, {}});
    }
    // Each child table in one select, its rows handed to their orders in key order.
    const auto eachChild = [&](const QString& childTable, const QString& sql, auto take) {
        store::Statement child(run.db(), sql, run.context(childTable));
        child.bind(1, vehicleId);
        while (run.next(child, childTable)) {
            const auto found = index.constFind(child.columnInt64(0));
            if (found != index.constEnd())
                take(orders[*found], child);
        }
    };
    eachChild(
        QStringLiteral("WorkDone"),
        QStringLiteral("SELECT d.WorkOrderID, d.WorkDescription FROM WorkDone AS d JOIN "
                       "WorkOrder AS o ON o.WorkOrderID = d.WorkOrderID WHERE o.VehicleID = "
                       "? ORDER BY d.WorkDoneID"),
        [](OrderRows& order, const store::Statement& row) { order.services << textAt(row, 1); });
    eachChild(QStringLiteral("PartsUsed"),
              QStringLiteral("SELECT p.WorkOrderId, p.PartNum, p.PartDescription, p.PartCost, "
                             "p.PartQty FROM PartsUsed AS p JOIN WorkOrder AS o ON o.WorkOrderID = "
                             "p.WorkOrderId WHERE o.VehicleID = ? ORDER BY p.PartID"),
              [](OrderRows& order, const store::Statement& row) {
                  const std::optional<qint64> qty = integerAt(row, 4);
                  order.parts.push_back({textAt(row, 1), textAt(row, 2), currencyAt(row, 3),
                                         qty ? std::optional<int>(int(*qty)) : std::nullopt});
              });
    eachChild(
        QStringLiteral("WorkOrderMemo"),
        QStringLiteral("SELECT m.WorkOrderID, m.WorkOrderMemo FROM WorkOrderMemo AS m JOIN "
                       "WorkOrder AS o ON o.WorkOrderID = m.WorkOrderID WHERE o.VehicleID = ?"),
        [](OrderRows& order, const store::Statement& row) { order.note = textAt(row, 1); });
    if (run.tableExists(QStringLiteral("drivolex_workorder_extra")))
        eachChild(
            QStringLiteral("drivolex_workorder_extra"),
            QStringLiteral("SELECT x.WorkOrderID, x.Tags FROM drivolex_workorder_extra AS x "
                           "JOIN WorkOrder AS o ON o.WorkOrderID = x.WorkOrderID WHERE "
                           "o.VehicleID = ?"),
            [](OrderRows& order, const store::Statement& row) { order.tags = textAt(row, 1); });
    return orders;
}

QString singleText(std::optional<float> value) {
    return value ? values::shortestFixedText(*value) : QString();
}

QString currencyText(std::optional<values::Currency> value) {
    return value ? value->toString() : QString();
}

} // namespace exporting
