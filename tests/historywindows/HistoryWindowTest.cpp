// The hand-computed cases shown through the Vehicle History: the Fuel Log's texts,
// the statistics as a screen reader reads them, every vehicle at once, a period.
#include "HistoryWindowFixture.h"

#include "historywindows/HistoryCharts.h"

#include <QChartView>
#include <QLineSeries>
#include <QStackedWidget>

namespace historywindows_test {

using Column = historywindows::FuelLogModel::Column;

TEST_F(HistoryWindowTest, FuelLogShowsTheVehicleInDateThenOdometerOrderWithItsMpg) {
    addHandComputedCases();
    openHistory();
    chooseVehicle(QStringLiteral("Wagon"));
    EXPECT_EQ(history->windowTitle(), QStringLiteral("Vehicle History"));
    EXPECT_EQ(history->fuelLog().columnCount(), 11) << "no Vehicle column for one vehicle";
    EXPECT_EQ(fuelColumn(Column::Odometer), (QStringList{"1000", "1150", "1300", "1550", "1600",
                                                         "1900", "2200", "2500", "2800"}));
    EXPECT_EQ(fuelColumn(Column::Date).first(), QStringLiteral("1/5/2024"));
    EXPECT_EQ(fuelColumn(Column::Distance),
              (QStringList{"", "150", "150", "250", "50", "300", "300", "300", "300"}));
    EXPECT_EQ(fuelColumn(Column::Mpg),
              (QStringList{"", "", "20.00", "", "25.00", "", "30.00", "30.00", "25.00"}));
    EXPECT_EQ(fuelColumn(Column::Cost)[2], QStringLiteral("$31.00"));
    EXPECT_EQ(fuelColumn(Column::PricePerGallon)[2], QStringLiteral("$3.10"));

    // Sorting on a header click, and back.
    QHeaderView* header = history->dbgFuelLog->horizontalHeader();
    const int mpg = history->fuelLog().viewColumnOf(Column::Mpg);
    history->dbgFuelLog->sortByColumn(mpg, Qt::DescendingOrder);
    EXPECT_EQ(fuelColumn(Column::Mpg).mid(0, 4), (QStringList{"30.00", "30.00", "25.00", "25.00"}));
    EXPECT_EQ(fuelColumn(Column::Odometer).mid(0, 2), (QStringList{"2200", "2500"}))
        << "ties keep the date order";
    QTest::mouseClick(
        header->viewport(), Qt::LeftButton, {},
        QPoint(header->sectionViewportPosition(history->fuelLog().viewColumnOf(Column::Odometer)) +
                   5,
               header->height() / 2));
    EXPECT_EQ(fuelColumn(Column::Odometer).first(), QStringLiteral("1000"));
}

TEST_F(HistoryWindowTest, StatisticsLabelsReadAsComputedByHandAndFollowThePeriod) {
    addHandComputedCases();
    openHistory();
    chooseVehicle(QStringLiteral("Wagon"));
    chooseTab(historywindows::frmHistory::StatisticsTab);
    // Intervals 300/15, 300/12, 300/10, 300/10, 300/12: 1500 miles on 59 gallons.
    EXPECT_EQ(figure(QStringLiteral("Average MPG")), QStringLiteral("25.42"));
    EXPECT_EQ(figure(QStringLiteral("Best MPG")), QStringLiteral("30.00"));
    EXPECT_EQ(figure(QStringLiteral("Worst MPG")), QStringLiteral("20.00"));
    EXPECT_EQ(figure(QStringLiteral("Last MPG")), QStringLiteral("25.00"));
    EXPECT_EQ(figure(QStringLiteral("Miles Driven")), QStringLiteral("1,800"));
    EXPECT_EQ(figure(QStringLiteral("Fill-Ups")), QStringLiteral("9"));
    EXPECT_EQ(figure(QStringLiteral("Fuel Cost")), QStringLiteral("$228.00"));
    EXPECT_EQ(figure(QStringLiteral("Average Price/Gal")), QStringLiteral("$3.30"));
    EXPECT_EQ(figure(QStringLiteral("Fuel Cost per Mile")), QStringLiteral("$0.13"));
    EXPECT_EQ(figure(QStringLiteral("Parts Cost")), QStringLiteral("$7.00"));
    EXPECT_EQ(figure(QStringLiteral("Total Cost per Mile")), QStringLiteral("$0.13"));
    EXPECT_EQ(figure(QStringLiteral("Work Orders")), QStringLiteral("3"));

    // April and May: the tanks closed at 2200, 2500 and 2800; 900 miles on 32 gallons.
    chooseRange(QDate(2024, 4, 1), QDate(2024, 5, 31));
    EXPECT_EQ(figure(QStringLiteral("Average MPG")), QStringLiteral("28.13"));
    EXPECT_EQ(figure(QStringLiteral("Worst MPG")), QStringLiteral("25.00"));
    EXPECT_EQ(figure(QStringLiteral("Fill-Ups")), QStringLiteral("3"));
    EXPECT_EQ(figure(QStringLiteral("Work Orders")), QStringLiteral("1"));
    chooseTab(historywindows::frmHistory::FuelLogTab);
    EXPECT_EQ(fuelColumn(Column::Odometer), (QStringList{"2200", "2500", "2800"}));
    EXPECT_EQ(fuelColumn(Column::Mpg), (QStringList{"30.00", "30.00", "25.00"}))
        << "the tank opened before the period still counts its miles";
}

TEST_F(HistoryWindowTest, ANewFileShowsEveryTabEmptyWithoutAnError) {
    openHistory();
    ASSERT_EQ(history->cboVehicleID->count(), 1);
    EXPECT_TRUE(fuelColumn(Column::Date).isEmpty());
    chooseTab(historywindows::frmHistory::ServiceHistoryTab);
    EXPECT_TRUE(serviceColumn(historywindows::ServiceHistoryModel::Column::Date).isEmpty());
    chooseTab(historywindows::frmHistory::StatisticsTab);
    // Only the total line, with nothing to add up.
    QAbstractItemModel* table = history->fraStatistics->dbgStatistics->model();
    ASSERT_EQ(table->rowCount(), 1);
    EXPECT_EQ(table->index(0, 0).data().toString(), QStringLiteral("Total"));
    chooseTab(historywindows::frmHistory::ChartsTab);
    EXPECT_EQ(boxes.count(), 0);
}

TEST_F(HistoryWindowTest, AllVehiclesListsEachVehicleAndTheirTotal) {
    addHandComputedCases();
    openHistory();
    ASSERT_EQ(history->cboVehicleID->currentText(), QStringLiteral("All Vehicles"));
    EXPECT_EQ(history->fuelLog().columnCount(), 12);
    EXPECT_EQ(history->fuelLog().headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(),
              QStringLiteral("Vehicle"));
    const QStringList vehicles = fuelColumn(Column::Vehicle);
    const QStringList mpg = fuelColumn(Column::Mpg);
    QStringList coupe;
    for (int row = 0; row < vehicles.size(); ++row)
        if (vehicles[row] == QStringLiteral("Coupe"))
            coupe << mpg[row];
    EXPECT_EQ(coupe, (QStringList{"", "30.00"}))
        << "Coupe's first tank closes no interval of the Wagon's";

    chooseTab(historywindows::frmHistory::StatisticsTab);
    QAbstractItemModel* table = history->fraStatistics->dbgStatistics->model();
    ASSERT_TRUE(history->fraStatistics->dbgStatistics->isVisible());
    ASSERT_EQ(table->rowCount(), 3);
    const auto cell = [table](int row, const QString& caption) {
        for (int column = 0; column < table->columnCount(); ++column)
            if (table->headerData(column, Qt::Horizontal).toString() == caption)
                return table->index(row, column).data().toString();
        return QString();
    };
    EXPECT_EQ(cell(0, QStringLiteral("Vehicle")) + cell(1, QStringLiteral("Vehicle")) +
                  cell(2, QStringLiteral("Vehicle")),
              QStringLiteral("WagonCoupeTotal"));
    EXPECT_EQ(cell(1, QStringLiteral("Average MPG")), QStringLiteral("30.00"));
    // 1,800 miles on 69 gallons over both: never the mean of the two averages.
    EXPECT_EQ(cell(2, QStringLiteral("Average MPG")), QStringLiteral("26.09"));
    EXPECT_EQ(cell(2, QStringLiteral("Fill-Ups")), QStringLiteral("11"));
    EXPECT_EQ(cell(2, QStringLiteral("Fuel Cost")), QStringLiteral("$308.00"));
}

TEST_F(HistoryWindowTest, ChartsDrawEveryTankWithTheAverageAndFollowThePeriod) {
    addHandComputedCases();
    openHistory();
    chooseVehicle(QStringLiteral("Wagon"));
    chooseTab(historywindows::frmHistory::ChartsTab);
    QChart* mpg = history->fraCharts->chartMpg->chart();
    EXPECT_EQ(history->fraCharts->chartMpg->accessibleName(), QStringLiteral("MPG per Tank"));
    ASSERT_EQ(mpg->series().size(), 2);
    EXPECT_EQ(static_cast<QLineSeries*>(mpg->series()[0])->count(), 5);
    const QList<QPointF> average = static_cast<QLineSeries*>(mpg->series()[1])->points();
    ASSERT_EQ(average.size(), 2);
    EXPECT_NEAR(average[0].y(), 1500.0 / 59.0, 1e-3);
    // Pointing near a tank reads that tank, not where the line is between two.
    auto* tanks = static_cast<QLineSeries*>(mpg->series()[0]);
    const qreal feb3 =
        qreal(QDateTime(QDate(2024, 2, 3), QTime(0, 0), Qt::UTC).toMSecsSinceEpoch());
    emit tanks->hovered(QPointF(feb3 + 2 * 86400e3, 21), true);
    EXPECT_EQ(history->fraCharts->lblChartPoint->text(), QStringLiteral("2/3/2024: 20.00 MPG"));
    chooseRange(QDate(2024, 4, 1), QDate(2024, 5, 31));
    EXPECT_EQ(static_cast<QLineSeries*>(mpg->series()[0])->count(), 3);
}

} // namespace historywindows_test
