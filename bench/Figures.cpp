#include "Figures.h"

#include "RawSqlite.h"
#include "Timing.h"
#include "store/Database.h"
#include "store/Recordset.h"
#include "store/Schema.h"

#include <QFile>
#include <filesystem>
#include <malloc.h>
#include <sqlite3.h>
#include <stdexcept>

namespace bench {

namespace {

constexpr double kMicro = 1e6;
constexpr double kMilli = 1e3;

std::shared_ptr<store::Database> openStore(const std::string& path) {
    return store::Database::OpenDatabase(QString::fromStdString(path));
}

std::string fuelSelect(int vehicle) {
    return "Select * from Fuel where VehicleID = " + std::to_string(vehicle) +
           " Order by FuelDate, FuelMiles";
}

// The fuel keys of a vehicle in the order its fuel list shows them.
std::vector<std::int64_t> fuelKeysInOrder(sqlite3* db, int vehicle) {
    RawStatement select(db, "SELECT FuelId FROM Fuel WHERE VehicleID = ? "
                            "ORDER BY FuelDate, FuelMiles, FuelId");
    select.bind(1, std::int64_t(vehicle));
    std::vector<std::int64_t> keys;
    while (select.step())
        keys.push_back(sqlite3_column_int64(select.get(), 0));
    return keys;
}

void require(bool condition, const char* what) {
    if (!condition)
        throw std::runtime_error(std::string("benchmark check failed: ") + what);
}

// A raw lookup of one fuel row by its key, reading every column.
class RawFuelLookup {
public:
    explicit RawFuelLookup(sqlite3* db) : m_select(db, "SELECT * FROM Fuel WHERE FuelId = ?") {}
    void operator()(std::int64_t key) {
        m_select.bind(1, key);
        require(m_select.step(), "raw lookup found its row");
        readAllColumns(m_select.get());
        m_select.reset();
    }

private:
    RawStatement m_select;
};

volatile int g_sink = 0;

// Operations timed together in one sample of the figures of a few microseconds, and
// how many such samples: short samples, many of them, so that the median stays
// clear of the pauses of a machine shared with other work.
constexpr size_t kBatch = 20;
int microSamples(const BenchSetup& setup) {
    return setup.rounds * 10;
}

void readEveryField(const store::Recordset& set, const QStringList& fields) {
    int present = 0;
    for (const QString& field : fields)
        present += set.value(field).isNull() ? 0 : 1;
    g_sink = g_sink + present;
}

Figure figure(const char* name, const char* unit, const PairedSamples& samples, double scale,
              double target) {
    return Figure{name,
                  unit,
                  median(samples.ours) * scale,
                  median(samples.raw) * scale,
                  target,
                  int(samples.ours.size())};
}

} // namespace

Figure openAndMoveLast(const BenchSetup& setup) {
    auto database = openStore(setup.file);
    RawConnection raw(setup.file);
    PairedSamples samples;
    for (int round = 0; round < setup.rounds; ++round) {
        const int vehicle = 1 + round % setup.shape.vehicles;
        const std::string text = fuelSelect(vehicle);
        int ourCount = 0;
        int rawCount = 0;
        samples.round(
            round,
            [&] {
                return timed([&] {
                    auto set = database->OpenRecordset(QString::fromStdString(text));
                    set->MoveLast();
                    ourCount = set->AbsolutePosition() + 1;
                });
            },
            [&] {
                return timed([&] {
                    RawStatement select(raw.get(), text.c_str());
                    std::int64_t last = 0;
                    while (select.step()) {
                        last = sqlite3_column_int64(select.get(), 7);
                        ++rawCount;
                    }
                    g_sink = g_sink + int(last);
                });
            });
        require(ourCount == setup.shape.fuelPerVehicle && rawCount == ourCount,
                "both read every fuel row of the vehicle");
    }
    return figure("open fuel list of one vehicle + MoveLast", "ms", samples, kMilli, 1.5);
}

Figure movePreviousAndRead(const BenchSetup& setup) {
    const int vehicle = 3;
    auto database = openStore(setup.file);
    RawConnection raw(setup.file);
    const std::vector<std::int64_t> keys = fuelKeysInOrder(raw.get(), vehicle);
    auto set = database->OpenRecordset(QString::fromStdString(fuelSelect(vehicle)));
    const QStringList fields = set->fieldNames();
    RawFuelLookup lookup(raw.get());
    // The samples walk back over the last rows of the set, again and again, so the
    // file's pages are in the cache for both sides and the figure shows the work of
    // the store itself. Short batches keep a busy machine's pauses out of most.
    const auto start = [&](int sample) { return keys.size() - 1 - kBatch * size_t(sample % 25); };
    const auto ours = [&](int sample) {
        set->setBookmark(keys[start(sample)]);
        return timed([&] {
                   for (size_t i = 0; i < kBatch; ++i) {
                       set->MovePrevious();
                       readEveryField(*set, fields);
                   }
               }) /
               kBatch;
    };
    const auto rawWalk = [&](int sample) {
        const size_t from = start(sample);
        return timed([&] {
                   for (size_t i = 1; i <= kBatch; ++i)
                       lookup(keys[from - i]);
               }) /
               kBatch;
    };
    for (int sample = 0; sample < 25; ++sample) { // warm-up
        ours(sample);
        rawWalk(sample);
    }
    PairedSamples samples;
    for (int sample = 0; sample < microSamples(setup); ++sample) {
        samples.round(
            sample, [&] { return ours(sample); }, [&] { return rawWalk(sample); });
        require(set->bookmark() == keys[start(sample) - kBatch], "both walked to the same row");
    }
    return figure("MovePrevious + read every field", "us", samples, kMicro, 3);
}

Figure updateOneField(const BenchSetup& setup) {
    const int vehicle = 4;
    auto database = openStore(setup.file);
    RawConnection raw(setup.file);
    auto set = database->OpenRecordset(QString::fromStdString(fuelSelect(vehicle)));
    set->MoveLast();
    set->MovePrevious();
    const std::int64_t key = set->bookmark();
    RawStatement update(raw.get(), "UPDATE Fuel SET FuelCost = ? WHERE FuelId = ?");
    PairedSamples samples;
    for (int round = 0; round < setup.rounds; ++round) {
        // A new amount every time, so that each write changes the row.
        const QString amount =
            QStringLiteral("%1.%2").arg(30 + round).arg(round % 100, 2, 10, QLatin1Char('0'));
        samples.round(
            round,
            [&] {
                return timed([&] {
                    set->Edit();
                    set->setValue(QStringLiteral("FuelCost"), amount);
                    set->Update();
                });
            },
            [&] {
                return timed([&] {
                    raw.exec("BEGIN IMMEDIATE");
                    update.bind(1, std::int64_t(round * 10000 + 1));
                    update.bind(2, key);
                    update.step();
                    update.reset();
                    raw.exec("COMMIT");
                });
            });
    }
    return figure("Update of one changed field", "ms", samples, kMilli, 2);
}

Figure findFirstByKey(const BenchSetup& setup) {
    constexpr size_t kSought = 200;
    const int vehicle = 5;
    auto database = openStore(setup.file);
    RawConnection raw(setup.file);
    const std::vector<std::int64_t> keys = fuelKeysInOrder(raw.get(), vehicle);
    auto set = database->OpenRecordset(QString::fromStdString(fuelSelect(vehicle)));
    RawFuelLookup lookup(raw.get());
    // Keys spread over the whole set, the criteria written out beforehand.
    std::vector<std::int64_t> sought;
    QStringList criteria;
    for (size_t i = 0; i < kSought; ++i) {
        sought.push_back(keys[(i * 7919u) % keys.size()]);
        criteria << QStringLiteral("FuelID = %1").arg(sought.back());
    }
    const auto ours = [&](int sample) {
        const size_t from = kBatch * size_t(sample) % kSought;
        return timed([&] {
                   for (size_t i = from; i < from + kBatch; ++i)
                       set->FindFirst(criteria[qsizetype(i)]);
               }) /
               kBatch;
    };
    const auto rawFind = [&](int sample) {
        const size_t from = kBatch * size_t(sample) % kSought;
        return timed([&] {
                   for (size_t i = from; i < from + kBatch; ++i)
                       lookup(sought[i]);
               }) /
               kBatch;
    };
    // Warm-up: every page once on both sides; this set sorts its keys for searching.
    for (int sample = 0; sample < int(kSought / kBatch); ++sample) {
        ours(sample);
        rawFind(sample);
    }
    PairedSamples samples;
    for (int sample = 0; sample < microSamples(setup); ++sample) {
        samples.round(
            sample, [&] { return ours(sample); }, [&] { return rawFind(sample); });
        const size_t last = (kBatch * size_t(sample) % kSought) + kBatch - 1;
        require(!set->NoMatch() && set->bookmark() == sought[last], "FindFirst found its row");
    }
    return figure("FindFirst of a key in a 50,000-row set", "us", samples, kMicro, 3);
}

Figure findFirstAfterOpening(const BenchSetup& setup) {
    const int vehicle = 6;
    auto database = openStore(setup.file);
    RawConnection raw(setup.file);
    const std::vector<std::int64_t> keys = fuelKeysInOrder(raw.get(), vehicle);
    RawFuelLookup lookup(raw.get());
    // What the fuel window does after each save: read the list again, then find
    // the saved row. Both sides read the list first; only the search is timed.
    const std::string text = fuelSelect(vehicle);
    PairedSamples samples;
    for (int round = 0; round < setup.rounds; ++round) {
        const std::int64_t key = keys[(size_t(round) * 7919u) % keys.size()];
        const QString criterion = QStringLiteral("FuelID = %1").arg(key);
        std::unique_ptr<store::Recordset> set;
        samples.round(
            round,
            [&] {
                set = database->OpenRecordset(QString::fromStdString(text));
                return timed([&] { set->FindFirst(criterion); });
            },
            [&] {
                RawStatement select(raw.get(), text.c_str());
                while (select.step()) {
                }
                return timed([&] { lookup(key); });
            });
        require(!set->NoMatch() && set->bookmark() == key, "FindFirst found its row");
    }
    return figure("FindFirst, first search of a reopened 50,000-row set", "us", samples, kMicro, 3);
}

Figure deleteVehicleCascading(const BenchSetup& setup) {
    namespace fs = std::filesystem;
    const std::string oursFile = setup.folder + "/delete-ours.mdb";
    const std::string rawFile = setup.folder + "/delete-raw.mdb";
    for (const std::string& copy : {oursFile, rawFile})
        fs::copy_file(setup.file, copy, fs::copy_options::overwrite_existing);
    PairedSamples samples;
    {
        auto database = openStore(oursFile);
        RawConnection raw(rawFile);
        RawStatement remove(raw.get(), "DELETE FROM VehicleInfo WHERE VehicleID = ?");
        // One vehicle a round, the same one on both copies.
        const int rounds = std::min(7, setup.shape.vehicles);
        for (int round = 0; round < rounds; ++round) {
            const int vehicle = setup.shape.vehicles - round;
            auto vehicles = database->OpenRecordset(QStringLiteral("VehicleInfo"));
            vehicles->FindFirst(QStringLiteral("VehicleID = %1").arg(vehicle));
            require(!vehicles->NoMatch(), "the vehicle to delete is there");
            samples.round(
                round, [&] { return timed([&] { vehicles->Delete(); }); },
                [&] {
                    return timed([&] {
                        raw.exec("BEGIN IMMEDIATE");
                        remove.bind(1, std::int64_t(vehicle));
                        remove.step();
                        remove.reset();
                        raw.exec("COMMIT");
                    });
                });
        }
    }
    // Both copies lost the same rows.
    for (const std::string& copy : {oursFile, rawFile}) {
        RawConnection check(copy);
        RawStatement count(check.get(), "SELECT (SELECT count(*) FROM Fuel), "
                                        "(SELECT count(*) FROM WorkOrder), "
                                        "(SELECT count(*) FROM WorkDone), "
                                        "(SELECT count(*) FROM PartsUsed), "
                                        "(SELECT count(*) FROM WorkOrderMemo)");
        require(count.step(), "counting the rows left");
        const int left = setup.shape.vehicles - int(samples.ours.size());
        const std::int64_t orders = std::int64_t(left) * setup.shape.ordersPerVehicle;
        require(sqlite3_column_int64(count.get(), 0) ==
                        std::int64_t(left) * setup.shape.fuelPerVehicle &&
                    sqlite3_column_int64(count.get(), 1) == orders &&
                    sqlite3_column_int64(count.get(), 2) == orders * setup.shape.servicesPerOrder &&
                    sqlite3_column_int64(count.get(), 3) == orders * setup.shape.partsPerOrder &&
                    sqlite3_column_int64(count.get(), 4) == orders,
                "the deletes removed every row of the vehicles and nothing else");
    }
    fs::remove(oursFile);
    fs::remove(rawFile);
    return figure("delete a vehicle with all its rows (cascading)", "ms", samples, kMilli, 2);
}

Figure memoryPerRow(const BenchSetup& setup) {
    auto database = openStore(setup.file);
    // A first set warms the connection (schema, page cache) so it is not counted.
    database->OpenRecordset(QStringLiteral("Fuel")).reset();
    const auto heapInUse = [] {
        const struct mallinfo2 info = mallinfo2();
        return double(info.uordblks + info.hblkhd); // small blocks and mapped large ones
    };
    const double before = heapInUse();
    auto set = database->OpenRecordset(QStringLiteral("Fuel"));
    const double held = heapInUse() - before;
    const int rows = set->RecordCount();
    require(rows == setup.shape.vehicles * setup.shape.fuelPerVehicle, "the set has every row");
    return Figure{"malloc heap held by an open 1,000,000-row set", "B/row", held / rows, -1, 16, 1};
}

Figure createDatabase(const BenchSetup& setup) {
    // Raw: the same tables, indexes and relations as finished SQL, in one transaction.
    std::vector<std::string> schema;
    {
        RawConnection source(setup.file);
        RawStatement select(source.get(), "SELECT sql FROM sqlite_master WHERE sql IS NOT NULL "
                                          "AND name <> 'sqlite_sequence' ORDER BY rowid");
        while (select.step())
            schema.emplace_back(
                reinterpret_cast<const char*>(sqlite3_column_text(select.get(), 0)));
    }
    PairedSamples samples;
    const int rounds = std::min(setup.rounds, 7);
    for (int round = 0; round < rounds; ++round) {
        const std::string oursFile = setup.folder + "/new-ours-" + std::to_string(round) + ".mdb";
        const std::string rawFile = setup.folder + "/new-raw-" + std::to_string(round) + ".mdb";
        samples.round(
            round, [&] { return timed([&] { createEmptyDatabase(oursFile); }); },
            [&] {
                return timed([&] {
                    sqlite3* db = nullptr;
                    sqlite3_open_v2(rawFile.c_str(), &db,
                                    SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
                    sqlite3_close_v2(db);
                    RawConnection created(rawFile);
                    created.exec("BEGIN IMMEDIATE");
                    for (const std::string& sql : schema)
                        created.exec(sql.c_str());
                    created.exec("COMMIT");
                });
            });
        std::filesystem::remove(oursFile);
        std::filesystem::remove(rawFile);
    }
    return figure("create a new database file with the whole layout", "ms", samples, kMilli, 0);
}

namespace {

// One Update of one fuel row through the store, in a small file in folder: ours with
// the store's own EXTRA syncs (the folder synced after the journal is deleted), raw
// the same Update on a second store connection set back to FULL.
Figure updateWithExtraSyncs(const BenchSetup& setup, const std::string& folder, const char* name) {
    const std::string file = folder + "/sync-cost.mdb";
    std::filesystem::remove(file);
    createEmptyDatabase(file);
    const QString path = QString::fromStdString(file);
    {
        auto db = store::Database::OpenDatabase(path);
        auto vehicles = db->OpenRecordset(QStringLiteral("VehicleInfo"));
        vehicles->AddNew();
        vehicles->setValue(QStringLiteral("VehicleLookup"), QStringLiteral("Bench"));
        vehicles->Update();
        auto fuel = db->OpenRecordset(QStringLiteral("Fuel"));
        fuel->AddNew();
        fuel->setValue(QStringLiteral("VehicleID"), vehicles->LastModified());
        fuel->Update();
    }
    auto extra = store::Database::OpenDatabase(path);
    auto full = store::Database::OpenDatabase(path);
    require(sqlite3_exec(full->handle(), "PRAGMA synchronous = FULL", nullptr, nullptr, nullptr) ==
                SQLITE_OK,
            "FULL syncs set");
    auto extraSet = extra->OpenRecordset(QStringLiteral("Fuel"));
    auto fullSet = full->OpenRecordset(QStringLiteral("Fuel"));
    // Each set reads the row again first: the other connection wrote it last.
    const auto update = [](store::Recordset& set, int round) {
        set.Requery();
        return timed([&] {
            set.Edit();
            set.setValue(QStringLiteral("FuelCost"), QStringLiteral("%1.25").arg(round));
            set.Update();
        });
    };
    PairedSamples samples;
    const int rounds = setup.rounds * 2;
    for (int round = 0; round < rounds; ++round)
        samples.round(
            round, [&] { return update(*extraSet, 2 * round); },
            [&] { return update(*fullSet, 2 * round + 1); });
    extraSet.reset();
    fullSet.reset();
    extra.reset();
    full.reset();
    std::filesystem::remove(file);
    return figure(name, "ms", samples, kMilli, 2);
}

} // namespace

Figure updateSyncCostOnDisk(const BenchSetup& setup) {
    return updateWithExtraSyncs(setup, setup.folder, "Update, EXTRA vs FULL syncs, disk");
}

Figure updateSyncCostOnTmpfs(const BenchSetup& setup) {
    const std::string folder = "/dev/shm/drivolex-bench";
    std::filesystem::create_directories(folder);
    Figure result = updateWithExtraSyncs(setup, folder, "Update, EXTRA vs FULL syncs, tmpfs");
    std::filesystem::remove_all(folder);
    return result;
}

Figure takeFileIntoUse(const BenchSetup& setup) {
    std::vector<double> seconds;
    for (int round = 0; round < std::min(setup.rounds, 5); ++round)
        seconds.push_back(
            timed([&] { store::schema::openProgramDatabase(QString::fromStdString(setup.file)); }));
    return Figure{"take the file into use (layout, whole-file and trust checks)",
                  "ms",
                  median(seconds) * kMilli,
                  -1,
                  1000,
                  int(seconds.size())};
}

} // namespace bench
