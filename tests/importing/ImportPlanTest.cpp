// The preview of an import against a real file: where each file vehicle's rows go,
// what is refused and why, duplicates of stored rows and within the file, values
// that do not fit their fields, and the short text of what each row becomes.
#include "ImportFiles.h"

#include <cmath>
#include <limits>

using namespace importing;

namespace {

class ImportPlanTest : public import_test::ImportFile {
protected:
    void SetUp() override {
        makeFile(QStringLiteral(R"(
            INSERT INTO VehicleInfo (VehicleLookup, VehicleID) VALUES ('Civic', 1), ('Van', 2);
            INSERT INTO Fuel (FuelDate, FuelGals, FuelMiles, FuelFull, VehicleID)
                VALUES ('2024-03-15 08:30:00', 10, CAST(45210.3 AS REAL), -1, 1);
            INSERT INTO WorkOrder (VehicleID, WorkOrderID, Mileage, Date)
                VALUES (1, 7, 45000, '2024-03-01 00:00:00');
        )"));
        // FuelMiles as the store keeps it: the Single nearest 45210.3.
        ASSERT_EQ(testing_support::sqlExecute(
                      path, QStringLiteral("UPDATE Fuel SET FuelMiles = %1")
                                .arg(QString::number(double(float(45210.3)), 'g', 17))),
                  QString());
    }
};

TEST_F(ImportPlanTest, DefaultTargetsTakeAStoredLookUpLetterCaseAside) {
    const std::vector<VehicleTarget> targets =
        defaultTargets(db(), fileOf({QStringLiteral("civic"), QStringLiteral(" Truck ")}));
    ASSERT_EQ(targets.size(), 2u);
    EXPECT_EQ(targets[0].existingId, 1);
    EXPECT_EQ(targets[1].existingId, std::nullopt);
    EXPECT_EQ(targets[1].newLookup, QStringLiteral("Truck"));
}

TEST_F(ImportPlanTest, ALongLookUpIsRefusedUntilTheUserAllowsTheCut) {
    exchange::ImportedFile file = fileOf({QStringLiteral("My Long Car Name")});
    file.fuel.push_back(fuel(2, QStringLiteral("My Long Car Name"), day(2024, 4, 1), 9, 100));
    std::vector<VehicleTarget> targets = defaultTargets(db(), file);

    ImportPlan refused = planImport(db(), file, targets);
    ASSERT_EQ(refused.rows.size(), 1u);
    EXPECT_EQ(refused.rows[0].status, RowStatus::Refused);
    EXPECT_EQ(refused.rows[0].reason,
              QStringLiteral("line 2: Look Up 'My Long Car Name' is longer than 10 characters"));
    EXPECT_FALSE(refused.rows[0].take);
    EXPECT_EQ(refused.taken(), 0);

    targets[0].cutAllowed = true;
    ImportPlan cut = planImport(db(), file, targets);
    EXPECT_EQ(cut.rows[0].status, RowStatus::New);
    EXPECT_EQ(cut.rows[0].vehicle, QStringLiteral("My Long Ca"));
    ASSERT_EQ(cut.warnings.size(), 1);
    EXPECT_EQ(cut.warnings[0], QStringLiteral("Look Up 'My Long Car Name' is longer than 10 "
                                              "characters: cut to 'My Long Ca'"));
}

TEST_F(ImportPlanTest, ANewLookUpOfAStoredVehicleIsThatVehicle) {
    exchange::ImportedFile file = fileOf({QStringLiteral("Honda")});
    file.fuel.push_back(fuel(2, QStringLiteral("Honda"), day(2024, 3, 15), 9, 45210.3));
    VehicleTarget target;
    target.sourceName = QStringLiteral("Honda");
    target.newLookup = QStringLiteral("CIVIC");
    ImportPlan planned = planImport(db(), file, {target});
    ASSERT_EQ(planned.vehicles.size(), 1u);
    EXPECT_EQ(planned.vehicles[0].existingId, 1);
    EXPECT_EQ(planned.rows[0].vehicle, QStringLiteral("Civic"));
    ASSERT_EQ(planned.warnings.size(), 1);
    EXPECT_TRUE(planned.warnings[0].contains(QStringLiteral("'Civic'")))
        << planned.warnings[0].toStdString();
    // The stored vehicle's rows count: this one is already there.
    EXPECT_EQ(planned.rows[0].status, RowStatus::Duplicate);
}

TEST_F(ImportPlanTest, RowsTheStoreCannotHoldAreRefusedWithTheirLineAndField) {
    exchange::ImportedFile file = fileOf({QStringLiteral("Civic")});
    const QString civic = QStringLiteral("Civic");
    file.fuel.push_back(fuel(12, civic, day(2024, 5, 1), 9, 46000)); // good
    exchange::ImportedFuel undated = fuel(3, civic, day(2024, 5, 2), 9, 46100);
    undated.date.reset();
    file.fuel.push_back(undated);
    file.fuel.push_back(fuel(4, civic, day(10000, 1, 1), 9, 46200));
    file.fuel.push_back(fuel(5, civic, day(2024, 5, 3), std::nan(""), 46300));
    file.fuel.push_back(fuel(6, civic, day(2024, 5, 4), 9, -1));
    file.fuel.push_back(fuel(7, civic, day(2024, 5, 5), 1e39, 46400));
    file.fuel.push_back(
        fuel(8, civic, day(2024, 5, 6), 9, std::numeric_limits<double>::infinity()));
    exchange::ImportedWorkOrder far;
    far.line = 9;
    far.vehicle = civic;
    far.date = day(2024, 5, 7);
    far.mileage = 3'000'000'000;
    file.workOrders.push_back(far);
    exchange::ImportedWorkOrder many = far;
    many.line = 10;
    many.mileage = 46500;
    many.parts = {exchange::ImportedPart{QStringLiteral("F-1"), {}, {}, 2},
                  exchange::ImportedPart{QStringLiteral("F-2"), {}, {}, 40000}};
    file.workOrders.push_back(many);
    file.refusals.push_back(
        exchange::RowProblem{11, QStringLiteral("date '31/02/2021' is not a day")});
    exchange::ImportedFuel stranger = fuel(13, QStringLiteral("Bike"), day(2024, 5, 8), 1, 10);
    file.fuel.push_back(stranger);

    const ImportPlan planned = plan(file);
    QStringList reasons;
    std::vector<int> lines;
    for (const PlannedRow& row : planned.rows) {
        lines.push_back(row.line);
        if (row.status == RowStatus::Refused)
            reasons << row.reason;
    }
    EXPECT_EQ(lines, (std::vector<int>{3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}));
    EXPECT_EQ(reasons,
              (QStringList{
                  QStringLiteral("line 3: no date"),
                  QStringLiteral("line 4: date 1/1/10000 is outside the years 100 to 9999"),
                  QStringLiteral("line 5: gallons is not a number"),
                  QStringLiteral("line 6: odometer -1 is negative"),
                  QStringLiteral("line 7: gallons 1e+39 is beyond the largest number the "
                                 "field holds (3.4028234663852886e+38)"),
                  QStringLiteral("line 8: odometer is not a number"),
                  QStringLiteral("line 9: mileage 3000000000 is beyond the largest the "
                                 "field holds (2147483647)"),
                  QStringLiteral("line 10: part 2: quantity 40000 is beyond what the "
                                 "field holds (-32768 to 32767)"),
                  QStringLiteral("line 11: date '31/02/2021' is not a day"),
                  QStringLiteral("line 13: no vehicle is chosen for 'Bike'"),
              }));
    EXPECT_EQ(planned.count(RowStatus::New), 1);
    EXPECT_EQ(planned.taken(), 1);
}

TEST_F(ImportPlanTest, DuplicatesOfStoredRowsAndOfEarlierRowsAreNotTaken) {
    exchange::ImportedFile file = fileOf({QStringLiteral("Civic"), QStringLiteral("Van")});
    const QString civic = QStringLiteral("Civic");
    // The stored row's day (its time aside) and odometer as a Single: 45210.30001 is
    // the same Single as 45210.3, 45210.32 is not.
    file.fuel.push_back(fuel(2, civic, day(2024, 3, 15), 11, 45210.30001));
    file.fuel.push_back(fuel(3, civic, day(2024, 3, 15), 11, 45210.32));
    file.fuel.push_back(fuel(4, QStringLiteral("Van"), day(2024, 3, 15), 11, 45210.3));
    file.fuel.push_back(fuel(5, civic, day(2024, 3, 16), 11, 45210.32));
    file.fuel.push_back(fuel(6, civic, day(2024, 3, 15), 12, 45210.32));
    exchange::ImportedWorkOrder order;
    order.line = 7;
    order.vehicle = civic;
    order.date = day(2024, 3, 1);
    order.mileage = 45000;
    file.workOrders.push_back(order);
    order.line = 8;
    order.mileage = 45001;
    file.workOrders.push_back(order);

    const ImportPlan planned = plan(file);
    ASSERT_EQ(planned.rows.size(), 7u);
    const auto status = [&](size_t i) { return planned.rows[i].status; };
    EXPECT_EQ(status(0), RowStatus::Duplicate);
    EXPECT_EQ(
        planned.rows[0].reason,
        QStringLiteral("line 2: 'Civic' has a fuel purchase of that day and odometer already"));
    EXPECT_EQ(status(1), RowStatus::New);
    EXPECT_EQ(status(2), RowStatus::New) << "another vehicle";
    EXPECT_EQ(status(3), RowStatus::New) << "another day";
    EXPECT_EQ(status(4), RowStatus::Duplicate);
    EXPECT_EQ(planned.rows[4].reason,
              QStringLiteral("line 6: the same day and odometer as line 3"));
    EXPECT_EQ(status(5), RowStatus::Duplicate);
    EXPECT_EQ(status(6), RowStatus::New);
    EXPECT_FALSE(planned.rows[0].take);
    EXPECT_TRUE(planned.rows[1].take);
    EXPECT_EQ(planned.taken(), 4);
}

TEST_F(ImportPlanTest, StoredRowsAreFoundWhetherTheirVehicleHoldsFewOrMostOfTheTable) {
    // Van holds 40 of 41 fuel rows: its rows are read in one pass over the table,
    // Civic's one row through the vehicles' index. One row of Van's is US text, as
    // another tool may leave it.
    ASSERT_EQ(testing_support::sqlExecute(
                  path, QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 "
                                       "FROM n WHERE i < 39) INSERT INTO Fuel (FuelDate, "
                                       "FuelMiles, VehicleID) SELECT date('2023-01-01', '+' || i "
                                       "|| ' days') || ' 12:00:00', 100 * i, 2 FROM n; INSERT INTO "
                                       "Fuel (FuelDate, FuelMiles, VehicleID) VALUES "
                                       "('6/30/2023 8:15 PM', 7777, 2)")),
              QString());
    exchange::ImportedFile civic = fileOf({QStringLiteral("Civic")});
    civic.fuel.push_back(fuel(2, QStringLiteral("Civic"), day(2024, 3, 15), 9, 45210.3));
    EXPECT_EQ(plan(civic).rows[0].status, RowStatus::Duplicate);

