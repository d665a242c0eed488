#pragma once

#include <QPointer>
#include <functional>

class QMdiSubWindow;
class QObject;
class QWidget;

namespace shell {
class MDIForm1;
}

namespace records {

// Runs activated (its errors reported as the program reports them) each time the
// sub-window becomes the frame's active child, and not again while it stays so; the
// frame losing the focus to another program moves nothing. Ends with context.
void callWhenActivated(shell::MDIForm1& frame, QMdiSubWindow* subWindow, QObject* context,
                       std::function<void()> activated);

// Puts window, just made, into a sub-window of its own of the frame (kept in subWindow,
// which takeUp may use), then runs takeUp: the file taken into use, the window placed.
// When takeUp throws, the sub-window goes with the window and the error passes on;
// otherwise activated runs each time the window comes to the front.
void openChildWindow(shell::MDIForm1& frame, QWidget* window, QPointer<QMdiSubWindow>& subWindow,
                     const std::function<void()>& takeUp, std::function<void()> activated);

} // namespace records
