#pragma once

#include "RecordWindow.h"
#include "history/FuelFill.h"
#include "history/MissedMarks.h"

#include <QList>

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;

namespace store {
class Recordset;
}

namespace records {

class BoundCheckBox;
class BoundTextBox;
class DataControl;

// The fuel bought for one vehicle at a time: the user picks the vehicle, then
// browses, adds, edits and deletes its purchases (table Fuel, sorted by date, then
// odometer) and reads the miles per gallon of every full tank.
class frmGas : public RecordWindow {
    Q_OBJECT
public:
    explicit frmGas(shell::MDIForm1& frame);

    // Items show VehicleLookup and carry VehicleID as item data.
    QComboBox* cboVehicleID;
    // Entry boxes, all inside Frame1.
    BoundTextBox* txtDate;
    BoundCheckBox* Check1;
    BoundTextBox* txtGals;
    BoundTextBox* txtCost;
    BoundTextBox* txtMiles;
    BoundTextBox* txtCity;
    BoundTextBox* txtState;
    // Miles per gallon of the current row; set by GetMpg only.
    QLabel* lblMPG;
    // Update lies exactly beneath Add, Cancel exactly beneath Edit.
    QPushButton* cmdAdd;
    QPushButton* cmdEdit;
    QPushButton* cmdUpdate;
    QPushButton* cmdCancel;
    QPushButton* cmdDelete;
    QPushButton* cmdClose;
    QGroupBox* Frame1;
    // The purchases of the selected vehicle.
    DataControl* Data1;
    // The vehicles for the selector; never shown.
    DataControl* datVehicle;
    // Captions "Vehicle", "Date", "Gals", "Miles", "Cost", "City", "State", "MPG".
    QList<QLabel*> Label1;

    void Form_Load() override;
    void Form_Activate() override;
    void Form_Deactivate() override;
    void Form_Unload() override;
    void cboVehicleID_Click();
    void cmdAdd_Click();
    void cmdEdit_Click();
    void cmdUpdate_Click();
    void cmdCancel_Click();
    void cmdDelete_Click();
    void cmdClose_Click();
    void Data1_Reposition();
    void txtCost_LostFocus();

    // Shows in lblMPG the miles per gallon since the previous full tank, on a
    // full-tank row, by the tank rule the vehicle history shares (history::TankWalk):
    // empty text on other rows, across a missed mark, or without distance or gallons.
    void GetMpg();

    // Lists the vehicle's purchases, as picking it does, and makes the purchase with
    // this FuelId current (the vehicle history opens a purchase this way). Does
    // nothing while a row is being added or edited, so nothing typed is lost; false
    // then, or when the vehicle or the purchase is no longer in the file.
    bool showPurchase(int vehicleId, qint64 fuelId);

private:
    bool FillVehicleCombo();
    void EnableAddClose();
    void SetEditMode(bool editing);
    // A shown cost with its dollar sign and two decimals, from the stored row.
    void ShowCost();
    // No vehicle selected and no rows: only the selector, Add and Close usable.
    void showNoVehicle();
    // Reads the listed vehicle's purchases and shows them as choosing the vehicle does.
    void showListedPurchases();
    void showRemainingRows() override;
    void showRowsThatCameBack() override;

    void createControls();
    void layOutControls();
    void connectHandlers();
    store::Recordset& records() const;
    bool isEmpty() const;
    // A row of the record set as the fuel economy rule reads it.
    history::FuelFill fillAt(const store::Recordset& rs);

    bool FirstActivate = false;
    bool Editing = false;
    bool Activating = false;
    // The vehicle selected when the window was last deactivated: 0 before the first
    // deactivation, -1 once closed; no vehicle has either key.
    int LastVehicleID = 0;
    // The vehicle whose purchases the window lists (0: none). While editing, the
    // selector may show another one.
    int m_shownVehicleID = 0;
    // The missed marks of the rows, read row by row as GetMpg walks them.
    history::MissedMarkReader m_missedMarks;
};

} // namespace records
