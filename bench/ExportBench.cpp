// Measures File > Export in our own format on the benchmark file (1,000,000 fuel
// purchases, 100,000 work orders with their services and parts) against the sqlite3
// command-line tool writing the Fuel table's columns as CSV, timed in the same run,
// and prints the figures as a table (and as JSON with --json PATH).
//
//   drivolex_export_bench [--json PATH] [--dir FOLDER] [--rounds N]
//
// Ours reads every table through the store's conversions, renumbers the keys, writes
// the whole file under a temporary name, syncs it and renames it. Raw is
// `sqlite3 -csv FILE "SELECT ... FROM Fuel ORDER BY FuelId"` into a file: one table,
// its values as SQLite holds them. The target (2) leaves room for the other tables,
// the conversions and the sync that makes the export safe to trust. The time our
// reader takes to read the export back into the import's rows is reported beside it.
#include "BenchFile.h"
#include "Options.h"
#include "Report.h"
#include "Timing.h"
#include "exchange/OwnFormatReader.h"
#include "exporting/Export.h"
#include "store/Connection.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QString>
#include <cstdio>
#include <filesystem>
#include <stdexcept>

namespace {

namespace fs = std::filesystem;

// Each round writes about 100 MB twice.
constexpr int kMostRounds = 5;
constexpr double kTarget = 2.0;

void rawCsv(const std::string& file, const std::string& out) {
    QProcess sqlite;
    sqlite.setStandardOutputFile(QString::fromStdString(out));
    sqlite.start(QStringLiteral("sqlite3"),
                 {QStringLiteral("-csv"), QString::fromStdString(file),
                  QStringLiteral("SELECT FuelId, VehicleID, FuelDate, FuelGals, FuelMiles, "
                                 "FuelFull, FuelCost, FuelCity, FuelState FROM Fuel ORDER BY "
                                 "FuelId")});
    if (!sqlite.waitForStarted(-1) || !sqlite.waitForFinished(-1) ||
        sqlite.exitStatus() != QProcess::NormalExit || sqlite.exitCode() != 0)
        throw std::runtime_error("the sqlite3 tool failed: " +
                                 sqlite.readAllStandardError().toStdString());
}

int run(const bench::Options& options) {
    fs::create_directories(options.folder);
    const std::string folder = fs::absolute(options.folder).string();
    const std::string file = folder + "/bench.mdb";
    if (!fs::exists(file)) {
        std::printf("making %s...\n", file.c_str());
        std::fflush(stdout);
        bench::createBenchFile(file, bench::FileShape{});
    }
    const std::string work = folder + "/export-bench";
    fs::create_directories(work);
    const QString ours = QString::fromStdString(work + "/ours.csv");
    const std::string raw = work + "/raw.csv";
    const store::ConnectionHandle db = store::openReadOnlyConnection(QString::fromStdString(file));

    qint64 fuelRows = 0;
    bench::PairedSamples samples;
    for (int i = 0; i < std::min(options.rounds, kMostRounds); ++i)
        samples.round(
            i,
            [&] {
                return bench::timed([&] {
                    fuelRows = exporting::exportDatabase(db.get(), QStringLiteral("drivolex"),
                                                         std::nullopt, ours)
                                   .fuelRows;
                });
            },
            [&] { return bench::timed([&] { rawCsv(file, raw); }); });
    if (fuelRows != qint64(bench::FileShape{}.vehicles) * bench::FileShape{}.fuelPerVehicle)
        throw std::runtime_error("the export did not hold every fuel row");
    std::printf("our file %.1f MB, the tool's %.1f MB\n",
                double(fs::file_size(ours.toStdString())) / 1e6, double(fs::file_size(raw)) / 1e6);

    std::size_t readRows = 0;
    const double reading =
        bench::timed([&] { readRows = exchange::readOwnFormat(ours).fuel.size(); });
    if (qint64(readRows) != fuelRows)
        throw std::runtime_error("the export did not read back whole");

    const std::vector<bench::Figure> figures{
        bench::Figure{"Export (own format) vs sqlite3 -csv of Fuel, 1,000,000 fuel rows", "s",
                      bench::median(samples.ours), bench::median(samples.raw), kTarget,
                      int(samples.ours.size())},
        bench::Figure{"Reading the export back into import rows", "s", reading, -1, 0, 1}};
    bench::printTable(figures);
    if (!options.json.empty())
        bench::writeJson(figures, options.json);
    fs::remove_all(work);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    try {
        QCoreApplication app(argc, argv);
        return run(bench::parseOptions(argc, argv));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "drivolex_export_bench: %s\n", error.what());
        return 2;
    }
}
