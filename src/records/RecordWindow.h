#pragma once

#include "platform/ErrorReporting.h"

#include <QAbstractButton>
#include <QList>
#include <QMdiSubWindow>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>

namespace platform {
class AppError;
}
namespace shell {
class MDIForm1;
}
namespace store {
class Database;
class Recordset;
} // namespace store

namespace records {

class DataControl;

// What the record windows (vehicles, fuel, work orders) share: the mechanics of an
// MDI child of the main window that shows one row at a time. Each window keeps its
// own handlers (cmdAdd_Click, SetEditMode, EnableAddClose, ...); this class only
// gives them a home and the events they answer to.
//
// Life of a window, as RecordWindow::open<W>(frame) runs it:
//  1. The window is made (its constructor builds its controls, sets its caption and
//     calls setControls and addDataControl) and placed into its own sub-window of
//     the frame's MDI area.
//  2. The window takes the database file into use: the first window on a file checks
//     it as File Open does (takeUpProgramDatabase) and holds its connection.
//     Form_Load runs; it normally starts with placeInFrame(width, height) and then
//     gives each data source control its DatabaseName.
//  3. Every data source control that has a record source and is not open yet opens
//     it (DataControl::openIfNeeded). If the check, Form_Load or an opening fails, the window
//     is discarded and the error goes to the caller (the Window menu reports it).
//  4. The frame shows the window. Form_Activate runs every time its sub-window
//     becomes the active MDI child, the first show included; Form_Deactivate when
//     another child becomes active. (The frame itself losing focus is neither.)
//  5. Unload() (the Close button) closes the sub-window; Form_Unload runs and the
//     window is deleted. No other close is accepted, except the frame's own when the
//     program ends (the system menu has no Close item and the caption no close
//     button, but Qt knows other ways, such as a double click on the menu icon).
//
// Errors: connect every handler with onClicked / platform::reported so that no
// exception leaves a slot. Handlers with their own trap catch platform::AppError
// and call showErrorBox; handlers without one may be run through runKeepingState,
// which shows the same box and puts the window's controls back as they were.
class RecordWindow : public QWidget {
    Q_OBJECT
public:
    ~RecordWindow() override;

    // Makes a window of type W (constructor W(shell::MDIForm1&)) in its sub-window and
    // loads it (steps 1 to 3). Throws, leaving nothing behind, when loading fails.
    template <class W> static W* open(shell::MDIForm1& frame) {
        auto* window = new W(frame);
        window->attach();
        window->loadOrDiscard();
        return window;
    }

    shell::MDIForm1& mainWindow() const { return m_frame; }
    QMdiSubWindow* subWindow() const { return m_subWindow; }

    // Closes the window, as its Close button does.
    void Unload();
    // A row is being added or edited here, or typed into a note or a grid, and is
    // not saved yet.
    bool holdsRowNotSaved() const { return !m_shutdownEnabled || holdsUnsavedRow(); }

    // The window's controls in design order, for DisableControls; a control that no
    // longer exists is listed as nullptr.
    QList<QWidget*> Controls() const;

    // Rows came into the file at path by other means (an import): each open window of the
    // frame reads its rows again when it is next at the front and holds no unsaved row.
    static void rowsAddedElsewhere(shell::MDIForm1& frame, const QString& path);

    // The error box of the trapped handlers: "Error #" + number + CR LF + text,
    // exclamation icon, title "Error".
    static void showErrorBox(const platform::AppError& error);

    // The Delete buttons' question (Yes/No, question icon, title "Delete Record?");
    // true when the user answers Yes.
    static bool confirmDelete(const QString& prompt);
    // Deletes the current row of rs and lands on the row before it; when the first
    // row went, on the new first row.
    static void deleteCurrentRow(store::Recordset& rs);
    // The data source control's caption: "Record " + position + " of " + count.
    static void showPosition(DataControl& source, const store::Recordset& rs);

protected:
    explicit RecordWindow(shell::MDIForm1& frame);

    virtual void Form_Load() = 0;
    virtual void Form_Activate() {}
    virtual void Form_Deactivate() {}
    virtual void Form_Unload() {}

    // The first steps of every load: the window's outer size in twips, its trimmed
    // system menu, the size lock (mode 3) and its place in the middle of the frame.
    void placeInFrame(double widthTwips, double heightTwips);

