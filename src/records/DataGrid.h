#pragma once

#include "GridColumn.h"
#include "store/Recordset.h"

#include <QPersistentModelIndex>
#include <QTableView>
#include <limits>

namespace platform {
class AppError;
}

namespace records {

class DataControl;
class DataGrid;
class DataGridDelegate;
class RecordsetTableModel;

// Error numbers of the grid, so that handlers can recognise them.
enum DataGridError : int {
    errGridNoSuchRow = 6148,    // Row set to a row that is not visible in the grid
    errGridNoSuchColumn = 6149, // Col set to a column the grid does not have
};

// One column of a grid as its owner reads it.
class DataGridColumn {
public:
    DataGridColumn(const DataGrid* grid, int index) : m_grid(grid), m_index(index) {}
    // The cell's unformatted value in the row with this bookmark (the grid's
    // Bookmark for the row being added); a null QVariant for no value.
    QVariant CellValue(store::Bookmark bookmark) const;
    QString Caption() const;
    QString DataField() const;
    QString NumberFormat() const;

private:
    const DataGrid* m_grid;
    int m_index;
};

// A grid over the rows of a data source control: a header line of captions, a
// record selector before each row, scroll bars as needed, and an empty row at the
// end where typing starts a new row.
//
// Editing: a cell's new value goes into its row after BeforeColUpdate (which may
// refuse it); the row is written with the record set's Update when the user leaves
// the row or the grid. A row that took no value is dropped instead of stored. A
// typed value the field cannot hold, and a store error while writing the row, show
// the "Error #" box and keep the row in the grid, still pending, with the cursor on
// it for correction; rows already stored are untouched. Escape drops the pending
// row's changes. A row selected by its record selector is deleted with the Delete
// key, without a question.
//
// Keys: the arrow keys move between cells, wrapping at the ends of a row only
// with WrapCellPointer; Tab leaves the grid for the next control; KeyPress sees
// each character key, Enter (13) included, before the grid acts on it.
class DataGrid : public QTableView {
    Q_OBJECT
public:
    // The Bookmark of the row being added (and of the empty row for adding).
    static constexpr store::Bookmark NewRowBookmark = std::numeric_limits<qint64>::min();

    explicit DataGrid(QWidget* parent = nullptr);
    ~DataGrid() override;

    // Binds the grid to a data source; it follows the source's Refresh.
    void setDataSource(DataControl* source);
    DataControl* DataSource() const { return m_source; }

    // Adds a column and returns its index. An empty field makes an unbound
    // column, whose values come from setUnboundValue and cannot be typed.
    int addColumn(const QString& caption, const QString& dataField = QString(),
                  const QString& numberFormat = QString());
    void setUnboundValue(int column, UnboundValue value);
    DataGridColumn Columns(int index) const;
    int ColumnCount() const;

    void setAllowAddNew(bool allow);
    bool AllowAddNew() const;
    void setAllowUpdate(bool allow);
    bool AllowUpdate() const;
    void setAllowDelete(bool allow) { m_allowDelete = allow; }
    bool AllowDelete() const { return m_allowDelete; }
    void setWrapCellPointer(bool wrap) { m_wrapCellPointer = wrap; }
    bool WrapCellPointer() const { return m_wrapCellPointer; }

    // The current column; -1 with no current cell. Setting it past the columns
    // throws errGridNoSuchColumn.
    int Col() const;
    void setCol(int column);
    // The current row counted from the first visible row; -1 with no current cell.
    // Setting it to a row that is not visible throws errGridNoSuchRow.
    int Row() const;
    void setRow(int row);
    int VisibleRows() const;
    // The current row's bookmark; NewRowBookmark on the row being added or the
    // empty row; the store's "no current record" error with no current cell.
    store::Bookmark Bookmark() const;
    QVariant cellValue(int column, store::Bookmark bookmark) const;

    // In the Tab key order or not; the mouse and SetFocus reach the grid either way.
    void setTabStop(bool tabStop);
    bool TabStop() const;
    void SetFocus();

    // Writes the pending row now, as leaving it would; false (after the error box)
    // when the store refused it. True when no row was pending.
    bool commitPendingRow();

    RecordsetTableModel* recordsetModel() const { return m_model; }

signals:
    void GotFocus();
    void LostFocus();
    // The user started a new row; the data source's record set holds it (AddNew).
    void OnAddNew();
    // A cell's edited value is about to go into the row. Set cancel to refuse it;
    // the cell then shows oldValue, which the handler may change.
    void BeforeColUpdate(int column, QVariant& oldValue, bool& cancel);
    // A character key; set keyAscii to 0 to swallow it, or to another character.
    void KeyPress(int& keyAscii);
    // A row the user typed or changed went into the file.
    void AfterUpdate();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    friend class DataGridColumn;
    friend class DataGridDelegate;

    // Called by the delegate.
    void commitCell(const QModelIndex& index, const QVariant& typed);
    void editorTextEdited(const QModelIndex& index);
    bool editorKeyPress(QWidget* editor, QKeyEvent* event);

    // Emits KeyPress: 0 when the owner swallowed the key, else the code to use.
    int raiseKeyPress(int keyAscii);
    bool startNewRow();
    bool settlePendingRow();
    bool leaveRow(int targetRow);
    void commitOpenEditor();
    void deleteSelectedRows();
    void cancelPendingRow();
    void showStoreError(const platform::AppError& error) const;
    void focusMoved(QWidget* now);
    void sourceReplaced();
    void sourceRepositioned();
    void followSourceRow();
    void moveSourceToCurrentRow();
    int topVisibleRow() const;
    int lastVisibleRow() const;

    RecordsetTableModel* m_model;
    DataGridDelegate* m_delegate;
    DataControl* m_source = nullptr;
    bool m_allowDelete = true;
    bool m_wrapCellPointer = false;

    QPersistentModelIndex m_editing; // the cell whose editor is open
    // The value being committed, for CellValue while BeforeColUpdate runs.
    int m_inflightRow = -1;
    int m_inflightColumn = -1;
    QVariant m_inflightValue;
    bool m_committingCell = false;
    bool m_forwardingKey = false; // a key the grid passes on after KeyPress saw it
    bool m_cellRefused = false;   // the last typed value did not fit: stay on the row
    bool m_reverting = false;
    bool m_movingSource = false;
    bool m_focusWithin = false;
};

} // namespace records
