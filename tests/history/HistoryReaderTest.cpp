// The reader on real files: the Service History's rows put together from their
// tables, rows of the wrong kind, ties in the fuel order, and the missed marks'
// table from its creation to the cascades that remove its rows.
#include "history/HistoryReader.h"
#include "HistoryFiles.h"
#include "backup/FileCheck.h"
#include "history/HistoryText.h"
#include "history/MissedMarks.h"
#include "platform/AppError.h"
#include "store/Database.h"
#include "store/FileChecks.h"
#include "store/Recordset.h"
#include "store/Schema.h"
#include "store/Statement.h"

#include <sqlite3.h>

using namespace history;

namespace {

class HistoryReaderTest : public history_test::HistoryFile {
protected:
    std::vector<qint64> fuelIds(std::optional<qint64> vehicle) const {
        std::vector<qint64> ids;
        for (const FuelFill& fill : HistoryReader(connection.get()).fuelFills(vehicle))
            ids.push_back(fill.fuelId);
        return ids;
    }
    // Deletes through a record set of the store, as the windows do.
    void deleteWhere(const QString& source) {
        auto db = store::Database::OpenDatabase(path);
        auto rs = db->OpenRecordset(source);
        ASSERT_FALSE(rs->isEOF());
        rs->Delete();
    }
};

TEST_F(HistoryReaderTest, ServiceHistoryRowsNewestFirst) {
    makeFile(QStringLiteral(R"(
        INSERT INTO VehicleInfo (VehicleLookup, VehicleID) VALUES ('Van', 2), ('Car', 1);
        INSERT INTO WorkOrder VALUES (1, 10, 5000, '2024-01-05 00:00:00');
        INSERT INTO WorkOrder VALUES (1, 11, 9000, '2024-06-01 00:00:00');
        INSERT INTO WorkOrder VALUES (1, 12, NULL, '2024-06-01 00:00:00');
        INSERT INTO WorkOrder VALUES (2, 13, 100, '2025-01-01 00:00:00');
        INSERT INTO WorkDone VALUES (11, 7, 'Rotate Tires');
        INSERT INTO WorkDone VALUES (11, 3, 'Oil Change');
        INSERT INTO WorkDone VALUES (13, 4, 'Brakes');
        INSERT INTO PartsUsed VALUES (1, 'F-1', 'Oil Filter', 123450, 11, 2);
        INSERT INTO PartsUsed VALUES (2, 'P-9', NULL, 50, 11, 1);
        INSERT INTO PartsUsed VALUES (3, 'X-1', 'No quantity', 99990000, 11, NULL);
        INSERT INTO WorkOrderMemo VALUES ('Noise at the front left' || char(13, 10) ||
                                          'Pads worn to 2 mm', 11);
    )"));
    const HistoryReader reader(connection.get());
    const WorkOrderSummaries orders = reader.workOrders(1);
    ASSERT_EQ(orders.size(), 3u);
    // Same day: the higher order number first; the oldest last.
    EXPECT_EQ(orders[0].workOrderId, 12);
    EXPECT_EQ(orders[0].miles, std::nullopt);
    EXPECT_EQ(orders[1].workOrderId, 11);
    EXPECT_EQ(orders[2].workOrderId, 10);
    const WorkOrderSummary& order = orders[1];
    EXPECT_EQ(order.services, "Oil Change, Rotate Tires"); // in key order
    EXPECT_EQ(order.partsCount, 3);
    EXPECT_EQ(centsText(order.partsTotalCents), "$24.70"); // $24.69 + $.01; no quantity, nothing
    EXPECT_EQ(order.noteFirstLine, "Noise at the front left");
    EXPECT_EQ(order.miles, std::optional<qint64>(9000));
    for (const char* text : {"Rotate Tires", "F-1", "Oil Filter", "P-9", "Pads worn"})
        EXPECT_TRUE(order.searchText.contains(QLatin1String(text))) << text;
    EXPECT_FALSE(order.searchText.contains(QLatin1String("Brakes")));

    // The figures' read: the same orders and totals without the texts.
    const WorkOrderSummaries figures = reader.workOrderFigures(1);
    ASSERT_EQ(figures.size(), 3u);
    EXPECT_EQ(figures[1].partsTotalCents, order.partsTotalCents);
    EXPECT_EQ(figures[1].partsCount, 3);
    EXPECT_EQ(figures[1].searchText, QString());

    EXPECT_EQ(reader.workOrders(std::nullopt).size(), 4u);
    ASSERT_EQ(reader.vehicles().size(), 2u);
    EXPECT_EQ(reader.vehicles()[0].lookUp, "Car");
}

TEST_F(HistoryReaderTest, ValuesOfTheWrongKindReadAsEmpty) {
    // As another tool could leave them: text in number, money and date columns.
    makeFile(QStringLiteral(R"(
        INSERT INTO VehicleInfo (VehicleLookup, VehicleID) VALUES ('Car', 1);
        INSERT INTO Fuel VALUES ('2024-01-01 00:00:00', 10, 1000, -1, 300000, 'A', 'OR', 1, 1);
        INSERT INTO Fuel VALUES ('soon', 'ten', 'far', 'maybe', 'free', 'B', NULL, 2, 1);
        INSERT INTO Fuel VALUES ('2024-01-09', '8.5', 1300, 'True', 2.5, 'C', NULL, 3, 1);
        INSERT INTO WorkOrder VALUES (1, 5, 'lots', 'yesterday');
        INSERT INTO PartsUsed VALUES (1, 'F-1', NULL, 'free', 5, 'two');
    )"));
    const HistoryReader reader(connection.get());
    const FuelFills fills = reader.fuelFills(1);
    ASSERT_EQ(fills.size(), 3u);
    const auto named = [&](const char* city) {
        for (const FuelFill& fill : fills)
            if (fill.city == QLatin1String(city))
                return fill;
        return FuelFill{};
    };
    const FuelFill odd = named("B");
    EXPECT_FALSE(odd.date.isValid());
    EXPECT_EQ(odd.gallons, std::nullopt);
    EXPECT_EQ(odd.odometer, std::nullopt);
    EXPECT_EQ(odd.cost, std::nullopt);
    EXPECT_FALSE(odd.full);
    // What the store's conversions can read, they read: an ISO date, numeric text,
    // "True", a real amount in dollars.
    const FuelFill read = named("C");
    EXPECT_EQ(read.date.date(), QDate(2024, 1, 9));
    EXPECT_EQ(read.gallons, std::optional<float>(8.5f));
    EXPECT_TRUE(read.full);
    EXPECT_EQ(read.cost->scaled, 25000);

    const WorkOrderSummaries orders = reader.workOrders(1);
    ASSERT_EQ(orders.size(), 1u);
    EXPECT_EQ(orders[0].miles, std::nullopt);
    EXPECT_FALSE(orders[0].date.isValid());
    EXPECT_EQ(orders[0].partsCount, 1);
    EXPECT_EQ(orders[0].partsTotalCents, 0);
}

TEST_F(HistoryReaderTest, FillsByDateThenOdometerThenEntry) {
    makeFile(QStringLiteral(R"(
        INSERT INTO VehicleInfo (VehicleLookup, VehicleID) VALUES ('Car', 1), ('Van', 2);
        INSERT INTO Fuel (FuelId, FuelDate, FuelMiles, VehicleID) VALUES
            (9, '2024-01-02 00:00:00', 500, 1), (4, '2024-01-02 00:00:00', 500, 1),
            (7, '2024-01-02 00:00:00', 400, 1), (8, '2024-01-01 00:00:00', 900, 1),
            (1, '2024-01-01 00:00:00', 10, 2);
    )"));
    EXPECT_EQ(fuelIds(1), (std::vector<qint64>{8, 7, 4, 9}));
    EXPECT_EQ(fuelIds(std::nullopt), (std::vector<qint64>{8, 7, 4, 9, 1}));
}

// The reader orders the fills itself; whatever kinds the key columns hold, the
// order must stay the database engine's own ORDER BY.
TEST_F(HistoryReaderTest, FillsOfEveryKindInTheEnginesOrder) {
    makeFile(QStringLiteral(R"(
        INSERT INTO VehicleInfo (VehicleLookup, VehicleID) VALUES ('Car', 1), ('Van', 2);
        INSERT INTO Fuel (FuelId, FuelDate, FuelMiles, VehicleID) VALUES
            (1, NULL, 100, 1), (2, '2024-01-02 00:00:00', NULL, 1),
            (3, '2024-01-02 00:00:00', 500, 1), (4, '2024-01-02 00:00:00', 499.5, 1),
            (5, '2024-01-02 00:00:00', 500, 1), (6, '2024-01-01 23:59:59', 900, 1),
            (12, '2024-01-02 00:00:00', -3, 1), (7, '2024-01-02 00:00:00', 1, NULL),
            (8, '2023-12-31 00:00:00', 1e6, 2);
    )"));
    const auto enginesOrder = [&](const QString& where) {
        store::Statement select(connection.get(),
                                QStringLiteral("SELECT FuelId FROM Fuel %1 ORDER BY VehicleID, "
                                               "FuelDate, FuelMiles, FuelId")
                                    .arg(where));
        std::vector<qint64> ids;
        while (select.step() == SQLITE_ROW)
            ids.push_back(select.columnInt64(0));
        return ids;
    };
    EXPECT_EQ(fuelIds(1), (std::vector<qint64>{1, 6, 2, 12, 4, 3, 5}));
    EXPECT_EQ(fuelIds(1), enginesOrder(QStringLiteral("WHERE VehicleID = 1")));
    EXPECT_EQ(fuelIds(std::nullopt), enginesOrder(QString()));

    // Kinds only another tool leaves, one to a vehicle: a date in another form,
    // text miles, a blob for a date.
    ASSERT_EQ(testing_support::sqlExecute(
                  path, QStringLiteral("INSERT INTO VehicleInfo (VehicleLookup, VehicleID) VALUES "
                                       "('Bus', 3); INSERT INTO Fuel (FuelId, FuelDate, FuelMiles, "
                                       "VehicleID) VALUES (10, '2024-1-5', 7, 1), "
                                       "(13, '2024-01-02 00:00:00', 'near', 2), "
                                       "(14, '2024-01-02 00:00:00', 1, 2), (11, x'00', 5, 3), "
                                       "(15, '2025-01-01 00:00:00', 5, 3)")),
              QString());
    EXPECT_EQ(fuelIds(1).size(), 8u);
    for (const qint64 vehicle : {1, 2, 3})
        EXPECT_EQ(fuelIds(vehicle),
                  enginesOrder(QStringLiteral("WHERE VehicleID = %1").arg(vehicle)))
            << "vehicle " << vehicle;
    EXPECT_EQ(fuelIds(std::nullopt), enginesOrder(QString()));
}

TEST_F(HistoryReaderTest, MissedMarksFromFirstMarkToCascade) {
    makeFile(QStringLiteral(R"(
        INSERT INTO VehicleInfo (VehicleLookup, VehicleID) VALUES ('Car', 1), ('Van', 2);
        INSERT INTO Fuel (FuelId, FuelDate, FuelMiles, FuelFull, VehicleID) VALUES
            (1, '2024-01-01 00:00:00', 100, -1, 1), (2, '2024-01-02 00:00:00', 200, -1, 1),
            (3, '2024-01-03 00:00:00', 300, -1, 1), (4, '2024-01-01 00:00:00', 50, -1, 2);
    )"));
    sqlite3* db = connection.get();
    // A file never marked reads as before and gains no table by a clear.
    EXPECT_FALSE(hasMissedTable(db));
    EXPECT_EQ(fuelIds(1).size(), 3u);
    setMissed(db, 2, false);
    EXPECT_FALSE(hasMissedTable(db));

    setMissed(db, 2, true);
    setMissed(db, 3, true);
    setMissed(db, 4, true);
    setMissed(db, 3, true); // twice is once
    EXPECT_TRUE(hasMissedTable(db));
    EXPECT_TRUE(isMissed(db, 2));
    EXPECT_FALSE(isMissed(db, 1));
    EXPECT_EQ(missedFuelIds(db, 1), (QSet<qint64>{2, 3}));
    const FuelFills fills = HistoryReader(db).fuelFills(1);
    EXPECT_EQ((std::vector<bool>{fills[0].missed, fills[1].missed, fills[2].missed}),
              (std::vector<bool>{false, true, true}));
    setMissed(db, 3, false);
    EXPECT_EQ(missedFuelIds(db, 1), (QSet<qint64>{2}));
    EXPECT_THROW(setMissed(db, 99, true), platform::AppError) << "no such fuel row";

    // The store takes up a file holding the table and the day's checks pass it; an
    // older file whose fuel table the store rebuilds on taking it up keeps its marks.
    connection.reset();
    testing_support::declareTextColumnsAsVersion1(path);
    ASSERT_EQ(scalar(QStringLiteral("SELECT type FROM pragma_table_info('Fuel') WHERE name = "
                                    "'FuelDate'")),
              "DATETIME");
    EXPECT_NO_THROW(store::schema::openProgramDatabase(path));
    EXPECT_EQ(scalar(QStringLiteral("SELECT group_concat(FuelId) FROM drivolex_fuel_missed")),
              "2,4");
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM pragma_table_info('Fuel') WHERE "
                                    "type = 'DATETIME TEXT'")),
              "1")
        << "the fuel table was rebuilt";
    const backup::CheckResult check = backup::checkFile(path, false);
    EXPECT_TRUE(check.sound) << check.reason.toStdString();

    // Deleting the fuel row or the vehicle takes the marks with it.
    deleteWhere(QStringLiteral("Select * from Fuel where FuelId = 2"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT group_concat(FuelId) FROM drivolex_fuel_missed")), "4");
    deleteWhere(QStringLiteral("Select * from VehicleInfo where VehicleID = 2"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM drivolex_fuel_missed")), "0");
    EXPECT_TRUE(testing_support::fileIsConsistent(path));
}

} // namespace
