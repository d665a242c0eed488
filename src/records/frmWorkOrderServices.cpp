// The work order window's service boxes, the typing of services line by line, and
// the parts total: what the order's detail rows add up to on screen.
#include "frmWorkOrder.h"

#include "DataControl.h"
#include "DataGrid.h"
#include "PartsTotal.h"
#include "RecordsetTableModel.h"
#include "ServiceRows.h"
#include "platform/AppError.h"
#include "reminders/ReminderStore.h"
#include "store/Database.h"
#include "store/Recordset.h"

#include <QCheckBox>
#include <QLabel>
#include <QSignalBlocker>
#include <algorithm>

namespace records {

namespace {

// Columns of the grids.
constexpr int kServiceColumn = 0;
constexpr int kQtyColumn = 0;
constexpr int kCostColumn = 3;

void setTicked(QCheckBox* box, bool ticked) {
    const QSignalBlocker quiet(box);
    box->setChecked(ticked);
}

} // namespace

QList<QCheckBox*> frmWorkOrder::serviceChecks() const {
    return {Check1, Check2, Check3, Check4};
}

void frmWorkOrder::ShowServiceChecks() {
    const RecordsetTableModel& rows = *dbgService->recordsetModel();
    // A line being typed is no service yet; the boxes follow once it is stored or
    // dropped.
    if (rows.pendingRow() >= 0)
        return;
    const QStringList done = storedServices(rows, kServiceColumn);
    for (QCheckBox* box : serviceChecks()) {
        const QString service = serviceOfCaption(box->text());
        setTicked(box, std::any_of(done.begin(), done.end(), [&](const QString& description) {
                      return isSameService(description, service);
                  }));
    }
}

void frmWorkOrder::Check_Click(QCheckBox* box) {
    const bool wanted = box->isChecked();
    const QString service = serviceOfCaption(box->text());
    // A line typed in the services grid is stored first, as leaving the grid does;
    // when it cannot be, the grid has said why and the box waits.
    if (!dbgService->commitPendingRow() || !savedOrderIsCurrent()) {
        setTicked(box, !wanted);
        return;
    }
    const QVariant orderKey = orders().value(QStringLiteral("WorkOrderID"));
    bool added = false;
    try {
        store::Recordset& rows = *datService->Recordset();
        if (wanted)
            addServiceRow(rows, orderKey, service);
        else
            removeServiceRows(rows, service);
        added = wanted;
    } catch (const platform::AppError& error) {
        // Refused by the file: the box shows what it showed before, which is what
        // the file holds (a remove cut short leaves a row of the service behind).
        setTicked(box, !wanted);
        showErrorBox(error);
    }
    if (added)
        recordRemindersDone(orderKey);
    // The grid lists the rows as the file now has them; the boxes follow it.
    try {
        datService->Refresh();
    } catch (const platform::AppError&) {
        // the file cannot be read just now: the grid keeps the rows it showed
    }
}

void frmWorkOrder::dbgService_KeyPress(int& keyAscii) {
    if (keyAscii != 13)
        return;
    // Enter stores the line and goes on to the next one, the empty row at the end
    // after the last, so that a list of services is typed line after line. A line
    // the file refused keeps the cursor for correction.
    if (!dbgService->commitPendingRow())
        return;
    const QModelIndex current = dbgService->currentIndex();
    const QModelIndex next = current.sibling(current.row() + 1, current.column());
    if (current.isValid() && next.isValid())
        dbgService->setCurrentIndex(next);
}

void frmWorkOrder::dbgService_AfterUpdate() {
    if (savedOrderIsCurrent())
        recordRemindersDone(orders().value(QStringLiteral("WorkOrderID")));
}

void frmWorkOrder::recordRemindersDone(const QVariant& orderKey) {
    try {
        reminders::recordServicesDone(Data1->Database()->handle(), orderKey.toLongLong());
    } catch (const platform::AppError& error) {
        showErrorBox(error);
    }
}

void frmWorkOrder::ShowPartsTotal() {
    lblPartsTotal->setText(
        partsTotalCaption(partsTotalCents(*dbgParts->recordsetModel(), kQtyColumn, kCostColumn)));
}

} // namespace records
