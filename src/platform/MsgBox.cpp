#include "MsgBox.h"

#include "AppInfo.h"
#include "WindowTitle.h"

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <utility>

namespace platform {

namespace {

MsgBoxResponder& responder() {
    static MsgBoxResponder instance;
    return instance;
}

// The window whose handler raises a box is the one with the keyboard focus: an MDI
// child's own widget when the focus is inside one, else the focused control's window.
QWidget* ownerOf(QWidget* focus) {
    if (!focus)
        return QApplication::activeWindow();
    for (QWidget* widget = focus; widget; widget = widget->parentWidget())
        if (auto* sub = qobject_cast<QMdiSubWindow*>(widget->parentWidget()))
            if (sub->widget() == widget)
                return widget;
    return focus->window();
}

// The focused control and the widgets that hold it, innermost first: a grid's cell
// editor may be gone once the box is answered, while its grid is still there.
using FocusChain = QList<QPointer<QWidget>>;

FocusChain focusChainOf(QWidget* focus) {
    FocusChain chain;
    for (QWidget* widget = focus; widget; widget = widget->parentWidget())
        chain.append(widget);
    return chain;
}

// After the box: its owner comes to the front again and the control that had the
// focus gets it back (a grid keeps its current cell, and with it its row in view).
void giveFocusBack(const FocusChain& chain) {
    QWidget* focus = nullptr;
    for (const QPointer<QWidget>& widget : chain)
        if (widget && widget->isVisible() && widget->isEnabled() &&
            widget->focusPolicy() != Qt::NoFocus) {
            focus = widget;
            break;
        }
    if (!focus || focus == QApplication::focusWidget())
        return;
    for (QWidget* widget = focus; widget; widget = widget->parentWidget())
        if (auto* sub = qobject_cast<QMdiSubWindow*>(widget))
            if (QMdiArea* area = sub->mdiArea(); area && area->activeSubWindow() != sub)
                area->setActiveSubWindow(sub);
    focus->window()->activateWindow();
    focus->setFocus(Qt::OtherFocusReason);
}

int showRealBox(QWidget* owner, const QString& prompt, int style, const QString& title) {
    QMessageBox box(owner);
    // Prompts and titles carry file names and typed values: shown as written, never
    // read as markup (a link in a box would be one click from the desktop's handler).
    box.setWindowTitle(literalWindowTitle(title));
    box.setTextFormat(Qt::PlainText);
    box.setText(prompt);
    const int icon = style & 0x70;
    switch (icon) {
    case vbQuestion:
        box.setIcon(QMessageBox::Question);
        break;
    case vbExclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    case vbInformation:
        box.setIcon(QMessageBox::Information);
        break;
    default:
        box.setIcon(QMessageBox::NoIcon);
        break;
    }
    if ((style & 0x7) == vbYesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
        return box.exec() == QMessageBox::Yes ? vbYes : vbNo;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return vbOK;
}

} // namespace

int MsgBox(const QString& prompt, int style, const QString& title) {
    const QString shownTitle = title.isEmpty() ? appTitle() : title;
    QWidget* const focus = QApplication::focusWidget();
    const FocusChain chain = focusChainOf(focus);
    const int answer = responder() ? responder()(prompt, style, shownTitle)
                                   : showRealBox(ownerOf(focus), prompt, style, shownTitle);
    giveFocusBack(chain);
    // The window system hands the activation back once the box is gone, and the MDI
    // area may then bring up another child: the focus is given back again after that.
    if (!responder())
        QTimer::singleShot(0, qApp, [chain] { giveFocusBack(chain); });
    return answer;
}

MsgBoxResponder setMsgBoxResponder(MsgBoxResponder newResponder) {
    return std::exchange(responder(), std::move(newResponder));
}

} // namespace platform
