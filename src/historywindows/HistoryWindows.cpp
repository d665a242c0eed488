#include "HistoryWindows.h"

#include "frmHistory.h"
#include "shell/MDIForm1.h"

namespace historywindows {

void registerHistoryWindow(shell::MDIForm1& frame) {
    frame.setWindowFactory(shell::ChildWindow::VehicleHistory, [](shell::MDIForm1& f) {
        return static_cast<QWidget*>(frmHistory::open(f));
    });
}

} // namespace historywindows