    exchange::ImportedFile van = fileOf({QStringLiteral("Van")});
    van.fuel.push_back(fuel(3, QStringLiteral("Van"), day(2023, 1, 11), 9, 1000));
    van.fuel.push_back(fuel(4, QStringLiteral("Van"), day(2023, 1, 11), 9, 1100));
    van.fuel.push_back(fuel(5, QStringLiteral("Van"), day(2023, 6, 30), 9, 7777));
    const ImportPlan planned = plan(van);
    ASSERT_EQ(planned.rows.size(), 3u);
    EXPECT_EQ(planned.rows[0].status, RowStatus::Duplicate);
    EXPECT_EQ(planned.rows[1].status, RowStatus::New);
    EXPECT_EQ(planned.rows[2].status, RowStatus::Duplicate);
}

TEST_F(ImportPlanTest, ValuesThatDoNotFitAreWarningsNamingFieldValueAndLimit) {
    exchange::ImportedFile file = fileOf({QStringLiteral("Civic")});
    exchange::ImportedFuel row = fuel(2, QStringLiteral("Civic"), day(2024, 6, 1), 9, 47000);
    row.city = QStringLiteral("Saint-Jean-sur-Richelieu Ouest");
    row.state = QStringLiteral("Quebec");
    file.fuel.push_back(row);
    exchange::ImportedWorkOrder order;
    order.line = 3;
    order.vehicle = QStringLiteral("Civic");
    order.date = day(2024, 6, 2);
    order.services = {QStringLiteral("Replace front brake pads and resurface both front rotors")};
    order.parts = {exchange::ImportedPart{QStringLiteral("ACD-41-993-XL-2024"),
                                          QStringLiteral("Brake pads, ceramic, front axle"),
                                          values::Currency{450000}, 1}};
    file.workOrders.push_back(order);

    const ImportPlan planned = plan(file);
    ASSERT_EQ(planned.rows.size(), 2u);
    EXPECT_EQ(planned.rows[0].status, RowStatus::New);
    EXPECT_EQ(planned.rows[0].warnings,
              (QStringList{QStringLiteral("City 'Saint-Jean-sur-Richelieu Ouest' is longer than "
                                          "20 characters: 'Saint-Jean-sur-Riche' is stored, the "
                                          "whole text kept aside"),
                           QStringLiteral("State 'Quebec' is not a 2-letter state code: the State "
                                          "is left empty, the whole text kept aside")}));
    const QStringList& orderWarnings = planned.rows[1].warnings;
    ASSERT_EQ(orderWarnings.size(), 3);
    EXPECT_TRUE(orderWarnings[0].startsWith(QStringLiteral(
        "Service 'Replace front brake pads and resurface both front rotors' is longer than 50 "
        "characters")));
    EXPECT_TRUE(orderWarnings[1].startsWith(
        QStringLiteral("Part number 'ACD-41-993-XL-2024' is longer than 15 characters")));
    EXPECT_TRUE(orderWarnings[2].contains(QStringLiteral("24 characters")));
    EXPECT_TRUE(orderWarnings[2].endsWith(QStringLiteral("the whole text added to the note")));
}

TEST_F(ImportPlanTest, EachRowSaysWhatItBecomes) {
    exchange::ImportedFile file = fileOf({QStringLiteral("Civic")});
    exchange::ImportedFuel partial =
        fuel(2, QStringLiteral("Civic"), day(2024, 3, 15), 12.5, 45210, 0);
    partial.cost = values::Currency{431000};
    partial.full = false;
    file.fuel.push_back(partial);
    exchange::ImportedFuel bare;
    bare.line = 3;
    bare.vehicle = QStringLiteral("Civic");
    bare.date = day(2024, 3, 16);
    bare.odometer = 1234567.46;
    bare.missed = true;
    bare.cost = values::Currency{-50050};
    file.fuel.push_back(bare);
    exchange::ImportedWorkOrder order;
    order.line = 4;
    order.vehicle = QStringLiteral("Civic");
    order.date = day(2024, 3, 15);
    order.mileage = 45210;
    order.services = {QStringLiteral("Change Oil"), QStringLiteral("Rotate Tires")};
    order.parts.resize(2);
    order.note = QStringLiteral("Noise at the front");
    file.workOrders.push_back(order);

    const ImportPlan planned = plan(file);
    ASSERT_EQ(planned.rows.size(), 3u);
    EXPECT_EQ(planned.rows[0].becomes,
              QStringLiteral("fuel purchase 3/15/2024: 12.500 gal at 45,210 mi, $43.10, partial"));
    EXPECT_EQ(planned.rows[1].becomes,
              QStringLiteral("fuel purchase 3/16/2024: at 1,234,567.5 mi, -$5.01, after a missed "
                             "fill-up"));
    EXPECT_EQ(planned.rows[2].becomes, QStringLiteral("work order 3/15/2024 at 45,210 mi: Change "
                                                      "Oil, Rotate Tires; 2 parts; note"));
}

TEST_F(ImportPlanTest, TheReadersWarningsGoWithTheirRows) {
    exchange::ImportedFile file = fileOf({QStringLiteral("Civic")});
    file.fuel.push_back(fuel(2, QStringLiteral("Civic"), day(2024, 7, 1), 9, 48000));
    file.fuel.push_back(fuel(3, QStringLiteral("Civic"), day(2024, 7, 2), 9, 48300));
    file.warnings = {exchange::RowProblem{3, QStringLiteral("no total cost: price x volume")},
                     exchange::RowProblem{0, QStringLiteral("litres read as US gallons")}};
    const ImportPlan planned = plan(file);
    EXPECT_TRUE(planned.rows[0].warnings.isEmpty());
    EXPECT_EQ(planned.rows[1].warnings,
              QStringList{QStringLiteral("no total cost: price x volume")});
    EXPECT_EQ(planned.warnings, QStringList{QStringLiteral("litres read as US gallons")});
}

} // namespace
