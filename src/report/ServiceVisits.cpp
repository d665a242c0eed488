#include "ServiceVisits.h"

#include "history/HistoryText.h"
#include "history/StoredColumns.h"
#include "store/Statement.h"
#include "values/DateText.h"
#include "values/PartLine.h"

#include <QHash>
#include <algorithm>
#include <numeric>

namespace report {

namespace {

using namespace history::stored;

const char* const kOwnedOrders = " IN (SELECT WorkOrderID FROM WorkOrder WHERE VehicleID = ?)";

// Steps through the rows of one table owned by the vehicle's orders, giving each row
// with the index of its order; rows of an order the vehicle does not have are skipped.
template <class Row>
void forOwnedRows(sqlite3* db, const QString& sql, const char* table, qint64 vehicleId,
                  const QHash<qint64, std::size_t>& indexOf, Row row) {
    store::Statement stmt(db, sql + QLatin1String(kOwnedOrders), contextOf(db, table));
    stmt.bind(1, vehicleId);
    while (nextRow(db, stmt, table)) {
        const std::optional<qint64> key = integerAt(stmt, 0);
        const auto found = key ? indexOf.constFind(*key) : indexOf.constEnd();
        if (found != indexOf.constEnd())
            row(stmt, *found);
    }
}

QString quantityText(const std::optional<qint64>& quantity) {
    return quantity ? QString::number(*quantity) : QString();
}

} // namespace

StoredVisits readServiceVisits(sqlite3* db, qint64 vehicleId) {
    StoredVisits read;
    QHash<qint64, std::size_t> indexOf;
    {
        store::Statement stmt(
            db,
            QStringLiteral("SELECT WorkOrderID, Date, Mileage FROM WorkOrder WHERE VehicleID = ?"),
            contextOf(db, "WorkOrder"));
        stmt.bind(1, vehicleId);
        while (nextRow(db, stmt, "WorkOrder")) {
            const std::optional<qint64> key = integerAt(stmt, 0);
            if (!key || indexOf.contains(*key))
                continue;
            history::WorkOrderSummary figures;
            figures.workOrderId = *key;
            figures.vehicleId = vehicleId;
            figures.date = dateAt(stmt, 1);
            figures.miles = integerAt(stmt, 2);
            indexOf.insert(*key, read.figures.size());
            read.figures.push_back(std::move(figures));
        }
    }
    read.visits.resize(read.figures.size());

    // Services and parts keep the order they were entered in: their own keys.
    std::vector<std::vector<std::pair<qint64, QString>>> services(read.visits.size());
    forOwnedRows(db,
                 QStringLiteral("SELECT WorkOrderID, WorkDoneID, WorkDescription FROM WorkDone "
                                "WHERE WorkOrderID"),
                 "WorkDone", vehicleId, indexOf, [&](const store::Statement& stmt, std::size_t i) {
                     services[i].emplace_back(integerAt(stmt, 1).value_or(0), textAt(stmt, 2));
                 });
    std::vector<std::vector<std::pair<qint64, PartLine>>> parts(read.visits.size());
    forOwnedRows(
        db,
        QStringLiteral("SELECT WorkOrderId, PartID, PartNum, PartDescription, PartQty, PartCost "
                       "FROM PartsUsed WHERE WorkOrderId"),
        "PartsUsed", vehicleId, indexOf, [&](const store::Statement& stmt, std::size_t i) {
            PartLine line;
            line.partNumber = textAt(stmt, 2);
            line.description = textAt(stmt, 3);
            const std::optional<qint64> quantity = integerAt(stmt, 4);
            const std::optional<values::Currency> cost = currencyAt(stmt, 5);
            line.quantity = quantityText(quantity);
            if (cost)
                line.cost = history::scaledMoneyText(cost->scaled);
            history::WorkOrderSummary& figures = read.figures[i];
            ++figures.partsCount;
            if (quantity && cost) {
                const values::WideInteger cents =
                    values::roundedToCents(values::WideInteger(cost->scaled) * *quantity);
                figures.partsTotalCents += cents;
                line.total = history::centsText(cents);
            }
            parts[i].emplace_back(integerAt(stmt, 1).value_or(0), std::move(line));
        });
    forOwnedRows(db,
                 QStringLiteral("SELECT WorkOrderID, WorkOrderMemo FROM WorkOrderMemo "
                                "WHERE WorkOrderID"),
                 "WorkOrderMemo", vehicleId, indexOf,
                 [&](const store::Statement& stmt, std::size_t i) {
                     read.visits[i].note = textAt(stmt, 1);
                 });

    const auto byKey = [](const auto& a, const auto& b) { return a.first < b.first; };
    for (std::size_t i = 0; i < read.visits.size(); ++i) {
        ServiceVisit& visit = read.visits[i];
        const history::WorkOrderSummary& figures = read.figures[i];
        visit.workOrderId = figures.workOrderId;
        visit.date = figures.date.isValid() ? values::usDateText(figures.date) : QString();
        visit.miles = figures.miles ? history::milesText(double(*figures.miles)) : QString();
        std::stable_sort(services[i].begin(), services[i].end(), byKey);
        for (auto& [key, text] : services[i])
            if (!text.isEmpty())
                visit.services << text;
        std::stable_sort(parts[i].begin(), parts[i].end(), byKey);
        for (auto& [key, line] : parts[i])
            visit.parts.push_back(std::move(line));
        visit.partsTotal = history::centsText(figures.partsTotalCents);
    }

    // Oldest first; an undated order sorts before every dated one.
    std::vector<std::size_t> order(read.visits.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        const history::WorkOrderSummary& x = read.figures[a];
        const history::WorkOrderSummary& y = read.figures[b];
        if (x.date.isValid() != y.date.isValid())
            return !x.date.isValid();
        if (x.date != y.date)
            return x.date < y.date;
        return x.workOrderId < y.workOrderId;
    });
    StoredVisits sorted;
    sorted.visits.reserve(order.size());
    sorted.figures.reserve(order.size());
    for (const std::size_t i : order) {
        sorted.visits.push_back(std::move(read.visits[i]));
        sorted.figures.push_back(std::move(read.figures[i]));
    }
    return sorted;
}

} // namespace report
