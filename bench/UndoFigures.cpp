// Undo of a vehicle delete on the bench file: the delete keeping its rows for undo,
// then the undo, against raw SQLite copying the same rows aside before its delete
// and back after it.
#include "Figures.h"

#include "RawSqlite.h"
#include "Timing.h"
#include "store/Database.h"
#include "store/Recordset.h"
#include "undo/DeleteHistory.h"

#include <filesystem>
#include <sqlite3.h>
#include <stdexcept>

namespace bench {

namespace {

// Which rows a vehicle's delete takes, by table.
std::string owned(const char* table, int vehicle) {
    const std::string id = std::to_string(vehicle);
    const std::string orders = "(SELECT WorkOrderID FROM WorkOrder WHERE VehicleID = " + id + ")";
    const std::string name = table;
    if (name == "VehicleInfo" || name == "Fuel" || name == "WorkOrder")
        return "SELECT rowid AS rid, * FROM " + name + " WHERE VehicleID = " + id;
    return "SELECT rowid AS rid, * FROM " + name + " WHERE WorkOrderID IN " + orders;
}

const char* const kParentsFirst[] = {"VehicleInfo", "Fuel",      "WorkOrder",
                                     "WorkDone",    "PartsUsed", "WorkOrderMemo"};

void rawDeleteKeepingRows(RawConnection& raw, int vehicle) {
    raw.exec("BEGIN IMMEDIATE");
    for (const char* table : kParentsFirst)
        raw.exec(("CREATE TEMP TABLE kept" + std::string(table) + " AS " + owned(table, vehicle))
                     .c_str());
    raw.exec(("DELETE FROM VehicleInfo WHERE VehicleID = " + std::to_string(vehicle)).c_str());
    raw.exec("COMMIT");
}

void rawUndo(RawConnection& raw) {
    raw.exec("BEGIN IMMEDIATE");
    for (const char* table : kParentsFirst) {
        const std::string name = table;
        // The columns after rid, as the table has them.
        std::string columns;
        RawStatement info(raw.get(),
                          ("SELECT name FROM pragma_table_info('" + name + "')").c_str());
        while (info.step())
            columns += std::string(columns.empty() ? "" : ", ") + "\"" +
                       reinterpret_cast<const char*>(sqlite3_column_text(info.get(), 0)) + "\"";
        raw.exec(("INSERT INTO " + name + " (rowid, " + columns + ") SELECT rid, " + columns +
                  " FROM temp.kept" + name)
                     .c_str());
        raw.exec(("DROP TABLE temp.kept" + name).c_str());
    }
    raw.exec("COMMIT");
}

std::int64_t rowsOf(const std::string& path) {
    RawConnection check(path);
    RawStatement count(check.get(), "SELECT (SELECT count(*) FROM VehicleInfo) + (SELECT "
                                    "count(*) FROM Fuel) + (SELECT count(*) FROM WorkOrder) + "
                                    "(SELECT count(*) FROM WorkDone) + (SELECT count(*) FROM "
                                    "PartsUsed) + (SELECT count(*) FROM WorkOrderMemo)");
    if (!count.step())
        throw std::runtime_error("benchmark check failed: counting the rows");
    return sqlite3_column_int64(count.get(), 0);
}

Figure undoFigure(const char* name, const std::vector<double>& ours, const std::vector<double>& raw,
                  double target) {
    return Figure{name, "ms", median(ours) * 1e3, median(raw) * 1e3, target, int(ours.size())};
}

} // namespace

std::vector<Figure> deleteAndUndoVehicle(const BenchSetup& setup) {
    namespace fs = std::filesystem;
    const std::string oursFile = setup.folder + "/undo-ours.mdb";
    const std::string rawFile = setup.folder + "/undo-raw.mdb";
    for (const std::string& copy : {oursFile, rawFile})
        fs::copy_file(setup.file, copy, fs::copy_options::overwrite_existing);
    const std::int64_t before = rowsOf(setup.file);
    PairedSamples deletes;
    PairedSamples undos;
    undo::DeleteHistory& history = undo::DeleteHistory::instance();
    history.watchStore([](const QVariant& id) { return id.toString(); });
    {
        auto database = store::Database::OpenDatabase(QString::fromStdString(oursFile));
        RawConnection raw(rawFile);
        const int rounds = std::min(7, setup.shape.vehicles);
        for (int round = 0; round < rounds; ++round) {
            const int vehicle = setup.shape.vehicles - round;
            auto vehicles = database->OpenRecordset(QStringLiteral("VehicleInfo"));
            vehicles->FindFirst(QStringLiteral("VehicleID = %1").arg(vehicle));
            if (vehicles->NoMatch())
                throw std::runtime_error("benchmark check failed: the vehicle is there");
            deletes.round(
                round, [&] { return timed([&] { vehicles->Delete(); }); },
                [&] { return timed([&] { rawDeleteKeepingRows(raw, vehicle); }); });
            undos.round(
                round,
                [&] {
                    return timed([&] {
                        if (history.undoLast(QString::fromStdString(oursFile)).outcome !=
                            undo::DeleteHistory::Outcome::Restored)
                            throw std::runtime_error("benchmark check failed: the undo");
                    });
                },
                [&] { return timed([&] { rawUndo(raw); }); });
        }
    }
    history.reset();
    for (const std::string& copy : {oursFile, rawFile})
        if (rowsOf(copy) != before)
            throw std::runtime_error("benchmark check failed: every row came back");
    fs::remove(oursFile);
    fs::remove(rawFile);
    return {undoFigure("delete a vehicle, its rows kept for undo", deletes.ours, deletes.raw, 3),
            undoFigure("undo a vehicle delete (all its rows back)", undos.ours, undos.raw, 3)};
}

} // namespace bench
