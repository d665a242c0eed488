// What the Vehicle History does with the other windows and the file: missed marks
// written and refused, rows opened in the record windows, search, activation, closing.
#include "HistoryWindowFixture.h"

#include "historywindows/ReadingStatus.h"
#include "records/frmWorkOrder.h"
#include "support/UnwritableFile.h"
#include "values/Format.h"

#include <QLineEdit>

namespace historywindows_test {

using Column = historywindows::FuelLogModel::Column;

TEST_F(HistoryWindowTest, TickingMissedWritesTheMarkAndEveryMpgFollows) {
    addHandComputedCases();
    openHistory();
    chooseVehicle(QStringLiteral("Wagon"));
    const int missed = history->fuelLog().viewColumnOf(Column::Missed);
    const int row2500 = int(fuelColumn(Column::Odometer).indexOf(QStringLiteral("2500")));
    pressOn(history->dbgFuelLog, row2500, missed, Qt::Key_Space);

    EXPECT_EQ(history->fuelLog().index(row2500, missed).data(Qt::CheckStateRole), Qt::Checked);
    EXPECT_EQ(fuelColumn(Column::Mpg),
              (QStringList{"", "", "20.00", "", "25.00", "", "30.00", "", "25.00"}));
    const qint64 fuelId = history->fuelLog().fillAt(row2500).fuelId;
    EXPECT_EQ(records_test::scalar(path, "SELECT count(*) FROM drivolex_fuel_missed"),
              QStringLiteral("1"));
    EXPECT_EQ(records_test::scalar(path, "SELECT FuelId FROM drivolex_fuel_missed"),
              QString::number(fuelId));
    // The statistics leave the broken interval out: 1200 miles on 49 gallons.
    chooseTab(historywindows::frmHistory::StatisticsTab);
    EXPECT_EQ(figure(QStringLiteral("Average MPG")), QStringLiteral("24.49"));

    // The Gas Purchases window agrees on that row.
    chooseTab(historywindows::frmHistory::FuelLogTab);
    pressOn(history->dbgFuelLog, row2500, 0, Qt::Key_Return);
    ASSERT_NE(form->openChildWindow(shell::ChildWindow::GasPurchases), nullptr);
    window =
        qobject_cast<records::frmGas*>(form->openChildWindow(shell::ChildWindow::GasPurchases));
    EXPECT_EQ(window->txtMiles->text(), QStringLiteral("2500"));
    EXPECT_EQ(mpg(), QString());

    // Unticked again, the mark is gone from the file and the MPG is back.
    form->mdiArea()->setActiveSubWindow(history->subWindow());
    waitForHistory();
    pressOn(history->dbgFuelLog, row2500, missed, Qt::Key_Space);
    EXPECT_EQ(fuelColumn(Column::Mpg)[row2500], QStringLiteral("30.00"));
    EXPECT_EQ(records_test::scalar(path, "SELECT count(*) FROM drivolex_fuel_missed"),
              QStringLiteral("0"));
    EXPECT_EQ(boxes.count(), 0);
}

TEST_F(HistoryWindowTest, AMarkTheFileRefusesShowsTheErrorAndTheTickGoesBack) {
    addHandComputedCases();
    openHistory();
    chooseVehicle(QStringLiteral("Wagon"));
    const int missed = history->fuelLog().viewColumnOf(Column::Missed);
    {
        testing_support::LockedFile locked(path);
        ASSERT_TRUE(locked.held());
        pressOn(history->dbgFuelLog, 2, missed, Qt::Key_Space);
    }
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.last().title, QStringLiteral("Error"));
    EXPECT_EQ(boxes.last().style, 48);
    EXPECT_EQ(history->fuelLog().index(2, missed).data(Qt::CheckStateRole), Qt::Unchecked);
    EXPECT_EQ(fuelColumn(Column::Mpg)[2], QStringLiteral("20.00"));
    const QString marks = records_test::scalar(path, "SELECT count(*) FROM drivolex_fuel_missed");
    EXPECT_TRUE(marks.isEmpty() || marks == QStringLiteral("0")) << marks.toStdString();
}

