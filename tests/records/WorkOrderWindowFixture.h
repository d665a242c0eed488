#pragma once

#include "RecordWindowTestSupport.h"

#include "records/BoundTextBox.h"
#include "records/DataControl.h"
#include "records/ProgramEnd.h"
#include "records/frmWorkOrder.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QTabWidget>
#include <QToolButton>

namespace records_test {

// Counts the program's ends instead of ending the test program.
struct ProgramEndRecorder {
    ProgramEndRecorder() : previous(records::EndProgram) {
        ends = 0;
        records::EndProgram = [] { ++ends; };
    }
    ~ProgramEndRecorder() { records::EndProgram = previous; }
    static inline int ends = 0;
    records::ProgramEndHandler previous;
};

// The work order window opened from the Window menu, driven through its widgets,
// over a file whose rows are written through the record store.
class WorkOrderWindowTest : public RecordWindowTest {
protected:
    records::frmWorkOrder& open() {
        if (!form)
            showFrame();
        item("mnuServiceRecords")->trigger();
        window = qobject_cast<records::frmWorkOrder*>(
            form->openChildWindow(shell::ChildWindow::ServiceRecords));
        EXPECT_NE(window, nullptr);
        return *window;
    }

    // Adds one row to a table: field names and typed values; returns its key.
    int addRow(const char* table, const char* keyField,
               const QList<std::pair<const char*, QVariant>>& values) {
        auto db = store::Database::OpenDatabase(path);
        auto rs = db->OpenRecordset(QLatin1String(table));
        rs->AddNew();
        for (const auto& [field, value] : values)
            rs->setValue(QLatin1String(field), value);
        rs->Update();
        rs->setBookmark(rs->LastModified());
        return keyField ? rs->value(QLatin1String(keyField)).toInt() : 0;
    }
    int vehicleID(const char* lookup) const {
        return scalar(path,
                      (QByteArray("SELECT VehicleID FROM VehicleInfo WHERE VehicleLookup = '") +
                       lookup + "'")
                          .constData())
            .toInt();
    }
    int addOrder(int vehicle, const char* date, int miles) {
        return addRow("WorkOrder", "WorkOrderID",
                      {{"VehicleID", vehicle}, {"Date", QLatin1String(date)}, {"Mileage", miles}});
    }
    // One service, one part and a note for an order.
    void addDetails(int order, const char* tag) {
        addRow("WorkDone", nullptr,
               {{"WorkOrderID", order}, {"WorkDescription", QLatin1String(tag)}});
        addRow("PartsUsed", nullptr,
               {{"WorkOrderId", order},
                {"PartQty", 2},
                {"PartNum", QLatin1String(tag)},
                {"PartCost", QStringLiteral("3.50")}});
        addRow("WorkOrderMemo", nullptr,
               {{"WorkOrderID", order}, {"WorkOrderMemo", QLatin1String(tag)}});
    }

    void navigate(const char* button) {
        click(window->Data1->findChild<QToolButton*>(QLatin1String(button)));
    }
    // Chooses a vehicle in the selector as the user does.
    void pick(const QString& lookup) {
        const int index = window->cboVehicleID->findText(lookup);
        ASSERT_GE(index, 0) << lookup.toStdString();
        window->cboVehicleID->setCurrentIndex(index);
        emit window->cboVehicleID->activated(index);
    }
    void makeOtherChildActive() {
        QMdiSubWindow* other = form->addChildWindow(new QLabel(QStringLiteral("other")));
        other->show();
        form->mdiArea()->setActiveSubWindow(other);
    }

    QString caption() const { return window->Data1->Caption(); }
    QStringList usable() const { return usableButtons(*window); }
    QString selected() const { return window->cboVehicleID->currentText(); }
    int rowsOf(records::DataControl* source) const { return source->Recordset()->RecordCount(); }

    void expectBrowse() const {
        EXPECT_EQ(usable(), (QStringList{"cmdAdd", "cmdClose", "cmdDelete", "cmdEdit"}));
        EXPECT_FALSE(window->Frame1->isEnabled());
        EXPECT_TRUE(window->Data1->isEnabled());
        EXPECT_TRUE(window->SSTab1->isEnabled());
        EXPECT_TRUE(window->cboVehicleID->isEnabled());
    }
    void expectEditing() const {
        EXPECT_EQ(usable(), (QStringList{"cmdCancel", "cmdUpdate"}));
        EXPECT_TRUE(window->txtDate->isEnabled()) << "the order's boxes accept input";
        EXPECT_TRUE(window->cboVehicleID->isEnabled());
        EXPECT_FALSE(window->Data1->isEnabled());
        EXPECT_FALSE(window->SSTab1->isEnabled());
        EXPECT_TRUE(window->isEditing());
    }
    // Only New Order (when a vehicle is chosen), Close and the selector.
    void expectNoOrders(bool vehicleChosen) const {
        const QStringList expected =
            vehicleChosen ? QStringList{"cmdAdd", "cmdClose"} : QStringList{"cmdClose"};
        EXPECT_EQ(usable(), expected);
        EXPECT_TRUE(window->cboVehicleID->isEnabled());
        EXPECT_FALSE(window->Frame1->isEnabled());
        EXPECT_FALSE(window->Data1->isEnabled());
        EXPECT_FALSE(window->SSTab1->isEnabled());
        EXPECT_EQ(window->lblOrderNum->text(), QString());
    }
    // Each detail source asks for the given order's rows (-1: for none).
    void expectDetailsOf(int order) const {
        const QString key = QString::number(order);
        if (order == -1) {
            EXPECT_EQ(window->datParts->RecordSource(),
                      QStringLiteral("Select * from PartsUsed where WorkOrderID = -1"));
            EXPECT_EQ(window->datService->RecordSource(),
                      QStringLiteral("Select * from workDone Where WorkOrderID = -1"));
            EXPECT_EQ(window->datNotes->RecordSource(),
                      QStringLiteral("Select * from WorkOrderMemo Where WorkOrderID = -1"));
        } else {
            EXPECT_EQ(window->datParts->RecordSource(),
                      QStringLiteral("Select * from PartsUsed where WorkOrderID = ") + key);
            EXPECT_EQ(window->datService->RecordSource(),
                      QStringLiteral("Select * from workDone Where WorkOrderID = ") + key);
            EXPECT_EQ(window->datNotes->RecordSource(),
                      QStringLiteral("Select * from WorkOrderMemo where WorkorderID = ") + key);
        }
    }

    QPointer<records::frmWorkOrder> window;
};

} // namespace records_test
