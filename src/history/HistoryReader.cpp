#include "HistoryReader.h"

#include "FillOrder.h"
#include "MissedMarks.h"
#include "RepeatedTexts.h"
#include "StoredColumns.h"
#include "store/Statement.h"
#include "values/PartLine.h"

#include <QHash>
#include <algorithm>
#include <sqlite3.h>

namespace history {

namespace {

using namespace stored;

// The missed marks come from a select of their own (a few rows) rather than a join,
// which would look up every fuel row in the marks' table. Unordered, the rows come
// back without going through SQLite's sorter; FillOrder then puts them in order.
QString fuelSelect(bool oneVehicle, bool withPlaces, bool ordered) {
    QString sql = QStringLiteral(
        "SELECT FuelId, VehicleID, FuelDate, FuelMiles, FuelGals, FuelFull, FuelCost, ");
    // Columns left out also stay out of the sort's rows.
    sql += withPlaces ? QStringLiteral("FuelCity, FuelState") : QStringLiteral("NULL, NULL");
    sql += QStringLiteral(" FROM Fuel");
    if (oneVehicle)
        sql += QStringLiteral(" WHERE VehicleID = ?");
    // Two fills on one day at one odometer reading keep the order they were entered.
    if (ordered)
        sql += oneVehicle ? QStringLiteral(" ORDER BY FuelDate, FuelMiles, FuelId")
                          : QStringLiteral(" ORDER BY VehicleID, FuelDate, FuelMiles, FuelId");
    return sql;
}

// The number of fuel rows a read will give, so that its list is made at its size
// once (the index on the vehicle answers it without reading the rows).
std::size_t fuelCount(sqlite3* db, std::optional<qint64> vehicleId) {
    store::Statement stmt(db,
                          vehicleId
                              ? QStringLiteral("SELECT count(*) FROM Fuel WHERE VehicleID = ?")
                              : QStringLiteral("SELECT count(*) FROM Fuel"),
                          contextOf(db, "Fuel"));
    if (vehicleId)
        stmt.bind(1, *vehicleId);
    return nextRow(db, stmt, "Fuel") ? std::size_t(std::max<qint64>(0, stmt.columnInt64(0))) : 0;
}

enum FuelColumn {
    FuelId,
    VehicleId,
    FuelDate,
    FuelMiles,
    FuelGals,
    FuelFull,
    FuelCost,
    City,
    State
};

// The order's rows and everything it owns in one stream, told apart by the first
// column: 0 the order (key, vehicle, date, miles), 1 a service (key, its key,
// description), 2 a part (key, its key, number, description, quantity, cost), 3
// the note (key, text).
QString workOrderSelect(bool oneVehicle, bool withTexts) {
    const QString owned = oneVehicle ? QStringLiteral(" WHERE WorkOrderID IN (SELECT WorkOrderID "
                                                      "FROM WorkOrder WHERE VehicleID = ?1)")
                                     : QString();
    QString sql = QStringLiteral("SELECT 0, WorkOrderID, VehicleID, Date, Mileage, NULL, NULL "
                                 "FROM WorkOrder") +
                  (oneVehicle ? QStringLiteral(" WHERE VehicleID = ?1") : QString());
    sql += withTexts ? QStringLiteral(" UNION ALL SELECT 2, WorkOrderId, PartID, PartNum, "
                                      "PartDescription, PartQty, PartCost FROM PartsUsed")
                     : QStringLiteral(" UNION ALL SELECT 2, WorkOrderId, NULL, NULL, NULL, "
                                      "PartQty, PartCost FROM PartsUsed");
    sql += QString(owned).replace(QLatin1String("WHERE WorkOrderID"),
                                  QLatin1String("WHERE WorkOrderId"));
    if (withTexts)
        sql += QStringLiteral(" UNION ALL SELECT 1, WorkOrderID, WorkDoneID, WorkDescription, "
                              "NULL, NULL, NULL FROM WorkDone") +
               owned +
               QStringLiteral(" UNION ALL SELECT 3, WorkOrderID, WorkOrderMemo, NULL, NULL, "
                              "NULL, NULL FROM WorkOrderMemo") +
               owned;
    return sql;
}

QString firstLine(const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i)
        if (text[i] == QLatin1Char('\r') || text[i] == QLatin1Char('\n'))
            return text.left(i);
    return text;
}

struct Service {
    qint64 key = 0;
    QString description;
};

// What the stream gives for one order before it is put together.
struct OrderParts {
    std::vector<Service> services;
    QStringList partTexts;
    QString note;
    bool orderSeen = false; // false: rows of an order the file does not hold
};

bool newerFirst(const WorkOrderSummary& a, const WorkOrderSummary& b) {
    if (a.date != b.date) { // undated orders last
        if (!a.date.isValid() || !b.date.isValid())
            return a.date.isValid();
        return a.date > b.date;
    }
    return a.workOrderId > b.workOrderId;
}

} // namespace

HistoryReader::HistoryReader(sqlite3* db) : m_db(db) {}

std::vector<VehicleName> HistoryReader::vehicles() const {
    store::Statement stmt(m_db,
                          QStringLiteral("SELECT VehicleID, VehicleLookup FROM VehicleInfo "
                                         "ORDER BY VehicleLookup, VehicleID"),
                          contextOf(m_db, "VehicleInfo"));
    std::vector<VehicleName> names;
    while (nextRow(m_db, stmt, "VehicleInfo"))
        names.push_back(VehicleName{stmt.columnInt64(0), textAt(stmt, 1)});
    return names;
}

FuelFills HistoryReader::fuelFills(std::optional<qint64> vehicleId) const {
    return readFills(vehicleId, true);
}

