// One vehicle's fuel log worked out by hand: every rule of the fuel economy on one
// table, read from a real file, then the Statistics figures and the chart series of
// that table for the whole time and for a period that starts inside an interval.
#include "HistoryFiles.h"
#include "history/ChartData.h"
#include "history/FuelEconomy.h"
#include "history/HistoryReader.h"
#include "history/HistoryText.h"
#include "history/MissedMarks.h"
#include "history/Statistics.h"

using namespace history;

namespace {

struct Row {
    const char* name;
    const char* date;
    double miles;
    double gallons;
    bool full;
    bool missed;
    qint64 costScaled; // -1: no cost
    const char* mpg;   // as shown; "" for none
};

// In the order they were entered (the key order); the list shows them by date, then
// odometer.
const Row kRows[] = {
    {"A", "2024-01-01", 1000, 10, true, false, 300050, ""}, // no earlier full tank
    {"B", "2024-01-08", 1150, 5, false, false, 150000, ""},
    {"C", "2024-01-15", 1300, 10, true, false, 300000, "20.00"}, // 300 / (10 + 5)
    {"D", "2024-01-20", 1500, 8, true, true, 240000, ""},        // missed, opens a new one
    {"E", "2024-01-25", 1600, 4, false, true, 120000, ""},       // a missed partial...
    {"F", "2024-01-30", 1800, 6, true, false, 180000, ""},       // ...breaks this one
    {"G", "2024-02-05", 2000, 10, true, false, 300000, "20.00"}, // 200 / 10 from F
    {"I", "2024-02-10", 2200, 5, true, false, 150000, "25.00"},  // 200 / (5 + 3): H first
    {"H", "2024-02-10", 2100, 3, false, false, 90000, ""},       // same day, lower odometer
    {"J", "2024-02-15", 2300, 0, true, false, -1, ""},           // no gallons, still opens
    {"K", "2024-02-20", 2500, 8, true, false, 240000, "25.00"},  // 200 / 8 from J
    {"M", "2024-03-01", 2800, 6, true, false, 180000, "30.00"},  // 300 / (6 + 4): L counts
    {"N", "2024-03-05", 2700, 5, true, false, 150000, ""},       // odometer went back
    {"O", "2024-03-10", 2900, 8, true, false, 240000, "25.00"},  // 200 / 8 from N
    {"L", "2024-02-25", 2600, 4, false, false, 120000, ""},      // entered last, dated earlier
};
const char kListOrder[] = "ABCDEFGHIJKLMNO";

class EconomyTable : public history_test::HistoryFile {
protected:
    void SetUp() override {
        QString sql = QStringLiteral(
            "INSERT INTO VehicleInfo (VehicleLookup, VehicleID) VALUES ('Car', 1);"
            "INSERT INTO WorkOrder (VehicleID, WorkOrderID, Mileage, Date) "
            "VALUES (1, 1, 3000, '2024-03-20 00:00:00');"
            // 2 x $12.345 shows $24.69; 1 x $0.005 shows $.01: $24.70.
            "INSERT INTO PartsUsed (PartID, PartNum, PartCost, WorkOrderId, PartQty) "
            "VALUES (1, 'F-1', 123450, 1, 2), (2, 'W-2', 50, 1, 1);");
        for (const Row& row : kRows)
            sql += QStringLiteral("INSERT INTO Fuel (FuelDate, FuelMiles, FuelGals, FuelFull, "
                                  "FuelCost, FuelCity, VehicleID) VALUES "
                                  "('%1 00:00:00', %2, %3, %4, %5, '%6', 1);")
                       .arg(QLatin1String(row.date))
                       .arg(row.miles)
                       .arg(row.gallons)
                       .arg(row.full ? -1 : 0)
                       .arg(row.costScaled < 0 ? QStringLiteral("NULL")
                                               : QString::number(row.costScaled))
                       .arg(QLatin1String(row.name));
        makeFile(sql);
        for (const Row& row : kRows)
            if (row.missed)
                setMissed(connection.get(),
                          scalar(QStringLiteral("SELECT FuelId FROM Fuel WHERE FuelCity = '%1'")
                                     .arg(QLatin1String(row.name)))
                              .toLongLong(),
                          true);
        const HistoryReader reader(connection.get());
        fills = reader.fuelFills(1);
        orders = reader.workOrders(1);
    }

    static const Row& rowNamed(const QString& name) {
        for (const Row& row : kRows)
            if (name == QLatin1String(row.name))
                return row;
        throw std::logic_error("no such row");
    }