TEST_F(HistoryWindowTest, ARowsReadTheFileRefusesShowsTheErrorAndTheNextChoiceReads) {
    addHandComputedCases();
    openHistory();
    {
        testing_support::LockedFile locked(path);
        ASSERT_TRUE(locked.held());
        pickVehicle(QStringLiteral("Coupe")); // read off the window's thread
        waitForHistory();
    }
    // As every handler's run-time error: in the program's box, naming the file.
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.last().title, QStringLiteral("Drivolex"));
    EXPECT_TRUE(boxes.last().prompt.contains(QFileInfo(path).fileName()))
        << boxes.last().prompt.toStdString();
    chooseVehicle(QStringLiteral("Wagon"));
    EXPECT_EQ(fuelColumn(Column::Odometer).size(), 9);
    EXPECT_EQ(boxes.count(), 1);
}

TEST_F(HistoryWindowTest, EnterOrDoubleClickOpensTheRecordWindowOnThatRow) {
    addHandComputedCases();
    openHistory(); // all vehicles
    const int coupe = int(fuelColumn(Column::Vehicle).lastIndexOf(QStringLiteral("Coupe")));
    pressOn(history->dbgFuelLog, coupe, 0, Qt::Key_Enter);
    window =
        qobject_cast<records::frmGas*>(form->openChildWindow(shell::ChildWindow::GasPurchases));
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(form->mdiArea()->activeSubWindow(), window->subWindow());
    EXPECT_EQ(window->cboVehicleID->currentText(), QStringLiteral("Coupe"));
    EXPECT_EQ(window->txtMiles->text(), QStringLiteral("3300"));
    EXPECT_EQ(mpg(), QStringLiteral("30.00")) << "the Fuel Log and Gas Purchases agree";

    // Service History: newest first, the order opened in Service Records.
    form->mdiArea()->setActiveSubWindow(history->subWindow());
    waitForHistory();
    chooseTab(historywindows::frmHistory::ServiceHistoryTab);
    using Service = historywindows::ServiceHistoryModel::Column;
    EXPECT_EQ(serviceColumn(Service::Date), (QStringList{"4/15/2024", "3/1/2024", "1/10/2024"}));
    EXPECT_EQ(serviceColumn(Service::Notes)[0], QStringLiteral("Front pads"));
    EXPECT_EQ(serviceColumn(Service::PartsTotal)[1], QStringLiteral("$7.00"));
    const QRect cell = history->dbgServiceHistory->visualRect(
        history->serviceHistory().index(1, Service::Services));
    QTest::mouseClick(history->dbgServiceHistory->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(history->dbgServiceHistory->viewport(), Qt::LeftButton, {}, cell.center());
    auto* orders = qobject_cast<records::frmWorkOrder*>(
        form->openChildWindow(shell::ChildWindow::ServiceRecords));
    ASSERT_NE(orders, nullptr);
    EXPECT_EQ(orders->cboVehicleID->currentText(), QStringLiteral("Wagon"));
    EXPECT_EQ(orders->lblOrderNum->text(), values::Format(filterOrder, QStringLiteral("0000")));
    EXPECT_EQ(orders->txtMiles->text(), QStringLiteral("1700"));
}

TEST_F(HistoryWindowTest, SearchNarrowsTheServiceHistoryOnServicesPartsAndNotes) {
    addHandComputedCases();
    openHistory();
    chooseTab(historywindows::frmHistory::ServiceHistoryTab);
    using Service = historywindows::ServiceHistoryModel::Column;
    QTest::keyClicks(history->txtSearch, QStringLiteral("ROTORS")); // the note's second line
    EXPECT_EQ(serviceColumn(Service::Services), (QStringList{"Brakes"}));
    history->txtSearch->clear();
    QTest::keyClicks(history->txtSearch, QStringLiteral("filter-9")); // a part number
    EXPECT_EQ(serviceColumn(Service::Services), (QStringList{"Oil Change"}));
    history->txtSearch->setText(QStringLiteral("rotation"));
    EXPECT_EQ(serviceColumn(Service::Services), (QStringList{"Tire Rotation"}));
    history->txtSearch->clear();
    EXPECT_EQ(history->serviceHistory().rowCount(), 3);
}

TEST_F(HistoryWindowTest, ActivationRefillsTheVehiclesAndRowsKeepingTheChoice) {
    addHandComputedCases();
    openHistory();
    chooseVehicle(QStringLiteral("Wagon"));
    EXPECT_EQ(history->lblVehicle->buddy(), history->cboVehicleID);
    EXPECT_EQ(history->lblPeriod->buddy(), history->cboPeriod);
    EXPECT_EQ(history->lblSearch->buddy(), history->txtSearch);
    item("mnuVehicleInformation")->trigger();
    addVehicles({QStringLiteral("Truck")});
    addPurchases(QStringLiteral("Wagon"), {{"6/1/2024", "10", "3100", true, "40"}});
    item("mnuVehicleHistory")->trigger(); // brought to the front
    EXPECT_EQ(form->mdiArea()->activeSubWindow(), history->subWindow());
    EXPECT_GE(history->cboVehicleID->findText(QStringLiteral("Truck")), 0);
    EXPECT_EQ(history->cboVehicleID->currentText(), QStringLiteral("Wagon"));
    EXPECT_EQ(fuelColumn(Column::Mpg).last(), QStringLiteral("30.00"));
}

TEST_F(HistoryWindowTest, TheWindowResizesMaximisesAndClosesFromItsCaptionOrButton) {
    openHistory();
    QMdiSubWindow* sub = history->subWindow();
    EXPECT_TRUE(sub->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(sub->windowFlags() & Qt::WindowCloseButtonHint);
    sub->showMaximized();
    EXPECT_TRUE(sub->isMaximized());
    sub->showNormal();
    sub->close(); // the caption's close box
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(form->openChildWindow(shell::ChildWindow::VehicleHistory), nullptr);
    openHistory();
    click(history->cmdClose);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(form->openChildWindow(shell::ChildWindow::VehicleHistory), nullptr);
}

} // namespace historywindows_test

namespace historywindows_test {

TEST_F(HistoryWindowTest, AVehicleChosenDuringAReadShowsOnlyTheLatestChoicesRows) {
    addHandComputedCases();
    openHistory(); // every vehicle, read
    pickVehicle(QStringLiteral("Coupe"));
    pickVehicle(QStringLiteral("Wagon")); // before the Coupe's rows have come
    EXPECT_TRUE(history->isReading());
    const QStringList wagon{"1000", "1150", "1300", "1550", "1600", "1900", "2200", "2500", "2800"};
    EXPECT_EQ(fuelColumn(Column::Odometer), wagon);
    QTest::qWait(50); // nothing read for an earlier choice comes later
    EXPECT_EQ(fuelColumn(Column::Odometer), wagon);

    // The figures too: the Coupe's, computed first, never stand on the Wagon's tab.
    chooseTab(historywindows::frmHistory::StatisticsTab);
    pickVehicle(QStringLiteral("Coupe"));
    pickVehicle(QStringLiteral("Wagon"));
    EXPECT_EQ(figure(QStringLiteral("Fill-Ups")), QStringLiteral("9"));
    EXPECT_EQ(boxes.count(), 0);
}

TEST_F(HistoryWindowTest, CancelStopsTheReadLeavingNoRowsAndTheNextChoiceReadsAgain) {
    addHandComputedCases();
    openHistory();
    pickVehicle(QStringLiteral("Coupe"));
    history->fraReading->cmdCancel->click(); // shown once a read takes a while
    EXPECT_FALSE(history->isReading());
    QTest::qWait(50); // the Coupe's rows, had they come, are not shown
    EXPECT_EQ(history->fuelLog().rowCount(), 0);
    EXPECT_EQ(history->fraReading->lblReading->text(), QStringLiteral("Reading cancelled."));
    chooseRange(QDate(2024, 1, 1), QDate(2024, 12, 31));
    EXPECT_EQ(fuelColumn(Column::Odometer), (QStringList{"3000", "3300"}));
    EXPECT_EQ(boxes.count(), 0);
}

TEST_F(HistoryWindowTest, ClosingWhileReadingIsSafeAndTheWindowOpensAgain) {
    addHandComputedCases();
    openHistory();
    chooseTab(historywindows::frmHistory::StatisticsTab);
    pickVehicle(QStringLiteral("Wagon"));
    ASSERT_TRUE(history->isReading());
    click(history->cmdClose);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(history.isNull());
    QTest::qWait(50); // the abandoned read ends with no window to hand its rows to
    EXPECT_EQ(boxes.count(), 0);

    openHistory();
    chooseVehicle(QStringLiteral("Wagon"));
    EXPECT_EQ(fuelColumn(Column::Mpg).last(), QStringLiteral("25.00"));
}

} // namespace historywindows_test
