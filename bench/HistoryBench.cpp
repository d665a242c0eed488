// Measures the vehicle history's reads and figures on the benchmark file against
// raw SQLite doing the nearest plain work in the same run, and prints the figures
// as a table (and as JSON with --json PATH).
//
//   drivolex_history_bench [--json PATH] [--dir FOLDER] [--rounds N]
//
// --dir: the folder holding bench.mdb (made there when missing).
#include "BenchFile.h"
#include "Options.h"
#include "RawSqlite.h"
#include "Report.h"
#include "Timing.h"
#include "history/ChartData.h"
#include "history/FuelEconomy.h"
#include "history/HistoryReader.h"
#include "history/Statistics.h"
#include "store/Connection.h"

#include <cstdio>
#include <filesystem>
#include <sqlite3.h>
#include <stdexcept>

namespace {

constexpr double kMilli = 1e3;
constexpr int kVehicle = 1;

volatile double g_sink = 0;

void require(bool condition, const char* what) {
    if (!condition)
        throw std::runtime_error(std::string("benchmark check failed: ") + what);
}

bench::Figure figure(const char* name, const bench::PairedSamples& samples, double target) {
    return bench::Figure{name,
                         "ms",
                         bench::median(samples.ours) * kMilli,
                         bench::median(samples.raw) * kMilli,
                         target,
                         int(samples.ours.size())};
}

// Reads every row of a select as its stored kind; the number of rows.
int rawRows(sqlite3* db, const char* sql, std::optional<std::int64_t> vehicle) {
    bench::RawStatement select(db, sql);
    if (vehicle)
        select.bind(1, *vehicle);
    int rows = 0;
    while (select.step()) {
        bench::readAllColumns(select.get());
        ++rows;
    }
    return rows;
}

// What a plain program asks SQLite for the same figures: sums, counts, least and
// most of the fuel rows, the orders and their parts.
const char* const kVehicleAggregates[] = {
    "SELECT count(*), sum(FuelGals), sum(FuelCost), min(FuelMiles), max(FuelMiles), "
    "min(FuelDate), max(FuelDate) FROM Fuel WHERE VehicleID = ?1",
    "SELECT count(*), min(Mileage), max(Mileage), min(Date), max(Date) FROM WorkOrder "
    "WHERE VehicleID = ?1",
    "SELECT count(*), sum(PartQty * PartCost) FROM PartsUsed WHERE WorkOrderId IN "
    "(SELECT WorkOrderID FROM WorkOrder WHERE VehicleID = ?1)",
};
const char* const kAllAggregates[] = {
    "SELECT VehicleID, count(*), sum(FuelGals), sum(FuelCost), min(FuelMiles), max(FuelMiles), "
    "min(FuelDate), max(FuelDate) FROM Fuel GROUP BY VehicleID",
    "SELECT VehicleID, count(*), min(Mileage), max(Mileage), min(Date), max(Date) FROM "
    "WorkOrder GROUP BY VehicleID",
    "SELECT w.VehicleID, count(*), sum(p.PartQty * p.PartCost) FROM PartsUsed AS p JOIN "
    "WorkOrder AS w ON w.WorkOrderID = p.WorkOrderId GROUP BY w.VehicleID",
};

template <std::size_t N>
void rawAggregates(sqlite3* db, const char* const (&sqls)[N], std::optional<std::int64_t> vehicle) {
    for (const char* sql : sqls)
        rawRows(db, sql, vehicle);
}

int run(const bench::Options& options) {
    namespace fs = std::filesystem;
    fs::create_directories(options.folder);
    const std::string file = fs::absolute(options.folder).string() + "/bench.mdb";
    const bench::FileShape shape;
    if (!fs::exists(file)) {
        std::printf("making %s...\n", file.c_str());
        std::fflush(stdout);
        bench::createBenchFile(file, shape);
    }
    const store::ConnectionHandle ours =
        store::openReadOnlyConnection(QString::fromStdString(file));
    const bench::RawConnection raw(file);
    const history::HistoryReader reader(ours.get());
    std::vector<bench::Figure> figures;

    bench::PairedSamples fuelLog;
    for (int round = 0; round < options.rounds; ++round)
        fuelLog.round(
            round,
            [&] {
                return bench::timed([&] {
                    const history::FuelFills fills = reader.fuelFills(kVehicle);
                    const std::vector<history::FillEconomy> economy = history::economyOf(fills);
                    require(int(economy.size()) == shape.fuelPerVehicle, "every fuel row read");
                });
            },
            [&] {
                return bench::timed([&] {
                    const int rows = rawRows(raw.get(),
                                             "SELECT * FROM Fuel WHERE VehicleID = ? "
                                             "ORDER BY FuelDate, FuelMiles, FuelId",
                                             kVehicle);
                    require(rows == shape.fuelPerVehicle, "every fuel row selected");
                });
            });
    figures.push_back(figure("fuel log of 50,000 rows (read + MPG) / raw select", fuelLog, 1.5));

    bench::PairedSamples vehicleStatistics;
    for (int round = 0; round < options.rounds; ++round)
        vehicleStatistics.round(
            round,
            [&] {
                return bench::timed([&] {
                    const history::Statistics s = history::statisticsOf(
                        reader.fuelFigures(kVehicle), reader.workOrderFigures(kVehicle), {});
                    require(s.fillUps == shape.fuelPerVehicle, "every fill counted");
                    g_sink = g_sink + s.gallons;
                });
            },
            [&] {
                return bench::timed(
                    [&] { rawAggregates(raw.get(), kVehicleAggregates, kVehicle); });
            });
    figures.push_back(figure("statistics of one vehicle / raw aggregates", vehicleStatistics, 2.0));

    bench::PairedSamples allVehicles;
    for (int round = 0; round < options.rounds; ++round)
        allVehicles.round(
            round,
            [&] {
                return bench::timed([&] {
                    const auto rows =
                        history::statisticsPerVehicle(reader.fuelFigures(std::nullopt),
                                                      reader.workOrderFigures(std::nullopt), {});
                    const history::Statistics total = history::totalOf(rows);
                    require(int(rows.size()) == shape.vehicles, "a row per vehicle");
                    g_sink = g_sink + total.gallons;
                });
            },
            [&] {
                return bench::timed(
                    [&] { rawAggregates(raw.get(), kAllAggregates, std::nullopt); });
            });
    figures.push_back(
        figure("All Vehicles statistics / raw aggregates by vehicle", allVehicles, 2.0));

    // The chart series of every tank of the vehicle, from rows already read.
    const history::FuelFills fills = reader.fuelFills(kVehicle);
    const history::WorkOrderSummaries orders = reader.workOrders(kVehicle);
    std::vector<double> chart;
    std::size_t tanks = 0;
    for (int round = 0; round < options.rounds; ++round)
        chart.push_back(bench::timed([&] {
            const history::ChartData data = history::chartDataOf(fills, orders, {});
            tanks = data.mpgPerTank.size();
        }));
    std::printf("chart series: %zu tanks with MPG of %zu fills\n", tanks, fills.size());
    figures.push_back(bench::Figure{"chart series of 50,000 fills", "ms",
                                    bench::median(chart) * kMilli, -1, 0, int(chart.size())});

    bench::printTable(figures);
    if (!options.json.empty())
        bench::writeJson(figures, options.json);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    try {
        return run(bench::parseOptions(argc, argv));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "drivolex_history_bench: %s\n", error.what());
        return 2;
    }
}
