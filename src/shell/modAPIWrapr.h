#pragma once

#include <QPointer>
#include <QWidget>
#include <array>

class QEvent;

// The size lock of the record windows: a hooked window keeps the size it had when it
// was first placed, whatever later tries to resize it; moving it still works.
namespace shell::modAPIWrapr {

// Size-lock modes: 1 the width, 2 the height, 3 both; anything else locks nothing.
inline constexpr short kLockWidth = 1;
inline constexpr short kLockHeight = 2;
inline constexpr short kLockBoth = 3;

// One hooked window. A slot whose window is gone is freed by the next sweep.
struct WindowSlot {
    QPointer<QWidget> hWnd;
    bool WidthCaptured = false;
    bool HeightCaptured = false;
    int LockedWidth = 0;
    int LockedHeight = 0;
};

inline constexpr int kSlotCount = 4;
using WindowTable = std::array<WindowSlot, kSlotCount>;

// Watches every event of the window through WindowProc. The mode is shared by all
// hooked windows: the last call's mode applies to each of them.
void HookWindow(QWidget* hWnd, short mode);

// Runs for each event of a hooked window: frees the slots of destroyed windows, gives
// a new window the first free slot, captures the first positive width and height and
// holds the window to them. Returns false: every event goes on to the window. A
// window that finds no free slot is left as it is.
bool WindowProc(QWidget* hWnd, QEvent* event);

// The table and mode as they stand, for inspection.
const WindowTable& windowTable();
short sizeLockMode();

} // namespace shell::modAPIWrapr
