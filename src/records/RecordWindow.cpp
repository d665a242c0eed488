#include "RecordWindow.h"

#include "DataControl.h"
#include "SharedDatabase.h"
#include "platform/AppError.h"
#include "platform/MsgBox.h"
#include "shell/AppState.h"
#include "shell/MDIForm1.h"
#include "shell/Twips.h"
#include "shell/modAPIWrapr.h"
#include "shell/modDrivolex.h"
#include "store/Recordset.h"
#include "store/StoreErrors.h"
#include "undo/DeleteHistory.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTimer>

namespace records {

RecordWindow::RecordWindow(shell::MDIForm1& frame) : m_frame(frame) {}

RecordWindow::~RecordWindow() {
    // Focus moves while the base class deletes the controls; this part is gone by then.
    disconnect(m_focusTracking);
}

void RecordWindow::attach() {
    m_subWindow = m_frame.addChildWindow(this);
}

void RecordWindow::loadOrDiscard() {
    try {
        // Nothing of the window runs on a file that fails the checks.
        m_database = takeUpProgramDatabase(shell::DatabasePath);
        Form_Load();
        for (const QPointer<DataControl>& source : m_dataControls)
            if (source)
                source->openIfNeeded();
    } catch (...) {
        // A window that could not load is not shown half-made; the sub-window owns it.
        delete m_subWindow.data();
        throw;
    }
    m_loaded = true;
    connect(m_frame.mdiArea(), &QMdiArea::subWindowActivated, this,
            &RecordWindow::subWindowActivated);
    connect(&undo::DeleteHistory::instance(), &undo::DeleteHistory::rowsRestored, this,
            &RecordWindow::rowsRestored);
    m_focusTracking =
        connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
            if (isAncestorOf(now))
                m_lastFocus = now;
        });
}

void RecordWindow::subWindowActivated(QMdiSubWindow* window) {
    // A null window means the frame lost the focus or has no active child: the MDI
    // children did not change places, so neither event is due.
    if (!m_loaded || m_closed || !window)
        return;
    if (window == m_subWindow && !m_active) {
        m_active = true;
        platform::runReported([this] { Form_Activate(); });
    } else if (window != m_subWindow && m_active) {
        m_active = false;
        platform::runReported([this] { Form_Deactivate(); });
    }
    if (window == m_subWindow) {
        takeFocus();
        showRowsThatCameBackWhenDue();
    }
}

void RecordWindow::rowsRestored(const QString& path, const QString& table, qint64 rowid) {
    if (m_closed || QFileInfo(path) != QFileInfo(shell::DatabasePath))
        return;
    m_rowsCameBack = true;
    m_cameBackTable = table;
    m_cameBackRow = rowid;
    showRowsThatCameBackWhenDue();
    // Shown after the row being typed is settled, the window keeps its place: a row
    // saved meanwhile stays on show.
    if (m_rowsCameBack && (!m_shutdownEnabled || holdsUnsavedRow()))
        m_cameBackTable.clear();
}

void RecordWindow::rowsAddedElsewhere(shell::MDIForm1& frame, const QString& path) {
    for (RecordWindow* window : frame.findChildren<RecordWindow*>())
        window->rowsRestored(path, QString(), 0);
}

std::optional<qint64> RecordWindow::currentPlace(const store::Recordset& rs) {
    try {
        if (!rs.isBOF() && !rs.isEOF())
            return rs.bookmark();
    } catch (const platform::AppError&) {
    }
    return std::nullopt;
}

void RecordWindow::landAfterComeBack(store::Recordset& rs, std::optional<qint64> place) const {
    const auto land = [&rs](qint64 mark) {
        try {
            rs.setBookmark(mark);
            return true;
        } catch (const platform::AppError&) {
            return false; // not a row of this list
        }
    };
    if (rs.tableName().compare(m_cameBackTable, Qt::CaseInsensitive) == 0 && land(m_cameBackRow))
        return;
    if (place)
        land(*place);
}

void RecordWindow::showRowsThatCameBackWhenDue() {
    if (!m_rowsCameBack || !m_active || m_closed || !m_shutdownEnabled || holdsUnsavedRow())
        return;
    m_rowsCameBack = false;
    platform::runReported([this] { showRowsThatCameBack(); });
}

void RecordWindow::takeFocus() {
    // Qt fires the buttons' access keys only in the sub-window that holds the focus, and
    // the MDI area does not always move it there. A focus the window chose is kept.
    if (isAncestorOf(QApplication::focusWidget()))
        return;
    const auto takes = [this](QWidget* widget, Qt::FocusPolicy how) {
        return widget && widget != this && isAncestorOf(widget) && widget->isVisible() &&
               widget->isEnabled() && (widget->focusPolicy() & how);
    };
    QWidget* target = m_lastFocus;
    if (!takes(target, Qt::ClickFocus) && !takes(target, Qt::TabFocus)) {
        target = nullptr;
        for (QWidget* next = nextInFocusChain(); next != this && !target;
             next = next->nextInFocusChain())
            if (takes(next, Qt::TabFocus))
                target = next;
    }
    if (target)
        target->setFocus(Qt::OtherFocusReason);
}

bool RecordWindow::isUsable(const QWidget* control) const {
    if (!control || !isAncestorOf(control) || !control->isVisible() || !control->isEnabled() ||
        !(control->focusPolicy() & Qt::TabFocus))
        return false;
    // Update and Cancel lie beneath Add and Edit: shown, enabled and out of reach.
    const QWidget* parent = control->parentWidget();
    const QWidget* onTop = parent->childAt(control->geometry().center());
    return onTop == control || control->isAncestorOf(onTop);
}

