#pragma once

#include <functional>

class QMdiSubWindow;
class QObject;

namespace shell {
class MDIForm1;
}

namespace records {

// Runs activated (its errors reported as the program reports them) each time the
// sub-window becomes the frame's active child, and not again while it stays so; the
// frame losing the focus to another program moves nothing. Ends with context.
void callWhenActivated(shell::MDIForm1& frame, QMdiSubWindow* subWindow, QObject* context,
                       std::function<void()> activated);

} // namespace records
