#pragma once

#include "ReportContent.h"
#include "history/WorkOrderSummary.h"

struct sqlite3;

namespace report {

// A vehicle's work orders whole, oldest first (date, then order number; an undated
// order first), each with what the statistics and charts count of it at the same index.
struct StoredVisits {
    std::vector<ServiceVisit> visits;
    history::WorkOrderSummaries figures; // date, miles, parts count and total
};

// One select per table (orders, services, parts, notes) over the vehicle's orders.
StoredVisits readServiceVisits(sqlite3* db, qint64 vehicleId);

} // namespace report
