#pragma once

#include "RecordWindowTestSupport.h"

#include "records/BoundCheckBox.h"
#include "records/BoundTextBox.h"
#include "records/DataControl.h"
#include "records/frmGas.h"
#include "records/frmVehicleInfo.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QToolButton>

namespace records_test {

// One fuel purchase as typed text ("" leaves a field without a value).
struct Purchase {
    QString date;
    QString gallons;
    QString miles;
    bool full = true;
    QString cost;
};

// The fuel window opened from the Window menu, driven through its widgets.
class GasWindowTest : public RecordWindowTest {
protected:
    records::frmGas& open() {
        if (!form)
            showFrame();
        item("mnuGasPurchases")->trigger();
        window =
            qobject_cast<records::frmGas*>(form->openChildWindow(shell::ChildWindow::GasPurchases));
        EXPECT_NE(window, nullptr);
        return *window;
    }

    // The vehicle's key, by look-up text, read from the file.
    int vehicleId(const QString& lookup) const {
        const QByteArray sql =
            "SELECT VehicleID FROM VehicleInfo WHERE VehicleLookup = '" + lookup.toUtf8() + "'";
        return scalar(path, sql.constData()).toInt();
    }

    // Rows of Fuel for one vehicle, through the record store.
    void addPurchases(const QString& lookup, const QList<Purchase>& purchases) {
        auto db = store::Database::OpenDatabase(path);
        auto rs = db->OpenRecordset(QStringLiteral("Fuel"));
        for (const Purchase& p : purchases) {
            rs->AddNew();
            rs->setValue(QStringLiteral("VehicleID"), vehicleId(lookup));
            rs->setValue(QStringLiteral("FuelDate"), p.date);
            rs->setValue(QStringLiteral("FuelGals"), p.gallons);
            rs->setValue(QStringLiteral("FuelMiles"), p.miles);
            rs->setValue(QStringLiteral("FuelFull"), p.full);
            rs->setValue(QStringLiteral("FuelCost"), p.cost);
            rs->Update();
        }
    }

    // Picks a vehicle by its look-up text, as a choice in the list does.
    void pick(const QString& lookup) {
        const int index = window->cboVehicleID->findText(lookup);
        ASSERT_GE(index, 0) << lookup.toStdString();
        window->cboVehicleID->setCurrentIndex(index);
    }

    void navigate(const char* button) {
        click(window->Data1->findChild<QToolButton*>(QLatin1String(button)));
    }

    // Makes the vehicle window the active child, then the fuel window again.
    void switchAwayAndBack() {
        QMdiSubWindow* gas = window->subWindow();
        item("mnuVehicleInformation")->trigger();
        ASSERT_NE(form->mdiArea()->activeSubWindow(), gas);
        form->mdiArea()->setActiveSubWindow(gas);
        ASSERT_EQ(form->mdiArea()->activeSubWindow(), gas);
    }

    QString caption() const { return window->Data1->Caption(); }
    QString mpg() const { return window->lblMPG->text(); }
    QStringList usable() const { return usableButtons(*window); }
    QStringList listed() const {
        QStringList items;
        for (int i = 0; i < window->cboVehicleID->count(); ++i)
            items << window->cboVehicleID->itemText(i);
        return items;
    }

    void expectBrowse() const {
        EXPECT_EQ(usable(), (QStringList{"cmdAdd", "cmdClose", "cmdDelete", "cmdEdit"}));
        EXPECT_FALSE(window->Frame1->isEnabled());
        EXPECT_TRUE(window->Data1->isEnabled());
        EXPECT_TRUE(window->cboVehicleID->isEnabled());
    }
    // Adding or Editing: only Update and Cancel, the fields open, no navigation.
    void expectAdding() const {
        EXPECT_EQ(usable(), (QStringList{"cmdCancel", "cmdUpdate"}));
        EXPECT_TRUE(window->Frame1->isEnabled());
        EXPECT_FALSE(window->Data1->isEnabled());
    }
    // Only the selector, Add and Close; the fields locked.
    void expectEmpty() const {
        EXPECT_EQ(usable(), (QStringList{"cmdAdd", "cmdClose"}));
        EXPECT_TRUE(window->cboVehicleID->isEnabled());
        EXPECT_FALSE(window->txtDate->isEnabled());
    }

    QPointer<records::frmGas> window;
};

} // namespace records_test
