#include "modDrivolex.h"

#include "MDIForm1.h"
#include "NoCloseCaptionStyle.h"
#include "Twips.h"
#include "platform/AppError.h"

#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QScreen>

namespace shell::modDrivolex {

namespace {

// Number of the "object not set" run-time error.
constexpr int kObjectNotSet = 91;

// The widget that is actually placed: an MDI child's sub-window, or the window itself.
QWidget& placedWidget(QWidget& form) {
    if (auto* sub = qobject_cast<QMdiSubWindow*>(form.parentWidget());
        sub && sub->widget() == &form)
        return *sub;
    return form;
}

// Sizes are taken in twips, like the window's own scale; the result goes back to whole
// pixels. Left is set before top, as two moves.
void placeCentered(QWidget& window, const QRect& container, const QPoint& origin) {
    const double width = pixelsToTwips(container.width(), &window);
    const double height = pixelsToTwips(container.height(), &window);
    const QSize own = window.isWindow() ? window.frameGeometry().size() : window.size();
    const float left = centerOffset(width, pixelsToTwips(own.width(), &window));
    const float top = centerOffset(height, pixelsToTwips(own.height(), &window));
    const int x = origin.x() + twipsToPixels(left, &window);
    window.move(x, window.pos().y());
    window.move(x, origin.y() + twipsToPixels(top, &window));
}

} // namespace

float centerOffset(double container, double size) {
    return float((container - size) / 2.0);
}

void CenterForm(const QScreen& screen, QWidget& form) {
    const QRect area = screen.geometry();
    placeCentered(form, area, area.topLeft());
}

void CenterForm(const QMdiArea& container, QWidget& form) {
    const QRect client = container.viewport()->rect();
    placeCentered(placedWidget(form), client, QPoint(0, 0));
}

void CenterForm(const MDIForm1& container, QWidget& form) {
    CenterForm(*container.mdiArea(), form);
}

void TrimSystemMenu(QMdiSubWindow& window) {
    if (QMenu* menu = window.systemMenu()) {
        const QStringList kept = {QMdiSubWindow::tr("&Restore"), QMdiSubWindow::tr("&Move"),
                                  QMdiSubWindow::tr("Mi&nimize")};
        for (QAction* item : menu->actions())
            if (item->isSeparator() || !kept.contains(item->text())) {
                // A removed item's keys (Ctrl+F4 for Close) must go with it.
                item->setShortcuts({});
                item->setEnabled(false);
                menu->removeAction(item);
            }
    }
    const bool wasVisible = window.isVisible();
    Qt::WindowFlags flags = window.windowFlags() | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                            Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint;
    flags &= ~(Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    window.setWindowFlags(flags);
    // The styles draw a close button for the system menu even without its Close item.
    NoCloseCaptionStyle::applyTo(window);
    if (wasVisible)
        window.show();
}

void DisableControls(const QList<QWidget*>& controls, bool flag) {
    for (QWidget* control : controls) {
        if (!control)
            throw platform::AppError(kObjectNotSet,
                                     QStringLiteral("A control of this window no longer exists."));
        if (flag && qobject_cast<QLabel*>(control))
            continue;
        control->setEnabled(!flag);
    }
}

} // namespace shell::modDrivolex
