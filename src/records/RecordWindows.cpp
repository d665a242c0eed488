#include "RecordWindows.h"

#include "frmGas.h"
#include "frmVehicleInfo.h"
#include "shell/MDIForm1.h"

namespace records {

void registerRecordWindows(shell::MDIForm1& frame) {
    frame.setWindowFactory(shell::ChildWindow::VehicleInformation, [](shell::MDIForm1& f) {
        return static_cast<QWidget*>(RecordWindow::open<frmVehicleInfo>(f));
    });
    frame.setWindowFactory(shell::ChildWindow::GasPurchases, [](shell::MDIForm1& f) {
        return static_cast<QWidget*>(RecordWindow::open<frmGas>(f));
    });
}

} // namespace records