    FuelFills fills;
    WorkOrderSummaries orders;
};

TEST_F(EconomyTable, EachIntervalAsWorkedOutByHand) {
    ASSERT_EQ(fills.size(), std::size(kRows));
    const std::vector<FillEconomy> economy = economyOf(fills);
    QString order;
    for (std::size_t i = 0; i < fills.size(); ++i) {
        order += fills[i].city;
        const Row& row = rowNamed(fills[i].city);
        EXPECT_EQ(fills[i].missed, row.missed) << row.name;
        const auto& tank = economy[i].tank;
        EXPECT_EQ(mpgText(tank ? std::optional<double>(*tank->mpg) : std::nullopt),
                  QLatin1String(row.mpg))
            << row.name;
    }
    EXPECT_EQ(order, QLatin1String(kListOrder));
    // Distance since the previous fill, also where no tank closes: L lies between K and M.
    EXPECT_EQ(economy[0].distance, std::nullopt);
    EXPECT_EQ(economy[11].distance, std::optional<float>(100.0f));  // L: 2600 - 2500
    EXPECT_EQ(economy[13].distance, std::optional<float>(-100.0f)); // N: 2700 - 2800
}

TEST_F(EconomyTable, StatisticsOfAllTime) {
    const Statistics s = statisticsOf(fills, orders, DateRange{});
    EXPECT_EQ(mpgText(s.averageMpg), "23.73"); // 1400 miles / 59 gallons, never a mean of ratios
    EXPECT_EQ(mpgText(s.bestMpg), "30.00");
    EXPECT_EQ(mpgText(s.worstMpg), "20.00");
    EXPECT_EQ(mpgText(s.lastMpg), "25.00");
    EXPECT_EQ(milesText(s.milesDriven), "2,000"); // 1000 on 1/1 to the work order's 3000
    EXPECT_EQ(s.fillUps, 15);
    EXPECT_EQ(gallonsText(s.gallons), "92.0");
    EXPECT_EQ(scaledMoneyText(s.fuelCostScaled), "$276.01"); // $276.005 exactly
    EXPECT_EQ(perUnitMoneyText(s.averagePricePerGallon), "$3.00");
    EXPECT_EQ(perUnitMoneyText(s.fuelCostPerMile), "$0.14");
    EXPECT_EQ(centsText(s.partsCostCents), "$24.70");
    EXPECT_EQ(perUnitMoneyText(s.partsCostPerMile), "$0.01");
    EXPECT_EQ(perUnitMoneyText(s.totalCostPerMile), "$0.15"); // $300.705 / 2000
    EXPECT_EQ(milesText(s.milesPerMonth), "771");             // 2000 miles over 79 days
    EXPECT_EQ(s.workOrders, 1);
}

TEST_F(EconomyTable, PeriodStartingInsideAnInterval) {
    // M's interval opens at K on 2/20 and closes on 3/1: it counts in March.
    const DateRange march{QDate(2024, 3, 1), QDate(2024, 3, 31)};
    const Statistics s = statisticsOf(fills, orders, march);
    EXPECT_EQ(mpgText(s.averageMpg), "27.78"); // (300 + 200) / (10 + 8)
    EXPECT_EQ(mpgText(s.bestMpg), "30.00");
    EXPECT_EQ(mpgText(s.worstMpg), "25.00");
    EXPECT_EQ(s.fillUps, 3);
    EXPECT_EQ(gallonsText(s.gallons), "19.0");
    EXPECT_EQ(milesText(s.milesDriven), "200"); // M's 2800 to the order's 3000
    EXPECT_EQ(scaledMoneyText(s.fuelCostScaled), "$57.00");
    EXPECT_EQ(perUnitMoneyText(s.fuelCostPerMile), "$0.29");

    const ChartData chart = chartDataOf(fills, orders, march);
    ASSERT_EQ(chart.mpgPerTank.size(), 2u);
    EXPECT_EQ(chart.mpgPerTank[0].when.date(), QDate(2024, 3, 1));
    EXPECT_EQ(mpgText(chart.averageMpg), "27.78");
    EXPECT_EQ(chart.pricePerGallon.size(), 3u);
    ASSERT_EQ(chart.costPerMonth.size(), 1u);
    EXPECT_DOUBLE_EQ(chart.costPerMonth[0].fuel, 57.0);
    EXPECT_DOUBLE_EQ(chart.costPerMonth[0].parts, 24.70);

    // A period with no fill and no order has nothing to show.
    const Statistics none = statisticsOf(fills, orders, DateRange{QDate(2025, 1, 1), {}});
    EXPECT_EQ(none.fillUps, 0);
    EXPECT_EQ(none.averageMpg, std::nullopt);
    EXPECT_EQ(none.milesDriven, std::nullopt);
    EXPECT_EQ(perUnitMoneyText(none.fuelCostPerMile), QString());
}

TEST_F(EconomyTable, CostPerMonthOverTheWholeTime) {
    const ChartData chart = chartDataOf(fills, orders, DateRange{});
    EXPECT_EQ(chart.mpgPerTank.size(), 6u);
    ASSERT_EQ(chart.costPerMonth.size(), 3u);
    EXPECT_EQ(chart.costPerMonth[0].month, QDate(2024, 1, 1));
    EXPECT_DOUBLE_EQ(chart.costPerMonth[0].fuel, 129.005);
    EXPECT_DOUBLE_EQ(chart.costPerMonth[1].fuel, 90.0);
    EXPECT_DOUBLE_EQ(chart.costPerMonth[2].parts, 24.70);
}

TEST(FuelEconomy, FuelGivenBackThatLeavesNoFuelBurntGivesNoFigure) {
    const auto fill = [](float miles, float gallons, bool full) {
        FuelFill f;
        f.odometer = miles;
        f.gallons = gallons;
        f.full = full;
        return f;
    };
    // 300 miles on 5 - 15 gallons: a negative figure before.
    const std::vector<FillEconomy> economy =
        economyOf({fill(1000, 10, true), fill(1100, -15, false), fill(1300, 5, true)});
    EXPECT_FALSE(economy[2].tank.has_value());
}

} // namespace
