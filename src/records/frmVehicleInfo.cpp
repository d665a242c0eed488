// The vehicle window's handlers: the editing cycle on table VehicleInfo.
#include "frmVehicleInfo.h"

#include "BoundTextBox.h"
#include "DataControl.h"
#include "platform/AppError.h"
#include "shell/AppState.h"
#include "store/Recordset.h"

#include <QGroupBox>
#include <QPushButton>

namespace records {

namespace {
// The window's outer size in twips.
constexpr double kWidth = 5595;
constexpr double kHeight = 3840;
} // namespace

store::Recordset& frmVehicleInfo::records() const {
    return *Data1->Recordset();
}

bool frmVehicleInfo::isEmpty() const {
    return records().isBOF() && records().isEOF();
}

void frmVehicleInfo::Form_Load() {
    placeInFrame(kWidth, kHeight);
    FirstActivate = true;
    Frame1->setEnabled(false);
    // The record source "VehicleInfo" is part of the design; it opens after this.
    Data1->setDatabaseName(shell::DatabasePath);
}

void frmVehicleInfo::Form_Activate() {
    // Only the first activation does anything: later ones keep the current row.
    if (!FirstActivate)
        return;
    showRowsFromLast();
    FirstActivate = false;
}

void frmVehicleInfo::showRowsFromLast() {
    if (isEmpty()) {
        DisableControls(true);
        EnableAddClose();
    } else {
        records().MoveLast();
        DisableControls(false);
        Frame1->setEnabled(false);
    }
}

void frmVehicleInfo::showRemainingRows() {
    SetEditMode(false);
    Data1->Refresh(); // drops the pending row
    showRowsFromLast();
}

void frmVehicleInfo::showRowsThatCameBack() {
    const std::optional<qint64> place = currentPlace(records());
    Data1->Refresh();
    showRowsFromLast();
    landAfterComeBack(records(), place);
}

void frmVehicleInfo::EnableAddClose() {
    cmdAdd->setEnabled(true);
    cmdClose->setEnabled(true);
}

void frmVehicleInfo::SetEditMode(bool editing) {
    // Hiding Add and Edit uncovers Update and Cancel beneath them.
    cmdAdd->setVisible(!editing);
    cmdEdit->setVisible(!editing);
    cmdDelete->setVisible(!editing);
    cmdClose->setVisible(!editing);
    Frame1->setEnabled(editing);
    Data1->setEnabled(!editing);
    ShutdownEnabled(!editing);
}

void frmVehicleInfo::cmdAdd_Click() {
    try {
        // On an empty table only Add and Close were usable; a saved row needs them all.
        if (isEmpty())
            DisableControls(false);
        SetEditMode(true);
        records().AddNew();
        txtLookUp->setFocus();
    } catch (const platform::AppError& error) {
        showErrorBox(error);
        SetEditMode(false);
        DisableControls(true);
    }
}

void frmVehicleInfo::cmdEdit_Click() {
    runKeepingState([this] {
        SetEditMode(true);
        records().Edit();
    });
    focusFirstUsable({txtLookUp, cmdAdd, cmdClose});
}

void frmVehicleInfo::cmdUpdate_Click() {
    try {
        records().Update();
        records().setBookmark(records().LastModified());
        SetEditMode(false);
    } catch (const platform::AppError& error) {
        showErrorBox(error);
        // A row the file refused is still pending: the window stays in Adding or
        // Editing with what was typed, for the user to put right or cancel. A row
        // that went elsewhere cannot be saved at all: the rows left are shown.
        if (isRowDeletedElsewhere(error))
            showRemainingRows();
        else if (Data1->EditMode() == store::EditMode::None)
            SetEditMode(false);
    }
    // The keys keep a home in the window: Add once the row is settled, else Close; a
    // row still pending keeps the focus where the user was.
    focusFirstUsable({cmdAdd, cmdClose});
}

void frmVehicleInfo::cmdCancel_Click() {
    runKeepingState([this] {
        // Tested while the new row is still pending: an Add on an empty table.
        if (isEmpty()) {
            DisableControls(true);
            EnableAddClose();
        }
        SetEditMode(false);
        records().CancelUpdate();
    });
    focusFirstUsable({cmdAdd, cmdClose});
}

void frmVehicleInfo::cmdDelete_Click() {
    runKeepingState([this] {
        if (!confirmDelete(QStringLiteral("Are you sure you want to delete the current record?")))
            return;
        store::Recordset& rs = records();
        deleteCurrentRow(rs);
        if (rs.RecordCount() == 0) {
            DisableControls(true);
            cmdAdd->setEnabled(true);
            cmdClose->setEnabled(true);
        }
    });
    focusFirstUsable({cmdAdd, cmdClose});
}

void frmVehicleInfo::cmdClose_Click() {
    Unload();
}

void frmVehicleInfo::Data1_Reposition() {
    showPosition(*Data1, records());
}

} // namespace records
