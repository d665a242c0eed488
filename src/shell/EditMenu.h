#pragma once

#include <QObject>

class QAction;
class QMenu;
class QMenuBar;

namespace shell {

class MDIForm1;

// The Edit menu: Undo Delete brings back the last delete made in the file in use,
// naming it ("Undo Delete of Vehicle 'Civic'"); disabled while there is none. Its
// Ctrl+Z reaches it only when no text box has the focus: a box takes Ctrl+Z for
// its own undo first.
class EditMenu : public QObject {
    Q_OBJECT
public:
    // Adds the menu at the end of the frame's menu bar.
    explicit EditMenu(MDIForm1& frame);

    // The item's text and state for the file in use now.
    void refresh();
    void mnuEditUndoDelete_Click();

private:
    MDIForm1& m_frame;
    QMenu* m_menu;
    QAction* m_undoDelete;
};

} // namespace shell
