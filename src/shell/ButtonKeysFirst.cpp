#include "ButtonKeysFirst.h"

#include "MDIForm1.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>

namespace shell {

ButtonKeysFirst::ButtonKeysFirst(MDIForm1& frame) : QObject(&frame), m_frame(frame) {
    qApp->installEventFilter(this);
}

QAbstractButton* ButtonKeysFirst::contestedButton(const QKeyEvent& key) const {
    if (key.modifiers() != Qt::AltModifier || key.key() == Qt::Key_Alt)
        return nullptr;
    const QKeySequence pressed(Qt::ALT | Qt::Key(key.key()));
    bool menuHasIt = false;
    for (const QAction* menu : m_frame.menuBar()->actions())
        menuHasIt = menuHasIt || (menu->isVisible() && menu->isEnabled() &&
                                  QKeySequence::mnemonic(menu->text()) == pressed);
    const QMdiSubWindow* front = m_frame.mdiArea()->activeSubWindow();
    if (!menuHasIt || !front || !front->widget())
        return nullptr;
    for (QAbstractButton* button : front->widget()->findChildren<QAbstractButton*>())
        if (button->isVisible() && button->isEnabled() &&
            QKeySequence::mnemonic(button->text()) == pressed)
            return button;
    return nullptr;
}

bool ButtonKeysFirst::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::ShortcutOverride && type != QEvent::KeyPress)
        return false;
    const auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != &m_frame)
        return false; // menus, dialogs and other windows keep their keys
    auto* key = static_cast<QKeyEvent*>(event);
    if (type == QEvent::KeyPress) {
        if (m_swallowKey == 0 || key->key() != m_swallowKey)
            return false;
        m_swallowKey = 0;
        return true;
    }
    m_swallowKey = 0;
    QAbstractButton* button = contestedButton(*key);
    if (!button)
        return false;
    // Taken as a plain key: no shortcut runs, and the button is pressed as its access
    // key would press it.
    key->accept();
    m_swallowKey = key->key();
    if (button->focusPolicy() != Qt::NoFocus)
        button->setFocus(Qt::ShortcutFocusReason);
    button->animateClick();
    return true;
}

} // namespace shell