    // The explicit control list (named widgets of the design, labels and frames
    // included, in design order). Never built with findChildren: that would reach the
    // inner parts of boxes, grids and scroll bars too.
    void setControls(std::initializer_list<QWidget*> controls);
    // Disables (flag true, labels kept as they are) or enables (false, all) the list.
    void DisableControls(bool flag);

    // A data source control that opens by itself after Form_Load.
    void addDataControl(DataControl* source);

    // Sets this window's part of the frame's close lock (true: the program may close,
    // as far as this window goes) and remembers it, so that runKeepingState can put it
    // back. The program may close only when no record window is adding or editing.
    void ShutdownEnabled(bool enabled);

    // Runs a handler that has no trap of its own. A record-store error shows the
    // error box and puts back each listed control's visibility and availability
    // and the close lock as they were before; other errors go on to the caller. A
    // row deleted elsewhere then shows the rows that remain.
    void runKeepingState(const std::function<void()>& handler);

    // The store's word that the row on show went from the file through another
    // window or another copy of the program.
    static bool isRowDeletedElsewhere(const platform::AppError& error);
    // After a row went elsewhere: drops the pending row and reads the window's rows
    // again, so that it shows those that remain. Each window knows its own list.
    virtual void showRemainingRows() {}

    // Rows deleted from the file came back (Edit > Undo Delete): the window reads its
    // rows again, keeping its place where it can. Called only while the window is at
    // the front and holds no unsaved row, so nothing typed is lost.
    virtual void showRowsThatCameBack() {}
    // For showRowsThatCameBack: the current row's bookmark, if any; then, after the
    // rows are read again, the row that came back when rs holds it, else that place.
    static std::optional<qint64> currentPlace(const store::Recordset& rs);
    void landAfterComeBack(store::Recordset& rs, std::optional<qint64> place) const;
    // A row typed but not yet saved other than through Add or Edit (a note, a grid
    // row); rows that came back wait until it is settled.
    virtual bool holdsUnsavedRow() const { return false; }

    // Puts the keyboard focus on the first of the candidates that a user can reach now:
    // shown, enabled and not covered by another control. With none of them, a focus
    // that is usable stays; else the first usable control in tab order takes it. The
    // editing buttons call it so that the keys always have a home in the window.
    void focusFirstUsable(std::initializer_list<QWidget*> candidates);

    // Connects a button's click to a handler through platform::reported.
    template <class Handler> void onClicked(QAbstractButton* button, Handler handler) {
        connect(button, &QAbstractButton::clicked, this, platform::reported(std::move(handler)));
    }

    void closeEvent(QCloseEvent* event) override;

private:
    struct ControlState {
        QPointer<QWidget> control;
        bool visible;
        bool enabled;
    };

    void attach();
    void loadOrDiscard();
    void subWindowActivated(QMdiSubWindow* window);
    // Puts the keyboard focus on the control that last had it in this window, else on
    // the first one that takes it in tab order, unless it is inside already.
    void takeFocus();
    // Shown, enabled, inside this window and not covered by a sibling drawn over it.
    bool isUsable(const QWidget* control) const;
    QList<ControlState> captureState() const;
    void restoreState(const QList<ControlState>& state);
    void rowsRestored(const QString& path, const QString& table, qint64 rowid);
    // Shows rows that came back once the window is at the front and settled.
    void showRowsThatCameBackWhenDue();

    shell::MDIForm1& m_frame;
    std::shared_ptr<store::Database> m_database; // the file in use, checked
    QPointer<QMdiSubWindow> m_subWindow;
    QList<QPointer<QWidget>> m_controls;
    QList<QPointer<DataControl>> m_dataControls;
    QPointer<QWidget> m_lastFocus; // the control in this window that had the focus last
    QMetaObject::Connection m_focusTracking;
    bool m_shutdownEnabled = true;
    bool m_loaded = false;
    bool m_active = false;
    bool m_unloading = false;
    bool m_closed = false;
    bool m_rowsCameBack = false; // restored rows not yet shown
    QString m_cameBackTable;     // the deleted row that came back last
    qint64 m_cameBackRow = 0;
};

} // namespace records
