#include "ChildActivation.h"

#include "platform/ErrorReporting.h"
#include "shell/MDIForm1.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <memory>

namespace records {

void callWhenActivated(shell::MDIForm1& frame, QMdiSubWindow* subWindow, QObject* context,
                       std::function<void()> activated) {
    auto active = std::make_shared<bool>(false);
    QObject::connect(frame.mdiArea(), &QMdiArea::subWindowActivated, context,
                     [active, subWindow = QPointer<QMdiSubWindow>(subWindow),
                      activated = std::move(activated)](QMdiSubWindow* now) {
                         // A null window: the frame lost the focus; the children kept
                         // their places.
                         if (!now)
                             return;
                         const bool nowActive = now == subWindow;
                         if (nowActive && !*active)
                             platform::runReported(activated);
                         *active = nowActive;
                     });
}

void openChildWindow(shell::MDIForm1& frame, QWidget* window, QPointer<QMdiSubWindow>& subWindow,
                     const std::function<void()>& takeUp, std::function<void()> activated) {
    subWindow = frame.addChildWindow(window);
    try {
        takeUp();
    } catch (...) {
        delete subWindow.data(); // the sub-window owns the window
        throw;
    }
    callWhenActivated(frame, subWindow, window, std::move(activated));
}

} // namespace records
