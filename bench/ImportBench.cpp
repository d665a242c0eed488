// Measures an import: the plan and the writing of 100,000 fuel rows as a Fuelly file
// gives them (one new vehicle, an empty database) against raw SQLite inserting the
// same rows with one prepared insert in one transaction; and the plan alone of
// 100,000 rows for the benchmark file's 20 vehicles against its 1,000,000 stored rows
// (every stored row read once), with raw SQLite's select of those rows' keys for scale.
// Prints the figures as a table (and as JSON with --json PATH).
//
//   drivolex_import_bench [--json PATH] [--dir FOLDER] [--rounds N]
//
// The whole import of a 100,000-row Fuelly file as well: reading the file, the plan and
// the writing, with the note, tags and station of each row kept aside, against raw
// SQLite inserting the same rows and their kept values.
//
// Ours also takes the backup copy, checks and converts every value and writes
// through the store's conversion; the target of 3 leaves room for that.
#include "BenchFile.h"
#include "FuellyFile.h"
#include "Options.h"
#include "RawSqlite.h"
#include "Report.h"
#include "Timing.h"
#include "exchange/ImportFormats.h"
#include "importing/ImportPlan.h"
#include "store/Connection.h"

#include <QCoreApplication>
#include <cstdio>
#include <filesystem>
#include <sqlite3.h>
#include <stdexcept>

