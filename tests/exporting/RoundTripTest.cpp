// Our own export taken back by the import into a new file gives the same rows field
// for field, and exporting that file again gives the same bytes: on the demonstration
// file with values kept aside by an earlier import, and on 100,000 fuel rows.
#include "DemoDatabase.h"
#include "ExportFiles.h"
#include "exchange/ImportFormats.h"
#include "importing/ImportPlan.h"

#include <sqlite3.h>

using namespace export_test;

namespace {

using Rows = std::vector<QStringList>;

// Every row of a select, each column as SQLite's own text with its storage class, so
// that 12 and 12.0 and '12' differ.
Rows rowsOf(const QString& path, const char* sql) {
    sqlite3* db = nullptr;
    EXPECT_EQ(
        sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr),
        SQLITE_OK);
    sqlite3_stmt* stmt = nullptr;
    EXPECT_EQ(sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
    Rows rows;
    while (stmt && sqlite3_step(stmt) == SQLITE_ROW) {
        QStringList row;
        for (int i = 0; i < sqlite3_column_count(stmt); ++i) {
            const int type = sqlite3_column_type(stmt, i);
            row << QString::number(type) + QLatin1Char(':') +
                       (type == SQLITE_FLOAT
                            ? QString::number(sqlite3_column_double(stmt, i), 'g', 17)
                            : QString::fromUtf8(
                                  reinterpret_cast<const char*>(sqlite3_column_text(stmt, i))));
        }
        rows.push_back(row);
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return rows;
}

// What a user sees of a file, keys aside: each table's fields in key order, with the
// owner's Look Up in place of its key.
std::vector<Rows> contentsOf(const QString& path) {
    const char* selects[] = {
        "SELECT VehicleLookup, VehicleMake, VehicleModel, VehicleYear, VehicleSerialNum FROM "
        "VehicleInfo ORDER BY VehicleID",
        "SELECT v.VehicleLookup, FuelDate, FuelGals, FuelMiles, FuelFull, FuelCost, FuelCity, "
        "FuelState, m.FuelId IS NOT NULL, e.Note, e.Tags, e.Station, e.City, e.State FROM Fuel f "
        "JOIN VehicleInfo v USING (VehicleID) LEFT JOIN drivolex_fuel_missed m USING (FuelId) "
        "LEFT JOIN drivolex_fuel_extra e USING (FuelId) ORDER BY f.FuelId",
        "SELECT v.VehicleLookup, Mileage, Date, (SELECT group_concat(WorkDescription, '|') FROM "
        "(SELECT WorkDescription FROM WorkDone d WHERE d.WorkOrderID = o.WorkOrderID ORDER BY "
        "WorkDoneID)), (SELECT group_concat(PartNum || '/' || PartDescription || '/' || PartCost "
        "|| '/' || PartQty, '|') FROM (SELECT * FROM PartsUsed p WHERE p.WorkOrderId = "
        "o.WorkOrderID ORDER BY PartID)), (SELECT WorkOrderMemo FROM WorkOrderMemo n WHERE "
        "n.WorkOrderID = o.WorkOrderID) FROM WorkOrder o JOIN VehicleInfo v USING (VehicleID) "
        "ORDER BY o.WorkOrderID",
    };
    std::vector<Rows> contents;
    for (const char* sql : selects)
        contents.push_back(rowsOf(path, sql));
    return contents;
}

class RoundTripTest : public ExportFile {
protected:
    // Reads the file as its format and imports all of it into the database at path.
    static void importInto(const QString& database, const exchange::ImportedFile& file) {
        ASSERT_TRUE(file.ok()) << file.error.toStdString();
        store::ConnectionHandle db = store::openConnection(database, false);
        const importing::ImportPlan plan =
            importing::planImport(db.get(), file, importing::defaultTargets(db.get(), file));
        ASSERT_EQ(plan.count(importing::RowStatus::Refused), 0);
        ASSERT_EQ(plan.count(importing::RowStatus::Duplicate), 0);
        importing::writeImport(db.get(), database, plan);
    }
    QString newDatabase(const QString& name) const {
        const QString file = dir.filePath(name);
        testing_support::MsgBoxRecorder quiet;
        EXPECT_TRUE(modCreateDB::CreateNewDatabase(file));
        modCreateDB::CurrentDatabase.reset();
        return file;
    }
    static QString exportOwn(const QString& database, const QString& out) {
        store::ConnectionHandle db = store::openReadOnlyConnection(database);
        exporting::exportDatabase(db.get(), QStringLiteral("drivolex"), std::nullopt, out);
        return out;
    }

    // Export, import into a new file, export again: the same rows and the same bytes.
    void expectRoundTrip(const QString& database) {
        const QString first = exportOwn(database, outPath(QStringLiteral("first.csv")));
        const QString copy = newDatabase(QStringLiteral("copy.mdb"));
        importInto(copy, exchange::readImportFile(first, QStringLiteral("drivolex")));
        EXPECT_TRUE(contentsOf(copy) == contentsOf(database)) << "field for field";
        const QString second = exportOwn(copy, outPath(QStringLiteral("second.csv")));
        EXPECT_TRUE(testing_support::fileBytes(first) == testing_support::fileBytes(second))
            << "byte for byte";
    }
};

TEST_F(RoundTripTest, TheDemonstrationFileWithValuesKeptAsideByAnImport) {
    path = dir.filePath(QStringLiteral("demo.mdb"));
    demo::writeDemoDatabase(path);
    // An aCar export brings a note, tags, a station, a City too long for its field and
    // a State that is a country's name, and a missed fill-up.
    QFile acar(dir.filePath(QStringLiteral("acar.csv")));
    ASSERT_TRUE(acar.open(QIODevice::WriteOnly));
    acar.write("\"Fill-Up Records\"\n"
               "\"Vehicle\",\"Date\",\"Odometer Reading\",\"Distance Unit\",\"Volume\","
               "\"Volume Unit\",\"Total Cost\",\"Partial Fill-Up?\","
               "\"Previously Missed Fill-Ups?\",\"Fuel Brand\",\"Place City\",\"Place State\","
               "\"Tags\",\"Notes\"\n"
               "\"Trip Car\",\"6/12/2021\",\"106,421\",\"mi\",\"10.5\",\"gal (US)\",\"$31.40\","
               "\"No\",\"Yes\",\"Shell\",\"Saint-Jean-sur-Richelieu Ouest\",\"Quebec\","
               "\"vacation\",\"Long drive, \"\"windy\"\"\"\n");
    acar.close();
    importInto(path, exchange::readImportFile(acar.fileName(), QStringLiteral("acar")));
    ASSERT_EQ(testing_support::sqlScalar(path, QStringLiteral("SELECT count(*) FROM "
                                                              "drivolex_fuel_extra")),
              QStringLiteral("1"));
    expectRoundTrip(path);
}

TEST_F(RoundTripTest, OneHundredThousandFuelRows) {
    path = newDatabase(QStringLiteral("many.mdb"));
    exchange::ImportedFile file;
    file.formatId = QStringLiteral("fuelly");
    for (const char* name : {"Civic", "Wagon"}) {
        exchange::ImportedVehicle vehicle;
        vehicle.name = QLatin1String(name);
        file.vehicles.push_back(vehicle);
    }
    const QDateTime first(QDate(1980, 1, 1), QTime(0, 0), Qt::UTC);
    for (int i = 0; i < 100'000; ++i) {
        exchange::ImportedFuel row;
        row.line = i + 2;
        row.vehicle = file.vehicles[size_t(i % 2)].name;
        row.date = first.addDays(i / 2).addSecs(i % 7 == 0 ? 8 * 3600 + 30 * 60 : 0);
        row.gallons = 8 + (i % 97) / 7.0;      // not all exact in a Single
        row.odometer = 1000 + 287.3 * (i / 2); // tenths of miles
        row.full = i % 11 != 0;
        row.missed = i % 503 == 0;
        if (i % 13 != 0)
            row.cost = values::Currency{qint64(300000 + (i % 977) * 7)};
        if (i % 5 == 0)
            row.city = QStringLiteral("Springfield");
        if (i % 17 == 0)
            row.note = QStringLiteral("pump %1, \"fast\"\nqueue").arg(i % 9);
        file.fuel.push_back(row);
    }
    importInto(path, file);
    ASSERT_EQ(testing_support::sqlScalar(path, QStringLiteral("SELECT count(*) FROM Fuel")),
              QStringLiteral("100000"));
    expectRoundTrip(path);
}

} // namespace
