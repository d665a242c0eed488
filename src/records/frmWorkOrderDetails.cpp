// The work order window's details: the services, parts and notes of the current
// order, each through its own data source that follows the current order.
#include "frmWorkOrder.h"

#include "BoundTextBox.h"
#include "DataControl.h"
#include "DataGrid.h"
#include "ProgramEnd.h"
#include "platform/AppError.h"
#include "platform/MsgBox.h"
#include "store/Recordset.h"
#include "store/StoreErrors.h"

#include <QCheckBox>
#include <QTabWidget>

namespace records {

namespace {

struct DetailSource {
    DataControl* frmWorkOrder::*control;
    const char* forOrder; // the current order's key is appended
    const char* forNone;
};

// In the order in which they are pointed at an order or at none.
const DetailSource kDetails[] = {
    {&frmWorkOrder::datParts, "Select * from PartsUsed where WorkOrderID = ",
     "Select * from PartsUsed where WorkOrderID = -1"},
    {&frmWorkOrder::datService, "Select * from workDone Where WorkOrderID = ",
     "Select * from workDone Where WorkOrderID = -1"},
    {&frmWorkOrder::datNotes, "Select * from WorkOrderMemo where WorkorderID = ",
     "Select * from WorkOrderMemo Where WorkOrderID = -1"},
};

} // namespace

void frmWorkOrder::ClearDetails() {
    for (const DetailSource& detail : kDetails) {
        DataControl* source = this->*detail.control;
        source->setRecordSource(QLatin1String(detail.forNone));
        source->Refresh();
    }
}

void frmWorkOrder::BindDetails() {
    try {
        bool empty = false;
        try {
            empty = isEmpty();
        } catch (const platform::AppError& error) {
            if (error.number() != store::errNoCurrentRecord)
                throw;
        }
        if (empty) {
            ClearDetails();
            return;
        }
        for (const DetailSource& detail : kDetails) {
            DataControl* source = this->*detail.control;
            // Between a delete and the next move no order is current: the detail
            // then shows no rows rather than another source's or an empty text.
            QString recordSource = QLatin1String(detail.forNone);
            try {
                recordSource = QLatin1String(detail.forOrder) +
                               orders().value(QStringLiteral("WorkOrderID")).toString();
            } catch (const platform::AppError& error) {
                if (error.number() != store::errNoCurrentRecord)
                    throw;
            }
            source->setRecordSource(recordSource);
            try {
                source->Refresh();
            } catch (const platform::AppError& error) {
                if (error.number() != store::errNoCurrentRecord)
                    throw;
            }
        }
    } catch (const platform::AppError& error) {
        // The details can no longer follow the orders: nothing is saved, the
        // program ends.
        platform::MsgBox(error.text(), platform::vbInformation, QStringLiteral("Error"));
        EndProgram();
    }
}

void frmWorkOrder::SSTab1_Click(int /*previousTab*/) {
    switch (SSTab1->currentIndex()) {
    case 0:
        Check1->setFocus();
        break;
    case 1:
        dbgService->SetFocus();
        break;
    case 2:
        dbgParts->SetFocus();
        break;
    case 3:
        txtNotes->setFocus();
        break;
    default:
        break;
    }
}

// A detail control is in the Tab key order only while it has the focus.
void frmWorkOrder::dbgService_GotFocus() {
    dbgService->setTabStop(true);
}

void frmWorkOrder::dbgService_LostFocus() {
    dbgService->setTabStop(false);
}

void frmWorkOrder::dbgParts_GotFocus() {
    dbgParts->setTabStop(true);
}

void frmWorkOrder::dbgParts_LostFocus() {
    dbgParts->setTabStop(false);
}

// A new detail row belongs to the order on show.
void frmWorkOrder::dbgService_OnAddNew() {
    datService->Recordset()->setValue(QStringLiteral("WorkOrderID"),
                                      orders().value(QStringLiteral("WorkOrderID")));
}

void frmWorkOrder::dbgParts_OnAddNew() {
    datParts->Recordset()->setValue(QStringLiteral("WorkOrderID"),
                                    orders().value(QStringLiteral("WorkOrderID")));
}

void frmWorkOrder::dbgParts_BeforeColUpdate(int colIndex, QVariant& /*oldValue*/, bool& cancel) {
    // No cell of a part is taken while its quantity is empty. The cell keeps what it
    // showed, so a part the user never gave a quantity is never stored, and a stored
    // quantity is never changed into one the user did not type.
    const QVariant quantity = dbgParts->Columns(0).CellValue(dbgParts->Bookmark());
    if (!quantity.toString().isEmpty())
        return;
    cancel = true;
    platform::MsgBox(colIndex == 0 ? QStringLiteral("Qty cannot be left empty: a part is stored "
                                                    "with its quantity (PartQty). The quantity "
                                                    "it had is kept.")
                                   : QStringLiteral("Type the Qty first: a part is stored only "
                                                    "with its quantity (PartQty)."),
                     platform::vbExclamation, QStringLiteral("Error"));
}

void frmWorkOrder::dbgParts_KeyPress(int& keyAscii) {
    if (keyAscii != 13)
        return;
    // Enter walks Qty, Part #, Description, Cost, then Qty of the next row.
    try {
        if (dbgParts->Col() < 3) {
            dbgParts->setCol(dbgParts->Col() + 1);
        } else {
            // The cost just typed goes into the row before the cursor leaves it; one
            // that does not fit keeps the cursor on the row for correction.
            if (!dbgParts->commitPendingRow())
                return;
            dbgParts->setCol(0);
            dbgParts->setRow(dbgParts->Row() + 1);
        }
    } catch (const platform::AppError& error) {
        if (error.number() == errGridNoSuchRow)
            return; // on the last visible row the cursor stays where it is
        platform::MsgBox(error.text(), platform::vbInformation, QStringLiteral("Error"));
    }
}

void frmWorkOrder::txtNotes_GotFocus() {
    txtNotes->setFocusPolicy(Qt::StrongFocus);
    startNote();
}

void frmWorkOrder::txtNotes_LostFocus() {
    txtNotes->setFocusPolicy(Qt::ClickFocus);
    settleNote();
}

void frmWorkOrder::startNote() {
    store::Recordset& notes = *datNotes->Recordset();
    if (notes.isEOF()) {
        // The order has no notes yet: a new row is pending until the box is left.
        notes.AddNew();
        notes.setValue(QStringLiteral("WorkOrderId"),
                       orders().value(QStringLiteral("WorkOrderId")));
    } else {
        notes.Edit();
    }
}

void frmWorkOrder::settleNote() {
    store::Recordset& notes = *datNotes->Recordset();
    if (!txtNotes->toPlainText().isEmpty()) {
        notes.Update();
        datNotes->Refresh();
        return;
    }
    switch (notes.editMode()) {
    case store::EditMode::AddNew:
        notes.CancelUpdate(); // no empty notes row
        break;
    case store::EditMode::Edit:
        // An emptied note is no note: its row goes.
        notes.CancelUpdate();
        notes.Delete();
        datNotes->Refresh();
        break;
    case store::EditMode::None:
        break;
    }
}

void frmWorkOrder::settleDetailsBeforeMove(const std::function<void()>& move) {
    // The navigation bar takes no focus: what is being typed on the tabs for the
    // order that is left is settled first, as leaving the control would.
    dbgService->commitPendingRow();
    dbgParts->commitPendingRow();
    const bool noteOpen = txtNotes->hasFocus() && datNotes->EditMode() != store::EditMode::None;
    if (noteOpen)
        settleNote();
    move();
    if (noteOpen && !orders().isBOF() && !orders().isEOF())
        startNote();
}

} // namespace records
