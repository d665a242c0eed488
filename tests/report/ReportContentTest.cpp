// What a report says, read from a real file: visits oldest first with their services
// and parts in the order entered, totals to the cent, the note whole, the period's
// choice of rows, one report per vehicle, and the fuel log only when asked for.
#include "ReportFiles.h"
#include "history/HistoryFiles.h"

namespace {

using report::ReportContent;
using report::ReportOptions;

class ReportContentTest : public history_test::HistoryFile {
protected:
    void SetUp() override {
        makeFile(QStringLiteral(R"(
            INSERT INTO VehicleInfo (VehicleLookup, VehicleID, VehicleMake, VehicleModel,
                                     VehicleYear, VehicleSerialNum)
                VALUES ('Van', 2, 'Ford', 'Transit', 2018, 'V-1'),
                       ('Car', 1, 'Honda', 'Civic', 2016, 'C-1');
            INSERT INTO WorkOrder VALUES (1, 12, 9000, '2024-06-01 00:00:00');
            INSERT INTO WorkOrder VALUES (1, 11, 8800, '2024-06-01 00:00:00');
            INSERT INTO WorkOrder VALUES (1, 10, 5000, '2023-01-05 00:00:00');
            INSERT INTO WorkOrder VALUES (2, 13, NULL, '2025-01-01 00:00:00');
            INSERT INTO WorkDone VALUES (11, 7, 'Rotate Tires');
            INSERT INTO WorkDone VALUES (11, 3, 'Oil Change');
            INSERT INTO PartsUsed VALUES (5, 'F-1', 'Oil Filter', 123450, 11, 2);
            INSERT INTO PartsUsed VALUES (2, 'P-9', NULL, 3333, 11, 3);
            INSERT INTO PartsUsed VALUES (3, 'X-1', 'No quantity', 99990000, 11, NULL);
            INSERT INTO PartsUsed VALUES (4, 'B-2', 'Brake pads', 450000, 10, 1);
            INSERT INTO WorkOrderMemo VALUES ('Noise at the front left' || char(13, 10) ||
                                              'Pads worn to 2 mm', 11);
            INSERT INTO Fuel (FuelDate, FuelGals, FuelMiles, FuelFull, FuelCost, FuelCity,
                              FuelState, VehicleID)
                VALUES ('2024-01-01 00:00:00', 10, 1000, -1, 300000, 'Dayton', 'OH', 1),
                       ('2024-02-01 00:00:00', 10, 1300, -1, 310000, 'Xenia', 'OH', 1);
        )"));
    }
    std::vector<ReportContent> read(ReportOptions options) const {
        return report_test::reportsOf(path, options);
    }
};

TEST_F(ReportContentTest, VisitsOldestFirstWithEverythingEnteredAndExactTotals) {
    ReportOptions options;
    options.vehicleId = 1;
    const std::vector<ReportContent> reports = read(options);
    ASSERT_EQ(reports.size(), 1u);
    const ReportContent& car = reports.front();
    EXPECT_EQ(car.vehicle.lookUp, QStringLiteral("Car"));
    EXPECT_EQ(car.vehicle.make, QStringLiteral("Honda"));
    EXPECT_EQ(car.vehicle.year, QStringLiteral("2016"));
    EXPECT_EQ(car.vehicle.serialNumber, QStringLiteral("C-1"));
    EXPECT_EQ(car.printedDate, QStringLiteral("12/9/2026"));
    ASSERT_EQ(car.visits.size(), 3u);
    // Oldest first; the same day by order number.
    EXPECT_EQ(car.visits[0].workOrderId, 10);
    EXPECT_EQ(car.visits[1].workOrderId, 11);
    EXPECT_EQ(car.visits[2].workOrderId, 12);
    const report::ServiceVisit& visit = car.visits[1];
    EXPECT_EQ(visit.date, QStringLiteral("6/1/2024"));
    EXPECT_EQ(visit.miles, QStringLiteral("8,800"));
    EXPECT_EQ(visit.services,
              (QStringList{QStringLiteral("Oil Change"), QStringLiteral("Rotate Tires")}));
    ASSERT_EQ(visit.parts.size(), 3u);
    // In the order entered (their keys); each line rounded to cents as the order shows it.
    EXPECT_EQ(visit.parts[0].partNumber, QStringLiteral("P-9"));
    EXPECT_EQ(visit.parts[0].cost, QStringLiteral("$0.33"));
    EXPECT_EQ(visit.parts[0].total, QStringLiteral("$1.00"));
    EXPECT_EQ(visit.parts[1].total, QStringLiteral(""));
    EXPECT_EQ(visit.parts[1].quantity, QStringLiteral(""));
    EXPECT_EQ(visit.parts[2].description, QStringLiteral("Oil Filter"));
    EXPECT_EQ(visit.parts[2].total, QStringLiteral("$24.69"));
    EXPECT_EQ(visit.partsTotal, QStringLiteral("$25.69"));
    EXPECT_EQ(visit.note, QStringLiteral("Noise at the front left\r\nPads worn to 2 mm"));
    EXPECT_EQ(car.grandTotal, QStringLiteral("$70.69"));
    EXPECT_EQ(car.fuel.fillUps, QStringLiteral("2"));
    EXPECT_EQ(car.fuel.averageMpg, QStringLiteral("30.00"));
    EXPECT_FALSE(car.withFuelLog);
    EXPECT_TRUE(car.fuelLogRows.empty());
}

TEST_F(ReportContentTest, PeriodChoosesTheVisitsAndFillsAndEveryVehicleGetsAReport) {
    ReportOptions options;
    options.period.from = QDate(2024, 1, 15);
    options.period.to = QDate(2024, 12, 31);
    options.withFuelLog = true;
    const std::vector<ReportContent> reports = read(options);
    // Look Up order: Car, then Van.
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_EQ(reports[0].vehicle.lookUp, QStringLiteral("Car"));
    EXPECT_EQ(reports[1].vehicle.lookUp, QStringLiteral("Van"));
    ASSERT_EQ(reports[0].visits.size(), 2u);
    EXPECT_EQ(reports[0].visits[0].workOrderId, 11);
    EXPECT_EQ(reports[0].grandTotal, QStringLiteral("$25.69"));
    // The fill of February only, its MPG from the January tank before the period.
    ASSERT_EQ(reports[0].fuelLogRows.size(), 1u);
    const QStringList& row = reports[0].fuelLogRows.front();
    ASSERT_EQ(row.size(), reports[0].fuelLogCaptions.size());
    EXPECT_EQ(row[0], QStringLiteral("2/1/2024"));
    EXPECT_EQ(row[7], QStringLiteral("30.00"));
    EXPECT_EQ(row[8], QStringLiteral("Xenia"));
    EXPECT_TRUE(reports[1].visits.empty());
    EXPECT_EQ(reports[1].grandTotal, QStringLiteral("$0.00"));

    options.vehicleId = 99;
    EXPECT_TRUE(read(options).empty());
}

TEST(ReportPeriodTextTest, RangesNameTheirEnds) {
    using history::PeriodKind;
    history::DateRange range{QDate(2024, 1, 1), QDate(2024, 12, 31)};
    EXPECT_EQ(report::periodTextOf(PeriodKind::Range, range),
              QStringLiteral("1/1/2024 to 12/31/2024"));
    range.to.reset();
    EXPECT_EQ(report::periodTextOf(PeriodKind::Range, range), QStringLiteral("From 1/1/2024"));
    EXPECT_EQ(report::periodTextOf(PeriodKind::Range, {std::nullopt, QDate(2024, 3, 5)}),
              QStringLiteral("Through 3/5/2024"));
    EXPECT_EQ(report::periodTextOf(PeriodKind::LastYear, range), QStringLiteral("Last Year"));
}

} // namespace
