#pragma once

#include <QList>

class QMdiArea;
class QMdiSubWindow;
class QScreen;
class QWidget;

namespace shell {
class MDIForm1;
}

// Utilities every window uses: centring, the record windows' trimmed system menu and
// switching all of a window's controls off and on.
namespace shell::modDrivolex {

// Where a length of `size` starts when centred in `container`, in the same units:
// half the difference, halves kept; negative when it is larger than the container.
float centerOffset(double container, double size);

// Centres a top-level window on the screen (the screen's full size).
void CenterForm(const QScreen& screen, QWidget& form);
// Centres an MDI child (its sub-window, when given the content) in the frame's client
// area.
void CenterForm(const QMdiArea& container, QWidget& form);
void CenterForm(const MDIForm1& container, QWidget& form);

// Leaves the record window's system menu with Restore, Move and Minimize only, and
// takes away its maximise and close buttons: the window is closed by its own Close
// button.
void TrimSystemMenu(QMdiSubWindow& window);

// With flag true disables every control of the list except labels, which keep their
// state; with flag false enables every control, labels included. The list is the
// window's own controls in design order. A control that no longer exists stops the
// walk with a run-time error.
void DisableControls(const QList<QWidget*>& controls, bool flag);

} // namespace shell::modDrivolex
