#pragma once

#include "FuelFill.h"
#include "WorkOrderSummary.h"

#include <QString>
#include <optional>
#include <vector>

struct sqlite3;

namespace history {

struct VehicleName {
    qint64 vehicleId = 0;
    QString lookUp;
};

// Reads the history of a database file, each list with one prepared select over
// the connection it is given (never a walk of a record set). A file without the
// missed-mark table reads as if no fill carried a mark. Throws the store's error.
class HistoryReader {
public:
    explicit HistoryReader(sqlite3* db);

    // Vehicles in Look Up order.
    std::vector<VehicleName> vehicles() const;
    // One vehicle's fills in date-then-odometer order; without a vehicle every
    // vehicle's, grouped by vehicle and then in that order.
    FuelFills fuelFills(std::optional<qint64> vehicleId) const;
    // The same fills without city and state, for the Statistics and Charts tabs.
    FuelFills fuelFigures(std::optional<qint64> vehicleId) const;
    // Work orders newest first (date, then order number, descending).
    WorkOrderSummaries workOrders(std::optional<qint64> vehicleId) const;
    // The same orders with only what the Statistics and Charts tabs need: date,
    // miles, parts count and total (no services, part texts or notes).
    WorkOrderSummaries workOrderFigures(std::optional<qint64> vehicleId) const;

private:
    FuelFills readFills(std::optional<qint64> vehicleId, bool withPlaces) const;
    WorkOrderSummaries readWorkOrders(std::optional<qint64> vehicleId, bool withTexts) const;

    sqlite3* m_db;
};

} // namespace history
