#include "DataGrid.h"

#include "DataControl.h"
#include "DataGridDelegate.h"
#include "RecordsetTableModel.h"
#include "platform/AppError.h"
#include "platform/ErrorReporting.h"
#include "platform/MsgBox.h"
#include "store/StoreErrors.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QScopedValueRollback>
#include <algorithm>
#include <functional>
#include <utility>

namespace records {

namespace {

constexpr int kNoKey = -1;

// The character code of a key as the grid's KeyPress event gives it, or kNoKey for
// keys that are no character (arrows, Delete, Tab).
int keyAsciiOf(const QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Escape:
        return 27;
    case Qt::Key_Backspace:
        return 8;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Delete:
        return kNoKey;
    default:
        break;
    }
    const QString text = event->text();
    if (text.size() != 1 || text.at(0).unicode() < 0x20 || text.at(0).unicode() == 0x7f)
        return kNoKey;
    return text.at(0).unicode();
}

// A key event for a character the owner's KeyPress handler put in place of the typed one.
QKeyEvent replacementKey(const QKeyEvent* original, int keyAscii) {
    const QChar character(keyAscii);
    int key = character.toUpper().unicode();
    if (keyAscii == 13)
        key = Qt::Key_Return;
    else if (keyAscii == 27)
        key = Qt::Key_Escape;
    else if (keyAscii == 8)
        key = Qt::Key_Backspace;
    return QKeyEvent(original->type(), key, original->modifiers(), QString(character));
}

// Runs an owner's event handler; an error it lets out is shown, as for any handler
// without a trap of its own. False when the handler failed.
bool runHandler(const std::function<void()>& handler) {
    bool ok = true;
    platform::runReported([&] {
        try {
            handler();
        } catch (...) {
            ok = false;
            throw;
        }
    });
    return ok;
}

} // namespace

// ---- columns

QVariant DataGridColumn::CellValue(store::Bookmark bookmark) const {
    return m_grid->cellValue(m_index, bookmark);
}

QString DataGridColumn::Caption() const {
    return m_grid->m_model->column(m_index).caption;
}

QString DataGridColumn::DataField() const {
    return m_grid->m_model->column(m_index).dataField;
}

QString DataGridColumn::NumberFormat() const {
    return m_grid->m_model->column(m_index).numberFormat;
}

// ---- setting up

DataGrid::DataGrid(QWidget* parent)
    : QTableView(parent), m_model(new RecordsetTableModel(this)),
      m_delegate(new DataGridDelegate(this)) {
    setModel(m_model);
    setItemDelegate(m_delegate);
    setTabKeyNavigation(false); // Tab leaves the grid
    setSelectionBehavior(SelectItems);
    setSelectionMode(ExtendedSelection); // record selectors pick whole rows
    setEditTriggers(AnyKeyPressed | DoubleClicked | EditKeyPressed);
    setFocusPolicy(Qt::StrongFocus);
    horizontalHeader()->setVisible(true);
    verticalHeader()->setVisible(true);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumWidth(fontMetrics().height()); // room for the row marks
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget*, QWidget* now) { focusMoved(now); });
    connect(m_model, &RecordsetTableModel::rowStored, this,
            [this] { runHandler([this] { emit AfterUpdate(); }); });
}

DataGrid::~DataGrid() {
    disconnect(qApp, &QApplication::focusChanged, this, nullptr);
}

void DataGrid::setDataSource(DataControl* source) {
    if (m_source)
        disconnect(m_source, nullptr, this, nullptr);
    m_source = source;
    if (m_source) {
        connect(m_source, &DataControl::recordsetReplaced, this, [this] { sourceReplaced(); });
        connect(m_source, &DataControl::Reposition, this, [this] { sourceRepositioned(); });
    }
    m_model->setDataSource(source);
    followSourceRow();
}

int DataGrid::addColumn(const QString& caption, const QString& dataField,
                        const QString& numberFormat) {
    return m_model->addColumn(GridColumn{caption, dataField, numberFormat, {}});
}

void DataGrid::setUnboundValue(int column, UnboundValue value) {
    m_model->setUnboundValue(column, std::move(value));
}

DataGridColumn DataGrid::Columns(int index) const {
    if (index < 0 || index >= ColumnCount())
        throw platform::AppError(errGridNoSuchColumn,
                                 QStringLiteral("The grid has no column %1.").arg(index));
    return DataGridColumn(this, index);
}

int DataGrid::ColumnCount() const {
    return m_model->columnCount();
}

void DataGrid::setAllowAddNew(bool allow) {
    m_model->setAllowAddNew(allow);
}

bool DataGrid::AllowAddNew() const {
    return m_model->allowAddNew();
}

void DataGrid::setAllowUpdate(bool allow) {
    m_model->setAllowUpdate(allow);
}

