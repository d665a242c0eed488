// Writing an import into a real file: the rows in the store's stored forms, the values
// kept aside in the program's own tables (and those tables accepted by the file checks,
// kept by the rebuild of an older file, brought back by an undo), missed marks, the
// history's figures afterwards, and a cancel or a failure that leave the file as it was.
#include "ImportFiles.h"
#include "backup/BackupFolder.h"
#include "backup/FileCheck.h"
#include "history/HistoryReader.h"
#include "history/Statistics.h"
#include "importing/ExtraTables.h"
#include "platform/AppError.h"
#include "store/Database.h"
#include "store/StoreErrors.h"
#include "support/UnwritableFile.h"
#include "undo/StoredRows.h"

#include <QFile>

using namespace importing;
using testing_support::fileBytes;
using testing_support::sqlExecute;

namespace {

class ImportWriteTest : public import_test::ImportFile {
protected:
    // Every row a reader of a Fuelly file would give for one new vehicle, odometers rising.
    static exchange::ImportedFile generated(int rows, const QString& vehicle) {
        exchange::ImportedFile file = fileOf({vehicle});
        for (int i = 0; i < rows; ++i)
            file.fuel.push_back(fuel(i + 2, vehicle, day(2020, 1, 1).addDays(i), 10 + i % 3,
                                     1000 + 300.0 * i, 30 + i % 5));
        return file;
    }
    QString column(const QString& sql) const { return scalar(sql); }
};

TEST_F(ImportWriteTest, RowsAndKeptValuesAreWrittenInTheStoresForms) {
    makeFile(QStringLiteral("INSERT INTO VehicleInfo (VehicleLookup, VehicleID) VALUES "
                            "('Civic', 1);"));
    exchange::ImportedFile file = fileOf({QStringLiteral("Civic"), QStringLiteral("Truck")});
    file.vehicles[1].make = QStringLiteral("Chevrolet Silverado");
    file.vehicles[1].model = QStringLiteral("K2500");
    file.vehicles[1].year = 2019;
    exchange::ImportedFuel civic =
        fuel(3, QStringLiteral("Civic"), day(2024, 6, 1), 12.5, 45210.5, 0);
    civic.cost = values::Currency{431000};
    civic.city = QStringLiteral("Saint-Jean-sur-Richelieu Ouest");
    civic.state = QStringLiteral("Quebec");
    civic.note = QStringLiteral("00123");
    civic.tags = QStringLiteral("trip,summer");
    civic.station = QStringLiteral("Shell");
    file.fuel.push_back(civic);
    exchange::ImportedFuel truck = fuel(4, QStringLiteral("Truck"), day(2024, 6, 2), 20, 8000);
    truck.full = false;
    truck.missed = true;
    truck.state = QStringLiteral("TX");
    file.fuel.push_back(truck);
    exchange::ImportedWorkOrder order;
    order.line = 5;
    order.vehicle = QStringLiteral("Truck");
    order.date = day(2024, 6, 3);
    order.mileage = 8100;
    order.services = {QStringLiteral("Change Oil"),
                      QStringLiteral("Replace front brake pads and resurface both front rotors")};
    order.parts = {exchange::ImportedPart{QStringLiteral("ACD-41-993-XL-2024"),
                                          QStringLiteral("Pads"), values::Currency{450000}, 2}};
    order.note = QStringLiteral("Noise at the front");
    order.tags = QStringLiteral("brakes");
    file.workOrders.push_back(order);

    const ImportPlan planned = plan(file);
    ASSERT_EQ(planned.taken(), 3);
    const ImportResult result = writeImport(db(), path, planned);
    EXPECT_FALSE(result.cancelled);
    EXPECT_EQ(result.fuelWritten, 2);
    EXPECT_EQ(result.workOrdersWritten, 1);
    EXPECT_EQ(result.vehiclesMade, 1);

    EXPECT_EQ(column("SELECT group_concat(VehicleLookup || '|' || VehicleMake || '|' || "
                     "VehicleModel || '|' || VehicleYear) FROM VehicleInfo WHERE VehicleID = 2"),
              QStringLiteral("Truck|Chevrolet Silve|K2500|2019"));
    EXPECT_EQ(column("SELECT Make FROM drivolex_vehicle_extra WHERE VehicleID = 2"),
              QStringLiteral("Chevrolet Silverado"));
    // Stored forms: date text, Singles as numbers, -1 for true, cents scaled by 10000.
    EXPECT_EQ(column("SELECT group_concat(quote(FuelDate) || ' ' || quote(FuelGals) || ' ' || "
                     "quote(FuelMiles) || ' ' || FuelFull || ' ' || quote(FuelCost) || ' ' || "
                     "quote(FuelCity) || ' ' || quote(FuelState) || ' ' || VehicleID, '; ') FROM "
                     "(SELECT * FROM Fuel ORDER BY FuelId)"),
              QStringLiteral("'2024-06-01 00:00:00' 12.5 45210.5 -1 431000 "
                             "'Saint-Jean-sur-Riche' NULL 1; '2024-06-02 00:00:00' 20 8000 0 "
                             "NULL NULL 'TX' 2"));
    EXPECT_EQ(column("SELECT group_concat(quote(Note) || quote(Tags) || quote(Station) || "
                     "quote(City) || quote(State)) FROM drivolex_fuel_extra"),
              QStringLiteral("'00123''trip,summer''Shell''Saint-Jean-sur-Richelieu "
                             "Ouest''Quebec'"));
    EXPECT_EQ(column("SELECT group_concat(FuelId) FROM drivolex_fuel_missed"), QStringLiteral("2"));
    EXPECT_EQ(column("SELECT VehicleID || ' ' || Mileage || ' ' || Date FROM WorkOrder"),
              QStringLiteral("2 8100 2024-06-03 00:00:00"));
    EXPECT_EQ(column("SELECT group_concat(WorkDescription, '|') FROM WorkDone"),
              QStringLiteral("Change Oil|Replace front brake pads and resurface both front "));
    EXPECT_EQ(column("SELECT PartNum || '|' || PartDescription || '|' || PartCost || '|' || "
                     "PartQty FROM PartsUsed"),
              QStringLiteral("ACD-41-993-XL-2|Pads|450000|2"));
    EXPECT_EQ(column("SELECT WorkOrderMemo FROM WorkOrderMemo"),
              QStringLiteral("Noise at the front\nService in full: Replace front brake pads and "
                             "resurface both front rotors\nPart number in full: "
                             "ACD-41-993-XL-2024"));
    EXPECT_EQ(column("SELECT Tags FROM drivolex_workorder_extra"), QStringLiteral("brakes"));

    // The read functions give the kept values back by row.
    const std::map<qint64, FuelExtra> extras = fuelExtras(db(), 1);
    ASSERT_EQ(extras.size(), 1u);
    EXPECT_EQ(extras.at(1).city, QStringLiteral("Saint-Jean-sur-Richelieu Ouest"));
    EXPECT_TRUE(fuelExtras(db(), 2).empty());
    EXPECT_EQ(workOrderExtras(db(), 2).at(1).tags, QStringLiteral("brakes"));
    EXPECT_EQ(vehicleExtras(db()).at(2).model, QString());

    // The copy taken first holds the file as it was; both pass the file checks.
    ASSERT_TRUE(QFile::exists(result.backupPath));
    EXPECT_TRUE(result.backupPath.contains(QStringLiteral("before-import")));
    const backup::CheckResult copy = backup::checkFile(result.backupPath);
    EXPECT_TRUE(copy.sound) << copy.reason.toStdString();
    EXPECT_EQ(testing_support::sqlScalar(result.backupPath, QStringLiteral("SELECT count(*) FROM "
                                                                           "Fuel")),
              QStringLiteral("0"));
    const backup::CheckResult now = backup::checkFile(path);
    EXPECT_TRUE(now.sound) << now.reason.toStdString();
    EXPECT_NO_THROW(store::Database::OpenDatabase(path));
}

TEST_F(ImportWriteTest, OnlyTakenRowsAreWrittenAndAFileWithoutExtrasGetsNoNewTables) {
    makeFile(QStringLiteral("INSERT INTO VehicleInfo (VehicleLookup, VehicleID) VALUES "
                            "('Civic', 1); INSERT INTO Fuel (FuelDate, FuelMiles, VehicleID) "
                            "VALUES ('2024-01-01 10:00:00', 500, 1);"));
    exchange::ImportedFile file = fileOf({QStringLiteral("Civic")});
    file.fuel.push_back(fuel(2, QStringLiteral("Civic"), day(2024, 1, 1), 9, 500));
    file.fuel.push_back(fuel(3, QStringLiteral("Civic"), day(2024, 1, 2), 9, 800));
    file.fuel.push_back(fuel(4, QStringLiteral("Civic"), day(2024, 1, 3), 9, 1100));
    ImportPlan planned = plan(file);
    ASSERT_EQ(planned.rows[0].status, RowStatus::Duplicate);
    planned.rows[0].take = true;  // the user takes the duplicate in
    planned.rows[2].take = false; // and leaves a new row out
    const ImportResult result = writeImport(db(), path, planned);
    EXPECT_EQ(result.fuelWritten, 2);
    EXPECT_EQ(result.vehiclesMade, 0);
    EXPECT_EQ(column("SELECT group_concat(FuelMiles) FROM Fuel"), QStringLiteral("500,500,800"));
    EXPECT_EQ(column("SELECT count(*) FROM sqlite_master WHERE name LIKE 'drivolex_fuel%'"),
              QStringLiteral("0"));
}

TEST_F(ImportWriteTest, TheHistoryOfAHandWorkedLogAfterAnImport) {
    makeFile();
    // 1000 -> 1300 closes with the partial's fuel: 300 mi / 10 gal = 30. The fill at
    // 1700 follows a missed one: no figure, but it opens the next interval, 250 / 10 = 25.
    // Without the mark, 1300 -> 1700 would be a tank of 40.
    exchange::ImportedFile file = fileOf({QStringLiteral("Fuelly car")});
    const QString car = QStringLiteral("Fuelly car");
    file.fuel.push_back(fuel(2, car, day(2024, 1, 1), 10, 1000, 30));
    file.fuel.push_back(fuel(3, car, day(2024, 1, 8), 5, 1150, 15));
    file.fuel.back().full = false;
    file.fuel.push_back(fuel(4, car, day(2024, 1, 15), 5, 1300, 16));
    file.fuel.push_back(fuel(5, car, day(2024, 2, 1), 10, 1700, 31));
    file.fuel.back().missed = true;
    file.fuel.push_back(fuel(6, car, day(2024, 2, 10), 10, 1950, 32));
    writeImport(db(), path, plan(file));

    const history::HistoryReader reader(db());
    ASSERT_EQ(reader.vehicles().size(), 1u);
    const qint64 vehicle = reader.vehicles()[0].vehicleId;
    const history::Statistics figures =
        history::statisticsOf(reader.fuelFigures(vehicle), reader.workOrderFigures(vehicle), {});
    EXPECT_EQ(figures.fillUps, 5);
    EXPECT_DOUBLE_EQ(figures.gallons, 40);
    EXPECT_DOUBLE_EQ(*figures.averageMpg, 27.5);
    EXPECT_DOUBLE_EQ(*figures.bestMpg, 30);
    EXPECT_DOUBLE_EQ(*figures.worstMpg, 25);
    EXPECT_DOUBLE_EQ(*figures.lastMpg, 25);
    EXPECT_DOUBLE_EQ(*figures.milesDriven, 950);
    EXPECT_EQ(figures.fuelCostScaled, values::WideInteger(124) * 10000);
}

TEST_F(ImportWriteTest, ACancelLeavesTheFileByteForByteAsItWas) {
    makeFile(QStringLiteral("INSERT INTO VehicleInfo (VehicleLookup) VALUES ('Civic');"));
    const ImportPlan planned = plan(generated(1200, QStringLiteral("Truck")));
    connection.reset(); // the bytes as they lie when nothing holds the file
    const QByteArray before = fileBytes(path);
    connection = store::openConnection(path, false);
    std::vector<int> told;
    const ImportResult result = writeImport(db(), path, planned, [&](int done, int total) {
        told.push_back(done);
        EXPECT_EQ(total, 1200);
        return done < 1000;
    });
    EXPECT_TRUE(result.cancelled);
    EXPECT_EQ(result.fuelWritten, 0);
    EXPECT_EQ(told, (std::vector<int>{500, 1000}));
    connection.reset();
    EXPECT_EQ(fileBytes(path), before);
}

TEST_F(ImportWriteTest, AFailureMidWriteThrowsAndLeavesTheFileAsItWas) {
    makeFile(QStringLiteral("INSERT INTO VehicleInfo (VehicleLookup, VehicleID) VALUES "
                            "('Civic', 1), ('Van', 2);"));
    // 900 rows for a new vehicle go in first; then the rows of a vehicle that was
    // deleted since the preview was made are refused by the file's relation.
    exchange::ImportedFile file = generated(900, QStringLiteral("Truck"));
    file.vehicles.push_back(vehicleNamed(0, QStringLiteral("Van")));
    file.fuel.push_back(fuel(5000, QStringLiteral("Van"), day(2024, 1, 1), 9, 100));
    const ImportPlan planned = plan(file);
    ASSERT_EQ(planned.taken(), 901);
    ASSERT_EQ(sqlExecute(path, QStringLiteral("DELETE FROM VehicleInfo WHERE VehicleID = 2")),
              QString());
    connection.reset();
    const QByteArray before = fileBytes(path);
    connection = store::openConnection(path, false);
    int calls = 0;
    try {
        writeImport(db(), path, planned, [&](int, int) { return ++calls > 0; });
        ADD_FAILURE() << "the write went through";
    } catch (const platform::AppError& error) {
        EXPECT_EQ(error.number(), store::errRelatedRecordRequired) << error.text().toStdString();
    }
    EXPECT_EQ(calls, 1) << "the failure came after rows were written";
    connection.reset();
    EXPECT_EQ(fileBytes(path), before);
}

TEST_F(ImportWriteTest, AReadOnlyFileIsRefusedBeforeAnyRowAndStaysAsItWas) {
    makeFile();
    const ImportPlan planned = plan(generated(3, QStringLiteral("Truck")));
    connection.reset();
    const QByteArray before = fileBytes(path);
    connection = store::openConnection(path, false);
    testing_support::ReadOnlyFile readOnly(path);
    if (!readOnly.arranged())
        GTEST_SKIP() << "the file cannot be made read-only here";
    try {
        writeImport(db(), path, planned);
        ADD_FAILURE() << "a read-only file was written";
    } catch (const platform::AppError& error) {
        EXPECT_EQ(error.number(), store::errReadOnly);
    }
    readOnly.makeWritable();
    connection.reset();
    EXPECT_EQ(fileBytes(path), before);
}

TEST_F(ImportWriteTest, KeptValuesSurviveTheRebuildOfAnOlderFileAndComeBackWithAnUndo) {
    makeFile();
    exchange::ImportedFile file = generated(2, QStringLiteral("Truck"));
    file.fuel[0].note = QStringLiteral("first");
    file.fuel[1].note = QStringLiteral("second");
    file.fuel[1].missed = true;
    writeImport(db(), path, plan(file));
    connection.reset();

    // A file of version 1.0.0 is rebuilt when taken into use: Fuel among its tables.
    testing_support::declareTextColumnsAsVersion1(path);
    EXPECT_NO_THROW(store::Database::OpenDatabase(path));
    EXPECT_EQ(column("SELECT type FROM pragma_table_info('Fuel') WHERE name = 'FuelDate'"),
              QStringLiteral("DATETIME TEXT"));
    EXPECT_EQ(column("SELECT group_concat(FuelId || Note) FROM drivolex_fuel_extra"),
              QStringLiteral("1first,2second"));
    EXPECT_TRUE(testing_support::fileIsConsistent(path));

    connection = store::openConnection(path, false);
    const undo::StoredRows taken = undo::StoredRows::capture(db(), path, QStringLiteral("Fuel"), 2);
    store::execute(db(), QStringLiteral("DELETE FROM Fuel WHERE FuelId = 2"), {});
    EXPECT_EQ(column("SELECT group_concat(FuelId) FROM drivolex_fuel_extra"), QStringLiteral("1"));
    EXPECT_EQ(column("SELECT count(*) FROM drivolex_fuel_missed"), QStringLiteral("0"));
    EXPECT_EQ(taken.insertInto(db()), SQLITE_OK);
    EXPECT_EQ(column("SELECT group_concat(FuelId || Note) FROM drivolex_fuel_extra"),
              QStringLiteral("1first,2second"));
    EXPECT_EQ(column("SELECT group_concat(FuelId) FROM drivolex_fuel_missed"), QStringLiteral("2"));
}

} // namespace
