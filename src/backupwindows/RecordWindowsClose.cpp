#include "RecordWindowsClose.h"

#include "platform/MsgBox.h"
#include "records/RecordWindow.h"

#include <QCoreApplication>
#include <QEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>

namespace backupwindows {

bool closeRecordWindows(shell::MDIForm1& frame, QList<shell::ChildWindow>* closed) {
    QList<QPointer<records::RecordWindow>> windows;
    for (QMdiSubWindow* sub : frame.mdiArea()->subWindowList())
        if (auto* window = qobject_cast<records::RecordWindow*>(sub->widget()))
            windows << window;
    // Every question first: one row kept keeps every window as it is.
    for (const auto& window : windows) {
        if (!window->holdsRowNotSaved())
            continue;
        const QString title =
            window->subWindow() ? window->subWindow()->windowTitle() : window->windowTitle();
        const int answer = platform::MsgBox(
            QStringLiteral("The %1 window holds a row that is not saved yet. Restoring the "
                           "backup gives it up.\r\nGive up the row and restore the backup?")
                .arg(title),
            platform::vbYesNo | platform::vbExclamation, QStringLiteral("Restore From Backup"));
        if (answer != platform::vbYes)
            return false;
    }
    for (const shell::ChildWindow which :
         {shell::ChildWindow::GasPurchases, shell::ChildWindow::VehicleInformation,
          shell::ChildWindow::ServiceRecords})
        if (frame.openChildWindow(which) && closed)
            *closed << which;
    for (const auto& window : windows)
        if (window)
            window->Unload();
    // Closed windows go at the next turn of the event loop; their connections to the
    // file must be gone before it is replaced.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    // The rows given up held the program open.
    frame.ShutdownEnabled(true);
    return true;
}

} // namespace backupwindows