FuelFills HistoryReader::fuelFigures(std::optional<qint64> vehicleId) const {
    return readFills(vehicleId, false);
}

FuelFills HistoryReader::readFills(std::optional<qint64> vehicleId, bool withPlaces) const {
    const QSet<qint64> missed = everyMissedFuelId(m_db);
    const std::size_t expected = fuelCount(m_db, vehicleId);
    // Ordered here; a file holding kinds of keys FillOrder does not compare is read
    // again in SQLite's order.
    for (const bool sqliteOrders : {false, true}) {
        store::Statement stmt(m_db, fuelSelect(vehicleId.has_value(), withPlaces, sqliteOrders),
                              contextOf(m_db, "Fuel"));
        if (vehicleId)
            stmt.bind(1, *vehicleId);
        FuelFills fills;
        FillOrder order;
        fills.reserve(expected);
        order.reserve(expected);
        RepeatedTexts places;
        bool ordered = true;
        while (nextRow(m_db, stmt, "Fuel")) {
            FuelFill fill;
            fill.fuelId = stmt.columnInt64(FuelId);
            if (!sqliteOrders &&
                !order.add(stmt.get(), VehicleId, FuelDate, FuelMiles, fill.fuelId)) {
                ordered = false;
                break;
            }
            fill.vehicleId = stmt.columnInt64(VehicleId);
            fill.date = dateAt(stmt, FuelDate);
            fill.odometer = singleAt(stmt, FuelMiles);
            fill.gallons = singleAt(stmt, FuelGals);
            fill.full = booleanAt(stmt, FuelFull);
            fill.cost = currencyAt(stmt, FuelCost);
            if (withPlaces) {
                fill.city = places.textAt(stmt, City);
                fill.state = places.textAt(stmt, State);
            }
            fill.missed = !missed.isEmpty() && missed.contains(fill.fuelId);
            fills.push_back(std::move(fill));
        }
        if (!ordered)
            continue;
        if (!sqliteOrders)
            order.arrange(fills);
        return fills;
    }
    return {}; // not reached: SQLite's order takes every row
}

WorkOrderSummaries HistoryReader::workOrders(std::optional<qint64> vehicleId) const {
    return readWorkOrders(vehicleId, true);
}

WorkOrderSummaries HistoryReader::workOrderFigures(std::optional<qint64> vehicleId) const {
    return readWorkOrders(vehicleId, false);
}

WorkOrderSummaries HistoryReader::readWorkOrders(std::optional<qint64> vehicleId,
                                                 bool withTexts) const {
    store::Statement stmt(m_db, workOrderSelect(vehicleId.has_value(), withTexts),
                          contextOf(m_db, "WorkOrder"));
    if (vehicleId)
        stmt.bind(1, *vehicleId);
    WorkOrderSummaries orders;
    QHash<qint64, std::size_t> indexOf;
    std::vector<OrderParts> parts;
    // Owned rows may come before their order: they wait in a row of their own.
    const auto partsOf = [&](qint64 key) -> OrderParts& {
        const auto found = indexOf.constFind(key);
        if (found != indexOf.constEnd())
            return parts[*found];
        indexOf.insert(key, orders.size());
        orders.push_back(WorkOrderSummary{});
        parts.emplace_back();
        return parts.back();
    };
    while (nextRow(m_db, stmt, "WorkOrder")) {
        const std::optional<qint64> key = integerAt(stmt, 1);
        if (!key)
            continue; // a row that names no order belongs to none
        OrderParts& owned = partsOf(*key);
        WorkOrderSummary& order = orders[indexOf.value(*key)];
        switch (stmt.columnInt64(0)) {
        case 0:
            owned.orderSeen = true;
            order.workOrderId = *key;
            order.vehicleId = integerAt(stmt, 2).value_or(0);
            order.date = dateAt(stmt, 3);
            order.miles = integerAt(stmt, 4);
            break;
        case 1:
            owned.services.push_back(Service{integerAt(stmt, 2).value_or(0), textAt(stmt, 3)});
            break;
        case 2: {
            ++order.partsCount;
            const std::optional<qint64> quantity = integerAt(stmt, 5);
            const std::optional<values::Currency> cost = currencyAt(stmt, 6);
            if (quantity && cost)
                order.partsTotalCents +=
                    values::roundedToCents(values::WideInteger(cost->scaled) * *quantity);
            if (withTexts)
                for (const int column : {3, 4}) {
                    const QString text = textAt(stmt, column);
                    if (!text.isEmpty())
                        owned.partTexts << text;
                }
            break;
        }
        default:
            owned.note = textAt(stmt, 2);
            break;
        }
    }
    WorkOrderSummaries result;
    result.reserve(orders.size());
    for (std::size_t i = 0; i < orders.size(); ++i) {
        WorkOrderSummary& order = orders[i];
        OrderParts& owned = parts[i];
        if (!owned.orderSeen)
            continue;
        std::sort(owned.services.begin(), owned.services.end(),
                  [](const Service& a, const Service& b) { return a.key < b.key; });
        QStringList services;
        for (const Service& service : owned.services)
            if (!service.description.isEmpty())
                services << service.description;
        order.services = services.join(QLatin1String(", "));
        order.noteFirstLine = firstLine(owned.note);
        QStringList search = services;
        search << owned.partTexts;
        if (!owned.note.isEmpty())
            search << owned.note;
        order.searchText = search.join(QLatin1Char('\n'));
        result.push_back(std::move(order));
    }
    std::sort(result.begin(), result.end(), newerFirst);
    return result;
}

} // namespace history