void RecordWindow::focusFirstUsable(std::initializer_list<QWidget*> candidates) {
    for (QWidget* candidate : candidates)
        if (isUsable(candidate)) {
            candidate->setFocus(Qt::OtherFocusReason);
            return;
        }
    QWidget* focus = QApplication::focusWidget();
    if (isUsable(focus))
        return;
    for (QWidget* next = nextInFocusChain(); next != this; next = next->nextInFocusChain())
        if (isUsable(next)) {
            next->setFocus(Qt::OtherFocusReason);
            return;
        }
}

void RecordWindow::placeInFrame(double widthTwips, double heightTwips) {
    QMdiSubWindow& sub = *m_subWindow;
    sub.resize(shell::twipsToPixels(widthTwips, &sub), shell::twipsToPixels(heightTwips, &sub));
    shell::modDrivolex::TrimSystemMenu(sub);
    shell::modAPIWrapr::HookWindow(&sub, shell::modAPIWrapr::kLockBoth);
    shell::modDrivolex::CenterForm(m_frame, *this);
}

void RecordWindow::Unload() {
    m_unloading = true;
    if (m_subWindow)
        m_subWindow->close(); // deletes the window once control returns to the event loop
    m_unloading = false;
}

void RecordWindow::closeEvent(QCloseEvent* event) {
    if (!m_unloading && !m_frame.isUnloading()) {
        event->ignore();
        return;
    }
    m_closed = true;
    platform::runReported([this] { Form_Unload(); });
    event->accept();
}

void RecordWindow::setControls(std::initializer_list<QWidget*> controls) {
    m_controls.clear();
    for (QWidget* control : controls)
        m_controls.append(control);
}

QList<QWidget*> RecordWindow::Controls() const {
    QList<QWidget*> controls;
    for (const QPointer<QWidget>& control : m_controls)
        controls.append(control.data());
    return controls;
}

void RecordWindow::DisableControls(bool flag) {
    shell::modDrivolex::DisableControls(Controls(), flag);
}

void RecordWindow::addDataControl(DataControl* source) {
    m_dataControls.append(source);
}

void RecordWindow::ShutdownEnabled(bool enabled) {
    m_shutdownEnabled = enabled;
    // One window leaving its add or edit must not unlock the program while another
    // window still holds an unsaved row: closing then would lose that row.
    bool anyEditing = !enabled;
    for (QMdiSubWindow* sub : m_frame.mdiArea()->subWindowList())
        if (const auto* other = qobject_cast<const RecordWindow*>(sub->widget()))
            anyEditing = anyEditing || !other->m_shutdownEnabled;
    m_frame.ShutdownEnabled(!anyEditing);
    // Leaving Add or Edit: rows that came back meanwhile are shown once the handler
    // that saved or cancelled is done.
    if (enabled && m_rowsCameBack)
        QTimer::singleShot(0, this, &RecordWindow::showRowsThatCameBackWhenDue);
}

void RecordWindow::showErrorBox(const platform::AppError& error) {
    platform::MsgBox(QStringLiteral("Error #") + QString::number(error.number()) +
                         QStringLiteral("\r\n") + error.text(),
                     platform::vbExclamation, QStringLiteral("Error"));
}

bool RecordWindow::confirmDelete(const QString& prompt) {
    return platform::MsgBox(prompt, platform::vbYesNo | platform::vbQuestion,
                            QStringLiteral("Delete Record?")) == platform::vbYes;
}

void RecordWindow::deleteCurrentRow(store::Recordset& rs) {
    rs.Delete();
    if (!rs.isBOF())
        rs.MovePrevious();
    if (!rs.isEOF() && rs.AbsolutePosition() == -1)
        rs.MoveNext();
}

void RecordWindow::showPosition(DataControl& source, const store::Recordset& rs) {
    source.setCaption(QStringLiteral("Record ") + QString::number(rs.AbsolutePosition() + 1) +
                      QStringLiteral(" of ") + QString::number(rs.RecordCount()));
}

QList<RecordWindow::ControlState> RecordWindow::captureState() const {
    QList<ControlState> state;
    for (const QPointer<QWidget>& control : m_controls)
        if (control)
            // A control's own settings, not what its container makes of them.
            state.append(
                {control, !control->isHidden(), !control->testAttribute(Qt::WA_ForceDisabled)});
    return state;
}

void RecordWindow::restoreState(const QList<ControlState>& state) {
    for (const ControlState& saved : state) {
        if (!saved.control)
            continue;
        saved.control->setEnabled(saved.enabled);
        saved.control->setVisible(saved.visible);
    }
}

void RecordWindow::runKeepingState(const std::function<void()>& handler) {
    const QList<ControlState> before = captureState();
    const bool shutdownEnabled = m_shutdownEnabled;
    try {
        handler();
    } catch (const platform::AppError& error) {
        restoreState(before);
        ShutdownEnabled(shutdownEnabled);
        showErrorBox(error);
        if (isRowDeletedElsewhere(error))
            showRemainingRows();
    }
}

bool RecordWindow::isRowDeletedElsewhere(const platform::AppError& error) {
    return error.number() == store::errRowDeletedElsewhere;
}

} // namespace records
