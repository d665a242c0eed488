// The work order window's handlers: picking a vehicle and the editing cycle on its
// work orders.
#include "frmWorkOrder.h"

#include "BoundTextBox.h"
#include "DataControl.h"
#include "DataGrid.h"
#include "RecordsetTableModel.h"
#include "VehicleSelector.h"
#include "platform/AppError.h"
#include "shell/AppState.h"
#include "store/Recordset.h"
#include "values/Format.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QTabWidget>

namespace records {

namespace {

// The window's outer size in twips.
constexpr double kWidth = 7125;
constexpr double kHeight = 6165;

const QString kNoVehicleOrders = QStringLiteral("Select * from WorkOrder where VehicleID = -1");

QString vehicleOrders(const QVariant& vehicleID) {
    return QStringLiteral("Select * from WorkOrder where VehicleID = ") + vehicleID.toString() +
           QStringLiteral(" Order by Date, Mileage");
}

// Runs one statement whose failure the caller chooses to pass over.
template <class Statement> void ignoringErrors(Statement statement) {
    try {
        statement();
    } catch (const platform::AppError&) {
    }
}

} // namespace

store::Recordset& frmWorkOrder::orders() const {
    return *Data1->Recordset();
}

bool frmWorkOrder::isEmpty() const {
    return orders().isBOF() && orders().isEOF();
}

bool frmWorkOrder::savedOrderIsCurrent() const {
    // While an order is added, the one current before it stays current underneath.
    try {
        return !orders().isBOF() && !orders().isEOF();
    } catch (const platform::AppError&) {
        return false; // no list read yet
    }
}

QVariant frmWorkOrder::selectedVehicleID() const {
    return cboVehicleID->itemData(cboVehicleID->currentIndex());
}

void frmWorkOrder::Form_Load() {
    placeInFrame(kWidth, kHeight);
    for (DataControl* source : {Data1, datNotes, datParts, datService, datVehicle})
        source->setDatabaseName(shell::DatabasePath);
    FirstActivate = true;
}

void frmWorkOrder::Form_Activate() {
    // Back to false at the end, also when a step fails.
    QScopedValueRollback activating(Activating, true);
    if (FirstActivate) {
        DisableControls(true);
        EnableAddClose(); // the selector is still empty: New Order stays disabled
        Frame1->setEnabled(false);
        Data1->setRecordSource(kNoVehicleOrders);
        Data1->Refresh();
        ClearDetails();
        txtNotes->clear();
        FirstActivate = false;
    }
    // Vehicles added or renamed meanwhile appear; the orders on show stay as they were.
    const bool listComplete = FillVehicleCombo();
    if (SelectVehicle(*cboVehicleID, LastVehicleID))
        cboVehicleID_Click(); // does nothing while activating
    // The orders on show went with their vehicle: none of them may stay on show.
    if (listComplete && m_shownVehicleID != 0 && cboVehicleID->findData(m_shownVehicleID) < 0)
        showNoVehicle();
}

void frmWorkOrder::showNoVehicle() {
    // An order being typed for the vehicle goes with it, like its stored orders.
    if (Data1->EditMode() != store::EditMode::None)
        ignoringErrors([this] { orders().CancelUpdate(); });
    SetEditMode(false);
    cboVehicleID->setCurrentIndex(-1);
    Data1->setRecordSource(kNoVehicleOrders);
    Data1->Refresh(); // the details follow: no rows
    m_shownVehicleID = 0;
    DisableControls(true);
    EnableAddClose();
}

void frmWorkOrder::Form_Deactivate() {
    // With no vehicle selected the last one is kept.
    const QVariant selected = selectedVehicleID();
    if (selected.isValid())
        LastVehicleID = selected.toInt();
}

bool frmWorkOrder::FillVehicleCombo() {
    // A vehicle that cannot be read is left out; the list is never a reason to fail.
    // Filling selects nothing; Form_Activate selects the remembered vehicle.
    return records::FillVehicleCombo(*cboVehicleID, *datVehicle);
}

void frmWorkOrder::EnableAddClose() {
    cmdClose->setEnabled(true);
    cboVehicleID->setEnabled(true);
    cmdAdd->setEnabled(cboVehicleID->currentIndex() > -1);
}

void frmWorkOrder::SetEditMode(bool editing) {
    // Hiding New Order and Edit Order uncovers Update and Cancel beneath them.
    cmdAdd->setVisible(!editing);
    cmdEdit->setVisible(!editing);
    cmdDelete->setVisible(!editing);
    cmdClose->setVisible(!editing);
    Frame1->setEnabled(editing);
    Data1->setEnabled(!editing);
    ShutdownEnabled(!editing);
    Editing = editing;
    // Details belong to a saved order: none while one is typed, none without one.
    SSTab1->setEnabled(!editing && savedOrderIsCurrent());
}

void frmWorkOrder::cboVehicleID_Click() {
    if (cboVehicleID->currentIndex() < 0 || Editing || Activating)
        return;
    const QVariant vehicleID = selectedVehicleID();
    Data1->setRecordSource(vehicleOrders(vehicleID));
    m_shownVehicleID = vehicleID.toInt();
    showListedOrders();
}

void frmWorkOrder::showListedOrders() {
    Data1->Refresh();
    if (isEmpty()) {
        DisableControls(true);
        EnableAddClose();
    } else {
        orders().MoveLast(); // the latest order first
        DisableControls(false);
        Frame1->setEnabled(false);
    }
}

void frmWorkOrder::showRemainingRows() {
    SetEditMode(false);
    showListedOrders(); // reading the orders again drops the one pending
}

void frmWorkOrder::showRowsThatCameBack() {
    // The vehicle on show, else the one last picked: it may be the one that came back.
    const QVariant selected = selectedVehicleID();
    const int wanted = selected.isValid() ? selected.toInt() : LastVehicleID;
    const std::optional<qint64> place = currentPlace(orders());
    {
        QScopedValueRollback activating(Activating, true);
        FillVehicleCombo();
        if (!SelectVehicle(*cboVehicleID, wanted))
            return;
    }
    Data1->setRecordSource(vehicleOrders(wanted));
    m_shownVehicleID = wanted;
    showListedOrders();
    landAfterComeBack(orders(), place);
}

bool frmWorkOrder::holdsUnsavedRow() const {
    return datNotes->EditMode() != store::EditMode::None ||
           dbgService->recordsetModel()->pendingRow() >= 0 ||
           dbgParts->recordsetModel()->pendingRow() >= 0;
}

void frmWorkOrder::cmdAdd_Click() {
    try {
        if (isEmpty())
            DisableControls(false);
        SetEditMode(true);
        orders().AddNew();
        txtDate->setFocus();
    } catch (const platform::AppError& error) {
        showErrorBox(error);
        SetEditMode(false);
        DisableControls(true);
    }
}

void frmWorkOrder::cmdEdit_Click() {
    runKeepingState([this] {
        SetEditMode(true);
        orders().Edit();
    });
    focusFirstUsable({txtDate, cmdAdd, cmdClose});
}

void frmWorkOrder::cmdUpdate_Click() {
    try {
        store::Recordset& rs = orders();
        // New and edited orders alike belong to the vehicle on show in the selector;
        // with none selected the order has no owner and is not stored.
        rs.setValue(QStringLiteral("VehicleID"), SelectedVehicleID(*cboVehicleID));
        rs.Update();
        rs.setBookmark(rs.LastModified());
        const int key = rs.value(QStringLiteral("WorkOrderID")).toInt();
        // Read again in date order and find the saved order there. An order moved to
        // another vehicle is not found: the list then stays on its first order.
        Data1->Refresh();
        orders().FindFirst(QStringLiteral("WorkorderID = ") + QString::number(key));
        SetEditMode(false);
        // The services stored before may now have the order's date and miles.
        recordRemindersDone(key);
        // The only order of the list went to another vehicle.
        if (isEmpty()) {
            DisableControls(true);
            EnableAddClose();
        }
    } catch (const platform::AppError& error) {
        showErrorBox(error);
        // An order the file refused is still pending: the window stays in Adding or
        // Editing with what was typed, for the user to put right or cancel. An order
        // that went elsewhere cannot be saved at all: the orders left are shown.
        if (isRowDeletedElsewhere(error))
            showRemainingRows();
        else if (Data1->EditMode() == store::EditMode::None)
            SetEditMode(false);
    }
    // The keys keep a home in the window: Add once the row is settled, else Close; a
    // row still pending keeps the focus where the user was.
    focusFirstUsable({cmdAdd, cmdClose});
}

void frmWorkOrder::cmdCancel_Click() {
    // A step that fails leaves the details re-read and the next step goes on.
    const auto step = [this](auto statement) {
        try {
            statement();
        } catch (const platform::AppError&) {
            BindDetails();
        }
    };
    bool wasEmpty = false;
    step([&] { SetEditMode(false); });
    step([&] { wasEmpty = isEmpty(); }); // tested while a new order is still pending
    if (wasEmpty) {
        // After SetEditMode, so the navigation bar ends disabled as well.
        step([&] { DisableControls(true); });
        step([&] { EnableAddClose(); });
    }
    step([&] { orders().CancelUpdate(); });
    step([&] { BindDetails(); });
    step([&] { ShowOrderNumber(); });
    focusFirstUsable({cmdAdd, cmdClose});
}

void frmWorkOrder::cmdDelete_Click() {
    runKeepingState([this] {
        if (!confirmDelete(
                QStringLiteral("Are you sure you want to delete the current record?") +
                QStringLiteral("\r\n") +
                QStringLiteral("Deleting this record will also delete all other records that") +
                QStringLiteral(" are related to this record.")))
            return;
        // The order's services, parts and notes go with it through the database's
        // cascading relations.
        store::Recordset& rs = orders();
        deleteCurrentRow(rs);
        if (rs.RecordCount() == 0) {
            DisableControls(true);
            cmdAdd->setEnabled(true);
            cmdClose->setEnabled(true);
            cboVehicleID->setEnabled(true);
        }
    });
    focusFirstUsable({cmdAdd, cmdClose});
}

void frmWorkOrder::cmdClose_Click() {
    Unload();
}

void frmWorkOrder::Data1_Reposition() {
    const store::Recordset& rs = orders();
    showPosition(*Data1, rs);
    if (rs.RecordCount() >= 1 && !Editing && savedOrderIsCurrent())
        SSTab1->setEnabled(true);
    ShowOrderNumber();
    settleDetailsBeforeMove([this] { BindDetails(); });
}

void frmWorkOrder::ShowOrderNumber() {
    bool empty = true;
    ignoringErrors([&] { empty = isEmpty(); });
    if (empty) {
        lblOrderNum->clear();
        return;
    }
    ignoringErrors([&] {
        lblOrderNum->setText(
            values::Format(orders().value(QStringLiteral("WorkOrderID")), QStringLiteral("0000")));
    });
}

} // namespace records
