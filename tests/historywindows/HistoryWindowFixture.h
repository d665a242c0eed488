#pragma once

#include "historywindows/FuelLogModel.h"
#include "historywindows/HistoryWindows.h"
#include "historywindows/ServiceHistoryModel.h"
#include "historywindows/StatisticsPanel.h"
#include "historywindows/frmHistory.h"
#include "records/GasWindowFixture.h"

#include <QComboBox>
#include <QDateEdit>
#include <QHeaderView>
#include <QLabel>
#include <QTabWidget>
#include <QTableView>

namespace historywindows_test {

// The main window with the record windows and the Vehicle History, on a file of
// the hand-computed cases below.
class HistoryWindowTest : public records_test::GasWindowTest {
protected:
    // Adds a row through the record store; returns its key field's value.
    qint64 addRow(const char* table, const char* keyField,
                  const QList<std::pair<const char*, QVariant>>& values) {
        auto db = store::Database::OpenDatabase(path);
        auto rs = db->OpenRecordset(QLatin1String(table));
        rs->AddNew();
        for (const auto& [field, value] : values)
            rs->setValue(QLatin1String(field), value);
        rs->Update();
        rs->setBookmark(rs->LastModified());
        return keyField ? rs->value(QLatin1String(keyField)).toLongLong() : 0;
    }

    // "Wagon": partial fills, a tie of dates decided by the odometer (the later
    // entered row lies first), a full tank of zero gallons, and three work orders.
    // "Coupe": one interval of its own.
    void addHandComputedCases() {
        addVehicles({QStringLiteral("Wagon"), QStringLiteral("Coupe")});
        addPurchases(QStringLiteral("Wagon"),
                     {{"1/5/2024", "10", "1000", true, "30"},
                      {"1/20/2024", "5", "1150", false, "15"},
                      {"2/3/2024", "10", "1300", true, "31"},   // 300 / 15 = 20.00
                      {"2/20/2024", "9", "1600", true, "30"},   // 300 / (3 + 9) = 25.00
                      {"2/20/2024", "3", "1550", false, "10"},  // lies before 1600
                      {"3/10/2024", "0", "1900", true, "0"},    // no gallons: no MPG
                      {"4/1/2024", "10", "2200", true, "35"},   // 300 / 10 = 30.00
                      {"4/20/2024", "10", "2500", true, "35"},  // 30.00
                      {"5/5/2024", "12", "2800", true, "42"}}); // 25.00
        addPurchases(QStringLiteral("Coupe"), {{"1/1/2024", "10", "3000", true, "40"},
                                               {"2/1/2024", "10", "3300", true, "40"}});
        const int wagon = vehicleId(QStringLiteral("Wagon"));
        filterOrder = addOrder(wagon, "3/1/2024", 1700, "Oil Change", "FILTER-9", "");
        brakesOrder = addOrder(wagon, "4/15/2024", 2300, "Brakes", "", "Front pads\nand rotors");
        addOrder(wagon, "1/10/2024", 1050, "Tire Rotation", "", "");
    }

    qint64 addOrder(int vehicle, const char* date, int miles, const char* service, const char* part,
                    const char* note) {
        const qint64 order =
            addRow("WorkOrder", "WorkOrderID",
                   {{"VehicleID", vehicle}, {"Date", QLatin1String(date)}, {"Mileage", miles}});
        addRow("WorkDone", nullptr,
               {{"WorkOrderID", order}, {"WorkDescription", QLatin1String(service)}});
        if (*part)
            addRow("PartsUsed", nullptr,
                   {{"WorkOrderId", order},
                    {"PartQty", 2},
                    {"PartNum", QLatin1String(part)},
                    {"PartCost", QStringLiteral("3.50")}});
        if (*note)
            addRow("WorkOrderMemo", nullptr,
                   {{"WorkOrderID", order}, {"WorkOrderMemo", QLatin1String(note)}});
        return order;
    }

    historywindows::frmHistory& openHistory() {
        if (!form) {
            showFrame();
            historywindows::registerHistoryWindow(*form);
        }
        item("mnuVehicleHistory")->trigger();
        history = qobject_cast<historywindows::frmHistory*>(
            form->openChildWindow(shell::ChildWindow::VehicleHistory));
        EXPECT_NE(history, nullptr);
        waitForHistory();
        return *history;
    }

    // The window reads and computes off its thread: waits, running the events, until
    // what it shows is complete.
    void waitForHistory() const {
        if (history) {
            EXPECT_TRUE(
                QTest::qWaitFor([this] { return !history || !history->isReading(); }, 30000))
                << "the history was still being read";
        }
    }

    // Chooses the vehicle as the user does, not waiting for its rows.
    void pickVehicle(const QString& lookup) {
        const int index = history->cboVehicleID->findText(lookup);
        ASSERT_GE(index, 0) << lookup.toStdString();
        history->cboVehicleID->setCurrentIndex(index);
    }
    void chooseVehicle(const QString& lookup) {
        pickVehicle(lookup);
        waitForHistory();
    }
    void chooseRange(const QDate& from, const QDate& to) {
        history->dtpFrom->setDate(from);
        history->dtpTo->setDate(to);
        history->cboPeriod->setCurrentIndex(
            history->cboPeriod->findData(int(history::PeriodKind::Range)));
        waitForHistory();
    }
    void chooseTab(historywindows::frmHistory::Tab tab) {
        history->SSTab1->setCurrentIndex(tab);
        waitForHistory();
    }

    // A Fuel Log column's texts, top to bottom, by its caption.
    QStringList fuelColumn(historywindows::FuelLogModel::Column column) const {
        waitForHistory();
        const historywindows::FuelLogModel& model = history->fuelLog();
        QStringList texts;
        for (int row = 0; row < model.rowCount(); ++row)
            texts << model.index(row, model.viewColumnOf(column)).data().toString();
        return texts;
    }
    QStringList serviceColumn(historywindows::ServiceHistoryModel::Column column) const {
        waitForHistory();
        const historywindows::ServiceHistoryModel& model = history->serviceHistory();
        QStringList texts;
        for (int row = 0; row < model.rowCount(); ++row)
            texts << model.index(row, column).data().toString();
        return texts;
    }

    // A statistics value, found as a screen reader finds it: by its accessible name.
    QString figure(const QString& caption) const {
        waitForHistory();
        for (QLabel* label : history->fraStatistics->findChildren<QLabel*>())
            if (label->accessibleName() == caption)
                return label->text();
        ADD_FAILURE() << "no figure " << caption.toStdString();
        return QString();
    }

    // Presses a key on a list's cell, as the user does.
    static void pressOn(QTableView* view, int row, int column, Qt::Key key) {
        view->setFocus();
        view->setCurrentIndex(view->model()->index(row, column));
        QTest::keyClick(view, key);
    }

    QPointer<historywindows::frmHistory> history;
    qint64 filterOrder = 0;
    qint64 brakesOrder = 0;
};

} // namespace historywindows_test
