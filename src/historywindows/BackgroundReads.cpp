#include "BackgroundReads.h"

#include "frmHistory.h"
#include "store/Connection.h"

#include <sqlite3.h>

namespace historywindows {

namespace {

// SQLite asks every thousand steps of a statement; non-zero stops it.
int stopWhenCancelled(void* flag) {
    return static_cast<std::atomic<bool>*>(flag)->load() ? 1 : 0;
}

// Opens the file for this read alone and runs it; a read that was cancelled gives
// nothing back, not even the error its interruption raised.
template <class Result, class Read>
Result readOwnConnection(const QString& path, const CancelFlag& cancel, Read read) {
    Result result;
    try {
        const store::ConnectionHandle db = store::openReadOnlyConnection(path);
        sqlite3_progress_handler(db.get(), 1000, stopWhenCancelled, cancel.get());
        read(history::HistoryReader(db.get()), result);
    } catch (...) {
        if (!cancel->load())
            result.error = std::current_exception();
    }
    return result;
}

} // namespace

FillsRead readFills(const QString& path, std::optional<qint64> vehicleId, CancelFlag cancel) {
    return readOwnConnection<FillsRead>(
        path, cancel, [&](const history::HistoryReader& reader, FillsRead& result) {
            auto data = std::make_shared<HistoryData>();
            data->vehicleId = vehicleId;
            data->fills = reader.fuelFills(vehicleId);
            if (cancel->load())
                return;
            data->economy = economyByVehicle(data->fills);
            result.data = std::move(data);
        });
}

OrdersRead readOrders(const QString& path, std::optional<qint64> vehicleId, CancelFlag cancel) {
    return readOwnConnection<OrdersRead>(
        path, cancel, [&](const history::HistoryReader& reader, OrdersRead& result) {
            result.orders = reader.workOrders(vehicleId);
            result.done = true;
        });
}

TabFigures computeTab(std::shared_ptr<const HistoryData> data, int tab, history::DateRange period) {
    TabFigures figures;
    figures.tab = tab;
    if (tab == frmHistory::StatisticsTab) {
        if (data->vehicleId) {
            figures.vehicle = history::statisticsOf(data->fills, data->orders, period);
        } else {
            figures.perVehicle = history::statisticsPerVehicle(data->fills, data->orders, period);
            figures.total = history::totalOf(figures.perVehicle);
        }
    } else if (tab == frmHistory::ChartsTab) {
        figures.charts = data->vehicleId ? history::chartDataOf(data->fills, data->orders, period)
                                         : chartDataOfAll(*data, period);
    }
    return figures;
}

} // namespace historywindows