bool DataGrid::AllowUpdate() const {
    return m_model->allowUpdate();
}

// ---- current cell

int DataGrid::Col() const {
    return currentIndex().isValid() ? currentIndex().column() : -1;
}

void DataGrid::setCol(int column) {
    if (column < 0 || column >= ColumnCount())
        throw platform::AppError(errGridNoSuchColumn,
                                 QStringLiteral("The grid has no column %1.").arg(column));
    if (m_model->rowCount() == 0)
        throw platform::AppError(errGridNoSuchRow, QStringLiteral("The grid has no rows."));
    const int row = currentIndex().isValid() ? currentIndex().row() : 0;
    setCurrentIndex(m_model->index(row, column));
}

int DataGrid::topVisibleRow() const {
    const int top = rowAt(0);
    if (top >= 0)
        return top;
    return m_model->rowCount() > 0 ? 0 : -1;
}

int DataGrid::lastVisibleRow() const {
    // Only whole rows count: moving to a row cut off at the bottom would scroll.
    const int height = viewport()->height();
    int bottom = rowAt(height - 1);
    if (bottom < 0)
        return m_model->rowCount() - 1;
    if (rowViewportPosition(bottom) + rowHeight(bottom) > height && bottom > topVisibleRow())
        --bottom;
    return bottom;
}

int DataGrid::VisibleRows() const {
    const int top = topVisibleRow();
    return top < 0 ? 0 : lastVisibleRow() - top + 1;
}

int DataGrid::Row() const {
    if (!currentIndex().isValid())
        return -1;
    return currentIndex().row() - std::max(topVisibleRow(), 0);
}

void DataGrid::setRow(int row) {
    const int top = topVisibleRow();
    if (row < 0 || top < 0 || top + row > lastVisibleRow())
        throw platform::AppError(
            errGridNoSuchRow, QStringLiteral("Row %1 is not a visible row of the grid.").arg(row));
    setCurrentIndex(m_model->index(top + row, std::max(Col(), 0)));
}

store::Bookmark DataGrid::Bookmark() const {
    // While a typed value is on its way into a row, that row is the grid's row.
    const int row =
        m_inflightRow >= 0 ? m_inflightRow : (currentIndex().isValid() ? currentIndex().row() : -1);
    if (row < 0)
        throw platform::AppError(store::errNoCurrentRecord,
                                 QStringLiteral("The grid has no current row."));
    return m_model->isStoredRow(row) ? m_model->bookmarkAt(row) : NewRowBookmark;
}

QVariant DataGrid::cellValue(int column, store::Bookmark bookmark) const {
    if (column < 0 || column >= ColumnCount())
        throw platform::AppError(errGridNoSuchColumn,
                                 QStringLiteral("The grid has no column %1.").arg(column));
    int row = -1;
    if (bookmark == NewRowBookmark) {
        row = m_model->isNewRowPending() ? m_model->pendingRow() : -1;
    } else {
        row = m_model->rowOfBookmark(bookmark);
        if (row < 0)
            throw platform::AppError(store::errInvalidBookmark,
                                     QStringLiteral("The bookmark names no row of the grid."));
    }
    if (row >= 0 && row == m_inflightRow && column == m_inflightColumn)
        return m_inflightValue;
    return row < 0 ? QVariant() : m_model->value(row, column);
}

// ---- focus

void DataGrid::setTabStop(bool tabStop) {
    setFocusPolicy(tabStop ? Qt::StrongFocus : Qt::ClickFocus);
}

bool DataGrid::TabStop() const {
    return focusPolicy() & Qt::TabFocus;
}

void DataGrid::SetFocus() {
    setFocus(Qt::OtherFocusReason);
}

void DataGrid::focusMoved(QWidget* now) {
    // A message box or another window taking the focus is no move inside the window.
    if (!now || now->window() != window())
        return;
    const bool inside = now == this || isAncestorOf(now);
    if (inside == m_focusWithin)
        return;
    m_focusWithin = inside;
    if (inside) {
        runHandler([this] { emit GotFocus(); });
        return;
    }
    // A value that did not fit keeps its row pending for correction.
    if (!std::exchange(m_cellRefused, false))
        settlePendingRow();
    runHandler([this] { emit LostFocus(); });
}

// ---- rows

void DataGrid::showStoreError(const platform::AppError& error) const {
    platform::MsgBox(QStringLiteral("Error #") + QString::number(error.number()) +
                         QStringLiteral("\r\n") + error.text(),
                     platform::vbExclamation, QStringLiteral("Error"));
}