namespace {

namespace fs = std::filesystem;

constexpr double kMilli = 1e3;
constexpr int kRows = 100'000;
constexpr int kMostRounds = 7;
constexpr double kWriteTarget = 3;
constexpr double kPlanTargetMs = 300;

void require(bool condition, const char* what) {
    if (!condition)
        throw std::runtime_error(std::string("benchmark check failed: ") + what);
}

exchange::ImportedVehicle vehicleNamed(const QString& name) {
    exchange::ImportedVehicle vehicle;
    vehicle.name = name;
    return vehicle;
}

// The rows a Fuelly reader gives: one a day, rising odometer, a partial now and then.
exchange::ImportedFile fuellyRows(int rows, int vehicles) {
    exchange::ImportedFile file;
    file.formatId = QStringLiteral("fuelly");
    for (int v = 1; v <= vehicles; ++v)
        file.vehicles.push_back(vehicleNamed(QStringLiteral("Car %1").arg(v)));
    const QDateTime first(QDate(1990, 1, 1), QTime(0, 0), Qt::UTC);
    file.fuel.reserve(size_t(rows));
    for (int i = 0; i < rows; ++i) {
        exchange::ImportedFuel row;
        row.line = i + 2;
        row.vehicle = file.vehicles[size_t(i % vehicles)].name;
        row.date = first.addDays(i / vehicles);
        row.gallons = 8 + (i % 70) / 10.0;
        row.odometer = 10 + 310.5 * (i / vehicles);
        row.full = i % 9 != 0;
        row.cost = values::Currency{qint64(250000 + (i % 1000) * 10)};
        file.fuel.push_back(row);
    }
    return file;
}

double oursWrite(const std::string& path, const exchange::ImportedFile& file) {
    const store::ConnectionHandle db = store::openConnection(QString::fromStdString(path), false);
    return bench::timed([&] {
        const importing::ImportPlan plan =
            importing::planImport(db.get(), file, importing::defaultTargets(db.get(), file));
        const importing::ImportResult result =
            importing::writeImport(db.get(), QString::fromStdString(path), plan);
        require(result.fuelWritten == kRows, "every row written");
    });
}

double rawWrite(const std::string& path, const exchange::ImportedFile& file) {
    bench::RawConnection db(path);
    return bench::timed([&] {
        db.exec("BEGIN IMMEDIATE");
        db.exec("INSERT INTO VehicleInfo (VehicleLookup) VALUES ('Car 1')");
        const std::int64_t vehicle = sqlite3_last_insert_rowid(db.get());
        bench::RawStatement insert(db.get(),
                                   "INSERT INTO Fuel (FuelDate, FuelGals, FuelMiles, FuelFull, "
                                   "FuelCost, FuelCity, FuelState, VehicleID) VALUES (?, ?, ?, ?, "
                                   "?, ?, ?, ?)");
        for (const exchange::ImportedFuel& row : file.fuel) {
            const QByteArray date =
                row.date->toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")).toUtf8();
            insert.bind(1, date.constData());
            insert.bind(2, double(float(*row.gallons)));
            insert.bind(3, double(float(*row.odometer)));
            insert.bind(4, std::int64_t(row.full ? -1 : 0));
            insert.bind(5, std::int64_t(row.cost->scaled));
            insert.bindNull(6);
            insert.bindNull(7);
            insert.bind(8, vehicle);
            insert.step();
            insert.reset();
        }
        db.exec("COMMIT");
    });
}

// The same rows and, for each, the values kept aside, as raw inserts.
double rawWriteWithExtras(const std::string& path, const exchange::ImportedFile& file) {
    bench::RawConnection db(path);
    return bench::timed([&] {
        db.exec("BEGIN IMMEDIATE");
        db.exec("CREATE TABLE raw_fuel_extra (FuelId INTEGER PRIMARY KEY REFERENCES Fuel "
                "(FuelId) ON DELETE CASCADE, Note TEXT, Tags TEXT, Station TEXT)");
        db.exec("INSERT INTO VehicleInfo (VehicleLookup) VALUES ('Family Car')");
        const std::int64_t vehicle = sqlite3_last_insert_rowid(db.get());
        bench::RawStatement insert(db.get(),
                                   "INSERT INTO Fuel (FuelDate, FuelGals, FuelMiles, FuelFull, "
                                   "FuelCost, VehicleID) VALUES (?, ?, ?, ?, ?, ?)");
        bench::RawStatement extra(db.get(), "INSERT INTO raw_fuel_extra (FuelId, Note, Tags, "
                                            "Station) VALUES (?, ?, ?, ?)");
        for (const exchange::ImportedFuel& row : file.fuel) {
            const QByteArray date =
                row.date->toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")).toUtf8();
            insert.bind(1, date.constData());
            insert.bind(2, double(float(*row.gallons)));
            insert.bind(3, double(float(*row.odometer)));
            insert.bind(4, std::int64_t(row.full ? -1 : 0));
            insert.bind(5, std::int64_t(row.cost ? row.cost->scaled : 0));
            insert.bind(6, vehicle);
            insert.step();
            insert.reset();
            const QByteArray note = row.note.toUtf8();
            const QByteArray tags = row.tags.toUtf8();
            const QByteArray station = row.station.toUtf8();
            extra.bind(1, std::int64_t(sqlite3_last_insert_rowid(db.get())));
            extra.bind(2, note.constData());
            extra.bind(3, tags.constData());
            extra.bind(4, station.constData());
            extra.step();
            extra.reset();
        }
        db.exec("COMMIT");
    });
}

// Reading the Fuelly file, the plan and the writing, as File > Import does them.
double oursFileImport(const std::string& path, const std::string& fuellyFile) {
    const store::ConnectionHandle db = store::openConnection(QString::fromStdString(path), false);
    return bench::timed([&] {
        const exchange::ImportedFile file =
            exchange::readImportFile(QString::fromStdString(fuellyFile), QStringLiteral("fuelly"));
        require(file.ok() && file.fuel.size() == size_t(kRows), "the Fuelly file read");
        const importing::ImportPlan plan =
            importing::planImport(db.get(), file, importing::defaultTargets(db.get(), file));
        const importing::ImportResult result =
            importing::writeImport(db.get(), QString::fromStdString(path), plan);
        require(result.fuelWritten == kRows, "every row of the file written");
    });
}

int run(const bench::Options& options) {
    fs::create_directories(options.folder);
    const std::string folder = fs::absolute(options.folder).string();
    const std::string work = folder + "/import-bench";
    fs::create_directories(work);
    const std::string empty = work + "/empty.mdb";
    fs::remove(empty);
    bench::createEmptyDatabase(empty);
    const int rounds = std::min(options.rounds, kMostRounds);

    const exchange::ImportedFile oneVehicle = fuellyRows(kRows, 1);
    // Each round writes into fresh copies of the empty file, ours and raw's.
    const std::string ours = work + "/ours.mdb";
    const std::string raw = work + "/raw.mdb";
    const auto freshCopies = [&] {
        fs::copy_file(empty, ours, fs::copy_options::overwrite_existing);
        fs::copy_file(empty, raw, fs::copy_options::overwrite_existing);
    };
    bench::PairedSamples writes;
    for (int i = 0; i < rounds; ++i) {
        freshCopies();
        writes.round(
            i, [&] { return oursWrite(ours, oneVehicle); },
            [&] { return rawWrite(raw, oneVehicle); });
    }

    // The whole import of a Fuelly file.
    const std::string fuellyFile = work + "/fuelly.csv";
    bench::writeFuellyFile(fuellyFile, kRows);
    const exchange::ImportedFile fuellyRead =
        exchange::readImportFile(QString::fromStdString(fuellyFile), QStringLiteral("fuelly"));
    require(fuellyRead.ok() && fuellyRead.fuel.size() == size_t(kRows), "the Fuelly file read");
    bench::PairedSamples fileImports;
    for (int i = 0; i < rounds; ++i) {
        freshCopies();
        fileImports.round(
            i, [&] { return oursFileImport(ours, fuellyFile); },
            [&] { return rawWriteWithExtras(raw, fuellyRead); });
    }

    // The plan alone on the empty file: what the preview costs before the writing.
    std::vector<double> newPlans;
    {
        const store::ConnectionHandle db =
            store::openConnection(QString::fromStdString(empty), false);
        for (int i = 0; i < rounds; ++i)
            newPlans.push_back(bench::timed([&] {
                const importing::ImportPlan plan = importing::planImport(
                    db.get(), oneVehicle, importing::defaultTargets(db.get(), oneVehicle));
                require(plan.taken() == kRows, "every row taken");
            }));
    }

    const std::string file = folder + "/bench.mdb";
    if (!fs::exists(file)) {
        std::printf("making %s...\n", file.c_str());
        std::fflush(stdout);
        bench::createBenchFile(file, bench::FileShape{});
    }
    const exchange::ImportedFile everyVehicle = fuellyRows(kRows, bench::FileShape{}.vehicles);
    const store::ConnectionHandle db = store::openConnection(QString::fromStdString(file), false);
    // The engine's own pass over the stored rows' keys, for scale: the plan cannot
    // read them quicker than this.
    std::vector<double> scans;
    std::vector<double> plans;
    for (int i = 0; i < rounds; ++i) {
        scans.push_back(bench::timed([&] {
            bench::RawStatement scan(db.get(), "SELECT VehicleID, FuelDate, FuelMiles FROM Fuel");
            std::int64_t rows = 0;
            while (scan.step())
                rows += sqlite3_column_bytes(scan.get(), 1) > 0;
            require(rows == 1'000'000, "every stored row read");
        }));
        plans.push_back(bench::timed([&] {
            const importing::ImportPlan plan = importing::planImport(
                db.get(), everyVehicle, importing::defaultTargets(db.get(), everyVehicle));
            require(plan.rows.size() == size_t(kRows) && plan.vehicles[0].existingId,
                    "the rows go to the stored vehicles");
        }));
    }

    const std::vector<bench::Figure> figures{
        bench::Figure{"Import of a 100,000-row Fuelly file: read, plan, write", "ms",
                      bench::median(fileImports.ours) * kMilli,
                      bench::median(fileImports.raw) * kMilli, kWriteTarget,
                      int(fileImports.ours.size())},
        bench::Figure{"Import plan + write, 100,000 fuel rows, new vehicle", "ms",
                      bench::median(writes.ours) * kMilli, bench::median(writes.raw) * kMilli,
                      kWriteTarget, int(writes.ours.size())},
        bench::Figure{"Import plan, 100,000 fuel rows, new vehicle", "ms",
                      bench::median(newPlans) * kMilli, -1, 0, int(newPlans.size())},
        bench::Figure{"Import plan, 100,000 rows against 1,000,000 stored", "ms",
                      bench::median(plans) * kMilli, -1, kPlanTargetMs, int(plans.size())},
        bench::Figure{"Raw select of the 1,000,000 stored rows' keys", "ms",
                      bench::median(scans) * kMilli, -1, 0, int(scans.size())}};
    bench::printTable(figures);
    if (!options.json.empty())
        bench::writeJson(figures, options.json);
    fs::remove_all(work);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    try {
        const bench::Options options = bench::parseOptions(argc, argv);
        // The copies taken before each import go to a data folder of the bench's own.
        const std::string data = fs::absolute(options.folder).string() + "/import-data-home";
        qputenv("XDG_DATA_HOME", data.c_str());
        QCoreApplication app(argc, argv);
        QCoreApplication::setOrganizationName(QStringLiteral("Drivolex"));
        QCoreApplication::setApplicationName(QStringLiteral("DrivolexBench"));
        const int result = run(options);
        fs::remove_all(data);
        return result;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "drivolex_import_bench: %s\n", error.what());
        return 2;
    }
}
