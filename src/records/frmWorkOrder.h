#pragma once

#include "RecordWindow.h"

#include <QList>
#include <functional>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QTabWidget;

namespace store {
class Recordset;
}

namespace records {

class BoundMemoBox;
class BoundTextBox;
class DataControl;
class DataGrid;

// The service visits (work orders) of one vehicle at a time: pick a vehicle, browse
// its orders oldest first by date and mileage, add, edit, save, cancel and delete
// them. The tabs below the order show what was done on the current order; their
// data sources follow the current order.
class frmWorkOrder : public RecordWindow {
    Q_OBJECT
public:
    explicit frmWorkOrder(shell::MDIForm1& frame);

    // Captions "Vehicle", "Date", "Miles", "Order #", in that order.
    QList<QLabel*> Label1;
    QComboBox* cboVehicleID;
    QGroupBox* Frame1;
    BoundTextBox* txtDate;
    BoundTextBox* txtMiles;
    QLabel* lblOrderNum;
    // Update lies exactly beneath New Order, Cancel exactly beneath Edit Order.
    QPushButton* cmdAdd;
    QPushButton* cmdEdit;
    QPushButton* cmdUpdate;
    QPushButton* cmdCancel;
    QPushButton* cmdDelete;
    QPushButton* cmdClose;
    QTabWidget* SSTab1;
    DataControl* Data1;
    // Not shown to the user: the vehicle list and the current order's details.
    DataControl* datVehicle;
    DataControl* datParts;
    DataControl* datService;
    DataControl* datNotes;
    // On the tabs: the services ticked, the services performed, the parts used and
    // the notes of the current order.
    QGroupBox* Frame2;
    QCheckBox* Check1;
    QCheckBox* Check2;
    QCheckBox* Check3;
    QCheckBox* Check4;
    DataGrid* dbgService;
    DataGrid* dbgParts;
    QLabel* lblPartsTotal; // under the parts grid: what the order's parts cost
    BoundMemoBox* txtNotes;

    void Form_Load() override;
    void Form_Activate() override;
    void Form_Deactivate() override;
    void cboVehicleID_Click();
    void cmdAdd_Click();
    void cmdEdit_Click();
    void cmdUpdate_Click();
    void cmdCancel_Click();
    void cmdDelete_Click();
    void cmdClose_Click();
    void Data1_Reposition();
    void SSTab1_Click(int previousTab);
    void dbgService_GotFocus();
    void dbgService_LostFocus();
    void dbgParts_GotFocus();
    void dbgParts_LostFocus();
    void dbgService_OnAddNew();
    void dbgParts_OnAddNew();
    void dbgParts_BeforeColUpdate(int colIndex, QVariant& oldValue, bool& cancel);
    void dbgParts_KeyPress(int& keyAscii);
    void dbgService_KeyPress(int& keyAscii);
    // A service line typed or changed went into the file.
    void dbgService_AfterUpdate();
    // A service box ticked or unticked by the user.
    void Check_Click(QCheckBox* box);
    void txtNotes_GotFocus();
    void txtNotes_LostFocus();

    // Lists the vehicle's orders, as picking it does, and makes this order current
    // with its details (the vehicle history opens an order this way). Does nothing
    // while a row is being added, edited or typed into, so nothing typed is lost;
    // false then, or when the vehicle or the order is no longer in the file.
    bool showOrder(int vehicleId, qint64 workOrderId);

    // Window state, readable for whoever drives the window.
    bool isFirstActivate() const { return FirstActivate; }
    bool isEditing() const { return Editing; }
    int lastVehicleID() const { return LastVehicleID; }

private:
    void EnableAddClose();
    void SetEditMode(bool editing);
    // No vehicle selected and no orders: only the selector and Close usable.
    void showNoVehicle();
    // Reads the listed vehicle's orders and shows them as choosing the vehicle does.
    void showListedOrders();
    void showRemainingRows() override;
    void showRowsThatCameBack() override;
    bool holdsUnsavedRow() const override;
    bool FillVehicleCombo();
    void ShowOrderNumber();
    void BindDetails();
    void ClearDetails();
    void startNote();
    void settleNote();
    void settleDetailsBeforeMove(const std::function<void()>& move);
    // The service boxes and the parts total follow the rows their grids show.
    void ShowServiceChecks();
    void ShowPartsTotal();
    QList<QCheckBox*> serviceChecks() const;
    // The vehicle's reminders named like one of the stored order's services are done
    // by it. The order's rows are stored already: a reminder the file refuses is told
    // in the error box and the order stays as saved.
    void recordRemindersDone(const QVariant& orderKey);

    void createControls();
    void createDataControls();
    void createDetailControls();
    void connectDetailHandlers();
    void layOutControls();
    void connectHandlers();
    store::Recordset& orders() const;
    bool isEmpty() const;
    // A stored order is the current row (the details can belong to it).
    bool savedOrderIsCurrent() const;
    QVariant selectedVehicleID() const;

    bool FirstActivate = false;
    bool Editing = false;
    bool Activating = false;
    int LastVehicleID = 0;
    // The vehicle whose orders the window lists (0: none). While editing, the
    // selector may show another one.
    int m_shownVehicleID = 0;
};

} // namespace records
