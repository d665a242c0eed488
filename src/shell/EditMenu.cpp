#include "EditMenu.h"

#include "AppState.h"
#include "MDIForm1.h"
#include "platform/ErrorReporting.h"
#include "platform/MsgBox.h"
#include "undo/DeleteHistory.h"

#include <QMenu>
#include <QMenuBar>

namespace shell {

EditMenu::EditMenu(MDIForm1& frame) : QObject(&frame), m_frame(frame) {
    setObjectName(QStringLiteral("editMenu"));
    m_menu = frame.menuBar()->addMenu(QStringLiteral("&Edit"));
    m_menu->setObjectName(QStringLiteral("mnuEdit"));
    m_menu->menuAction()->setObjectName(QStringLiteral("mnuEdit"));
    m_undoDelete = m_menu->addAction(QStringLiteral("&Undo Delete"));
    m_undoDelete->setObjectName(QStringLiteral("mnuEditUndoDelete"));
    m_undoDelete->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    connect(m_undoDelete, &QAction::triggered, this,
            platform::reported([this] { mnuEditUndoDelete_Click(); }));
    connect(m_menu, &QMenu::aboutToShow, this, &EditMenu::refresh);
    connect(&undo::DeleteHistory::instance(), &undo::DeleteHistory::changed, this,
            &EditMenu::refresh);
    refresh();
}

void EditMenu::refresh() {
    const QString caption = DatabasePath.isEmpty()
                                ? QString()
                                : undo::DeleteHistory::instance().nextCaption(DatabasePath);
    QString shown = caption;
    shown.replace(QLatin1Char('&'), QLatin1String("&&")); // a name's "&" is no access key
    m_undoDelete->setText(caption.isEmpty() ? QStringLiteral("&Undo Delete")
                                            : QStringLiteral("&Undo Delete of ") + shown);
    m_undoDelete->setEnabled(!caption.isEmpty());
}

void EditMenu::mnuEditUndoDelete_Click() {
    if (DatabasePath.isEmpty())
        return;
    const undo::DeleteHistory::Result result =
        undo::DeleteHistory::instance().undoLast(DatabasePath);
    refresh();
    using Outcome = undo::DeleteHistory::Outcome;
    if (result.outcome != Outcome::Restored && result.outcome != Outcome::NothingToUndo)
        platform::MsgBox(result.message, platform::vbExclamation, QStringLiteral("Undo Delete"));
}

} // namespace shell
