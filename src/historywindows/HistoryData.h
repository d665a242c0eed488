#pragma once

#include "history/ChartData.h"
#include "history/FuelEconomy.h"
#include "history/FuelFill.h"
#include "history/HistoryReader.h"
#include "history/Statistics.h"
#include "history/WorkOrderSummary.h"

#include <QHash>
#include <optional>

namespace historywindows {

// What the window shows, read once per vehicle choice (or all vehicles) and kept
// until the file changes: the fills in the history's order with the economy of
// each, and the work orders newest first.
struct HistoryData {
    std::optional<qint64> vehicleId; // empty: every vehicle
    history::FuelFills fills;
    std::vector<history::FillEconomy> economy; // same index as fills
    history::WorkOrderSummaries orders;
    // The Fuel Log needs no work orders: they are read when a tab first needs them.
    bool ordersRead = false;
};

// The fills of every vehicle come grouped by vehicle: each group is its own chain
// of tanks, so a vehicle's first full tank never closes another vehicle's interval.
std::vector<history::FillEconomy> economyByVehicle(const history::FuelFills& fills);

// Recomputes the economy of the vehicle that owns fills[index] after its mark
// changed, leaving the other vehicles' rows as they are.
void recomputeVehicleOf(HistoryData& data, std::size_t index);

// The charts over every vehicle: each vehicle's tanks and prices on one time line,
// costs added up by month, the average over every vehicle's intervals.
history::ChartData chartDataOfAll(const HistoryData& data, const history::DateRange& period);

} // namespace historywindows