bool DataGrid::settlePendingRow() {
    if (m_model->pendingRow() < 0)
        return true;
    try {
        // A row that took no value is dropped rather than stored empty.
        if (!m_model->isPendingDirty())
            m_model->cancelPending();
        else
            m_model->commitPending();
        return true;
    } catch (const platform::AppError& error) {
        showStoreError(error);
        return false;
    }
}

bool DataGrid::commitPendingRow() {
    m_cellRefused = false;
    commitOpenEditor();
    if (std::exchange(m_cellRefused, false))
        return false; // the typed value did not fit: the row stays for correction
    return settlePendingRow();
}

void DataGrid::commitOpenEditor() {
    if (!m_editing.isValid())
        return;
    if (QWidget* editor = indexWidget(m_editing)) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

void DataGrid::cancelPendingRow() {
    try {
        m_model->cancelPending();
    } catch (const platform::AppError& error) {
        showStoreError(error);
    }
}

bool DataGrid::startNewRow() {
    if (m_model->isNewRowPending())
        return true;
    if (!settlePendingRow())
        return false;
    try {
        m_model->startNewRow();
    } catch (const platform::AppError& error) {
        showStoreError(error);
        return false;
    }
    runHandler([this] { emit OnAddNew(); });
    return true;
}

void DataGrid::deleteSelectedRows() {
    QList<int> rows;
    for (const QModelIndex& index : selectionModel()->selectedRows())
        rows << index.row();
    std::sort(rows.begin(), rows.end(), std::greater<int>());
    {
        QScopedValueRollback moving(m_movingSource, true);
        for (int row : rows) {
            if (m_model->isAddRow(row))
                continue;
            try {
                m_model->deleteRow(row);
            } catch (const platform::AppError& error) {
                showStoreError(error);
                break;
            }
        }
    }
    clearSelection();
    moveSourceToCurrentRow(); // after Delete the source has no current row
}

// ---- editing

bool DataGrid::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
    const bool opened = QTableView::edit(index, trigger, event);
    if (opened)
        m_editing = index;
    return opened;
}

void DataGrid::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    QTableView::closeEditor(editor, hint);
    if (state() != EditingState)
        m_editing = QPersistentModelIndex();
}

void DataGrid::editorTextEdited(const QModelIndex& index) {
    if (m_model->isAddRow(index.row()))
        startNewRow(); // the first keystroke in the empty row starts the new row
}

void DataGrid::commitCell(const QModelIndex& index, const QVariant& typed) {
    if (m_committingCell || !index.isValid() || !m_model->column(index.column()).isBound())
        return;
    QScopedValueRollback committing(m_committingCell, true);
    QScopedValueRollback moving(m_movingSource, true); // starting an edit moves the source
    const int column = index.column();
    int row = index.row();
    const QString text = typed.toString();
    try {
        if (m_model->isAddRow(row)) {
            if (text.isEmpty() || !startNewRow())
                return;
            row = m_model->pendingRow();
        } else if (text == m_model->editText(row, column)) {
            return; // unchanged: no event, nothing written
        }
        if (m_model->pendingRow() != row) {
            if (!settlePendingRow()) {
                m_cellRefused = true;
                return;
            }
            m_model->startEdit(row);
        }

        const QVariant original = m_model->value(row, column);
        QVariant oldValue = original;
        bool cancel = false;
        m_inflightRow = row;
        m_inflightColumn = column;
        m_inflightValue = text;
        const bool handled = runHandler([&] { emit BeforeColUpdate(column, oldValue, cancel); });
        m_inflightRow = m_inflightColumn = -1;
        m_inflightValue.clear();

        if (cancel || !handled) {
            // Refused: the cell shows the old value, which the handler may have changed;
            // a changed one goes into the row so that what shows is what is stored.
            if (handled && oldValue != original) {
                try {
                    m_model->writeCell(row, column, oldValue);
                } catch (const platform::AppError&) {
                    // an old value the field cannot hold: the cell keeps its value
                }
            }
            m_model->refreshRow(row);
            return;
        }
        m_model->writeCell(row, column, text);
    } catch (const platform::AppError& error) {
        m_inflightRow = m_inflightColumn = -1;
        m_inflightValue.clear();
        m_cellRefused = true;
        showStoreError(error);
    }
}

// ---- keys and moves

int DataGrid::raiseKeyPress(int keyAscii) {
    runHandler([&] { emit KeyPress(keyAscii); });
    return keyAscii;
}

