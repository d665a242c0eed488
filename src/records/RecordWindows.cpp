#include "RecordWindows.h"

#include "frmGas.h"
#include "frmVehicleInfo.h"
#include "frmWorkOrder.h"
#include "shell/MDIForm1.h"
#include "undo/DeleteHistory.h"
#include "values/Format.h"

namespace records {

void registerRecordWindows(shell::MDIForm1& frame) {
    // Every delete of the run can be brought back; orders are named as the window
    // numbers them.
    undo::DeleteHistory::instance().watchStore(
        [](const QVariant& orderId) { return values::Format(orderId, QStringLiteral("0000")); });
    frame.setWindowFactory(shell::ChildWindow::VehicleInformation, [](shell::MDIForm1& f) {
        return static_cast<QWidget*>(RecordWindow::open<frmVehicleInfo>(f));
    });
    frame.setWindowFactory(shell::ChildWindow::GasPurchases, [](shell::MDIForm1& f) {
        return static_cast<QWidget*>(RecordWindow::open<frmGas>(f));
    });
    frame.setWindowFactory(shell::ChildWindow::ServiceRecords, [](shell::MDIForm1& f) {
        return static_cast<QWidget*>(RecordWindow::open<frmWorkOrder>(f));
    });
}

} // namespace records
