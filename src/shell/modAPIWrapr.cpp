#include "modAPIWrapr.h"

#include <QEvent>

namespace shell::modAPIWrapr {

namespace {

WindowTable g_table;
short g_mode = 0;

// The one filter object that passes each event of the hooked windows to WindowProc.
class WindowHook : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched->isWidgetType())
            WindowProc(static_cast<QWidget*>(watched), event);
        return false;
    }
};

WindowHook& hook() {
    static WindowHook instance;
    return instance;
}

bool changesPlacement(QEvent::Type type) {
    return type == QEvent::Move || type == QEvent::Resize || type == QEvent::Show ||
           type == QEvent::WindowStateChange;
}

// Captures the first positive length and keeps the window at it.
void lockLength(QWidget& window, int current, bool& captured, int& locked, bool width) {
    if (current <= 0)
        return;
    if (!captured) {
        captured = true;
        locked = current;
    }
    const bool fixed = width ? window.minimumWidth() == locked && window.maximumWidth() == locked
                             : window.minimumHeight() == locked && window.maximumHeight() == locked;
    if (fixed && current == locked)
        return;
    if (width)
        window.setFixedWidth(locked); // also resizes the window back
    else
        window.setFixedHeight(locked);
}

} // namespace

void HookWindow(QWidget* hWnd, short mode) {
    g_mode = mode;
    if (hWnd)
        hWnd->installEventFilter(&hook());
}

bool WindowProc(QWidget* hWnd, QEvent* event) {
    for (WindowSlot& slot : g_table) {
        if (slot.hWnd.isNull()) {
            slot.hWnd = nullptr;
            slot.WidthCaptured = false;
            slot.HeightCaptured = false;
        }
    }
    WindowSlot* current = nullptr;
    for (WindowSlot& slot : g_table) {
        if (slot.hWnd == hWnd) {
            current = &slot;
            break;
        }
    }
    if (!current) {
        for (WindowSlot& slot : g_table) {
            if (slot.hWnd.isNull()) {
                slot.hWnd = hWnd;
                current = &slot;
                break;
            }
        }
    }
    if (!current || !hWnd || !changesPlacement(event->type()))
        return false;
    if (g_mode == kLockWidth || g_mode == kLockBoth)
        lockLength(*hWnd, hWnd->width(), current->WidthCaptured, current->LockedWidth, true);
    if (g_mode == kLockHeight || g_mode == kLockBoth)
        lockLength(*hWnd, hWnd->height(), current->HeightCaptured, current->LockedHeight, false);
    return false;
}

const WindowTable& windowTable() {
    return g_table;
}

short sizeLockMode() {
    return g_mode;
}

} // namespace shell::modAPIWrapr