bool DataGrid::editorKeyPress(QWidget* editor, QKeyEvent* event) {
    if (m_forwardingKey)
        return false; // the key that opened the editor, already seen by KeyPress
    if (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab) {
        commitOpenEditor();
        focusNextPrevChild(event->key() == Qt::Key_Tab);
        return true;
    }
    const int typed = keyAsciiOf(event);
    if (typed == kNoKey)
        return false;
    const int keyAscii = raiseKeyPress(typed);
    if (keyAscii == 0 || indexWidget(m_editing) != editor)
        return true; // swallowed, or the handler moved on and closed the editor
    if (keyAscii == 13) {
        // Enter stores the cell at once and stays on it; a value that did not fit
        // was shown in its box and the user is still on the row to correct it.
        commitOpenEditor();
        m_cellRefused = false;
        return true;
    }
    if (keyAscii != typed) {
        QKeyEvent replacement = replacementKey(event, keyAscii);
        QScopedValueRollback forwarding(m_forwardingKey, true);
        QCoreApplication::sendEvent(editor, &replacement);
        return true;
    }
    return false; // the editor's own handling (Escape drops the cell's edit)
}

void DataGrid::keyPressEvent(QKeyEvent* event) {
    m_cellRefused = false; // a refusal the user has seen before this key counts no more
    const int typed = keyAsciiOf(event);
    const int keyAscii = typed == kNoKey ? kNoKey : raiseKeyPress(typed);
    event->accept();
    if (keyAscii == 0)
        return;
    switch (keyAscii) {
    case 13:
        return; // Enter moves nowhere by itself; the owner's KeyPress may move the cell
    case 27:
        return cancelPendingRow();
    default:
        break;
    }
    if (event->key() == Qt::Key_Delete && m_allowDelete && state() != EditingState &&
        !selectionModel()->selectedRows().isEmpty())
        return deleteSelectedRows();

    QScopedValueRollback forwarding(m_forwardingKey, true);
    if (keyAscii != typed) {
        QKeyEvent replacement = replacementKey(event, keyAscii);
        QTableView::keyPressEvent(&replacement);
        return;
    }
    QTableView::keyPressEvent(event);
}

QModelIndex DataGrid::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
    const QModelIndex current = currentIndex();
    if (m_wrapCellPointer && current.isValid()) {
        const int lastColumn = ColumnCount() - 1;
        if (action == MoveRight && current.column() == lastColumn &&
            current.row() + 1 < m_model->rowCount())
            return m_model->index(current.row() + 1, 0);
        if (action == MoveLeft && current.column() == 0 && current.row() > 0)
            return m_model->index(current.row() - 1, lastColumn);
    }
    return QTableView::moveCursor(action, modifiers);
}

void DataGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous); // stores an open editor's value first
    // While rows come and go, the row under the cursor is the model's business.
    if (m_reverting || m_model->isRestructuring())
        return;
    const bool refused = std::exchange(m_cellRefused, false);
    const int pending = m_model->pendingRow();
    const QModelIndex now = currentIndex();
    if (pending >= 0 && now.isValid() && now.row() != pending) {
        // Leaving the pending row writes it; when it cannot be written (or a value
        // typed in it did not fit) the cursor stays on it for correction.
        if (refused || !settlePendingRow()) {
            QScopedValueRollback reverting(m_reverting, true);
            const int column = previous.isValid() ? previous.column() : std::max(now.column(), 0);
            selectionModel()->setCurrentIndex(m_model->index(m_model->pendingRow(), column),
                                              QItemSelectionModel::ClearAndSelect);
            return;
        }
    }
    if (!previous.isValid() || previous.row() != currentIndex().row())
        moveSourceToCurrentRow();
}

void DataGrid::moveSourceToCurrentRow() {
    // The data source stands on the grid's row, as its owner expects.
    const QModelIndex current = currentIndex();
    if (m_movingSource || !current.isValid() || !m_model->isStoredRow(current.row()) ||
        m_model->pendingRow() >= 0 || !m_model->isCurrentSource())
        return;
    QScopedValueRollback moving(m_movingSource, true);
    try {
        m_source->Recordset()->setBookmark(m_model->bookmarkAt(current.row()));
    } catch (const platform::AppError&) {
        // a row deleted elsewhere: the source keeps its row
    }
}

// ---- the data source

void DataGrid::sourceReplaced() {
    m_model->reload();
    followSourceRow();
}

void DataGrid::sourceRepositioned() {
    if (m_movingSource || !m_model->isCurrentSource())
        return; // our own move, or a new record set whose replacement signal follows
    m_model->resync();
    followSourceRow();
}

void DataGrid::followSourceRow() {
    if (!m_source || !m_source->isOpen() || m_model->pendingRow() >= 0 ||
        !m_model->isCurrentSource())
        return;
    const store::Recordset* set = m_source->Recordset();
    const int row = set->AbsolutePosition();
    const int column = std::max(Col(), 0);
    if (row < 0 || ColumnCount() == 0 || (currentIndex().isValid() && currentIndex().row() == row))
        return;
    QScopedValueRollback moving(m_movingSource, true);
    setCurrentIndex(m_model->index(row, column));
}

} // namespace records
