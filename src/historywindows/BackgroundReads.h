#pragma once

#include "HistoryData.h"
#include "history/Period.h"

#include <QString>
#include <atomic>
#include <exception>
#include <memory>
#include <optional>

namespace historywindows {

// Set from the window when it no longer wants what a read is doing: the read's own
// connection then stops at its next step, so an abandoned read of a lifetime of
// fills costs nothing more.
using CancelFlag = std::shared_ptr<std::atomic<bool>>;

// What one read off the window's thread gives back: the rows, or the error to show.
// The error is shown on the window's thread, through the window's own error path.
struct FillsRead {
    std::shared_ptr<HistoryData> data; // empty when cancelled or failed
    std::exception_ptr error;
};
struct OrdersRead {
    history::WorkOrderSummaries orders;
    bool done = false; // false when cancelled or failed
    std::exception_ptr error;
};

// The figures of the Statistics or Charts tab for a period, computed over data
// that nothing changes meanwhile.
struct TabFigures {
    int tab = -1;
    std::optional<history::Statistics> vehicle;         // one vehicle
    std::vector<history::VehicleStatistics> perVehicle; // all vehicles
    history::Statistics total;                          // all vehicles
    std::optional<history::ChartData> charts;
};

// Each runs on a worker thread over its own read-only connection to the file at
// path, so that the window's thread never waits for the file; the shared
// connection's committed writes (a missed mark) are seen.
FillsRead readFills(const QString& path, std::optional<qint64> vehicleId, CancelFlag cancel);
OrdersRead readOrders(const QString& path, std::optional<qint64> vehicleId, CancelFlag cancel);
TabFigures computeTab(std::shared_ptr<const HistoryData> data, int tab, history::DateRange period);

} // namespace historywindows
