#pragma once

#include "GridColumn.h"
#include "store/Recordset.h"

#include <QAbstractTableModel>
#include <QList>
#include <memory>

namespace records {

class DataControl;

// A table model over the record set of a data source control. Rows are the set's
// rows in its order; they are read through a clone of the set, one row at a time
// as the view asks, so reading never moves the data source's current row and a
// large set is never copied. Editing goes through the data source's own record
// set (AddNew or Edit, then Update), so its bound controls and owners see it.
//
// After the stored rows come, in this order: the row being added (while one is
// pending) and the empty row for adding (when adding is allowed).
//
// The editing methods throw the store's platform::AppError and leave the model as
// it was; the QAbstractItemModel overrides never throw.
class RecordsetTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit RecordsetTableModel(QObject* parent = nullptr);
    ~RecordsetTableModel() override;

    // Reads the data source's record set afresh (after it was opened again).
    void setDataSource(DataControl* source);
    void reload();
    // True while the model still reads the record set the data source holds.
    bool isCurrentSource() const;
    // Takes in rows added or removed, or a pending row dropped, through the data
    // source's record set behind the model's back.
    void resync();

    int addColumn(const GridColumn& column);
    const GridColumn& column(int index) const { return m_columns[index]; }
    void setUnboundValue(int index, UnboundValue value);

    void setAllowAddNew(bool allow);
    bool allowAddNew() const { return m_allowAddNew; }
    void setAllowUpdate(bool allow) { m_allowUpdate = allow; }
    bool allowUpdate() const { return m_allowUpdate; }

    int storedRowCount() const { return m_storedRows; }
    bool isStoredRow(int row) const { return row >= 0 && row < m_storedRows; }
    bool isAddRow(int row) const;
    int pendingRow() const { return m_pendingRow; } // -1 when no row is pending
    bool isNewRowPending() const { return m_pendingRow >= 0 && m_pendingIsNew; }
    // Rows are being inserted or removed: views must not act on the cursor moves
    // that this makes.
    bool isRestructuring() const { return m_restructuring; }
    // A value went into the pending row since it was started.
    bool isPendingDirty() const { return m_pendingDirty; }

    store::Bookmark bookmarkAt(int row) const;     // a stored row's bookmark (3021 otherwise)
    int rowOfBookmark(store::Bookmark mark) const; // -1 when the set has no such row
    // A cell's unformatted value: a null QVariant for no value.
    QVariant value(int row, int column) const;
    // The text an editor starts with: the unformatted value as the store reads it back.
    QString editText(int row, int column) const;

    // Starts a new row in the data source's record set where the empty row is.
    void startNewRow();
    // Starts editing a stored row: the data source moves to it and edits it.
    void startEdit(int row);
    // Writes a value (typed text or a field value) into the pending row.
    void writeCell(int row, int column, const QVariant& value);
    // Stores the pending row (Update); on failure the row stays pending as it was.
    void commitPending();
    // Drops the pending row: a new row goes, a changed row shows its stored values.
    void cancelPending();
    // Deletes a stored row from the file and from the model.
    void deleteRow(int row);
    // Tells the views that a row's cells may show other values.
    void refreshRow(int row);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // A plain write into the row (started when needed); false when the value does
    // not fit. The grid's own editing goes through writeCell and its events.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

signals:
    // The pending row went into the file (commitPending's Update succeeded).
    void rowStored(int row);

private:
    store::Recordset* source() const;
    // The record set standing on a row: the reading clone for a stored row, the
    // data source's set for the pending row; nullptr for the empty row.
    const store::Recordset* rowReader(int row) const;
    const store::Recordset* seekStored(int position) const;
    void forgetReaderPosition() const { m_readerPosition = -1; }
    void clearPending();
    bool isCell(const QModelIndex& index) const;
    QVariant formatted(int row, int column) const;

    DataControl* m_source = nullptr;
    const store::Recordset* m_sourceSet = nullptr; // the set the reader was cloned from
    std::unique_ptr<store::Recordset> m_reader;
    mutable int m_readerPosition = -1;
    int m_storedRows = 0;
    int m_vanishedRow = -1; // a row deleted from the set but not yet from the views

    QList<GridColumn> m_columns;
    bool m_allowAddNew = true;
    bool m_allowUpdate = true;

    int m_pendingRow = -1;
    bool m_pendingIsNew = false;
    bool m_pendingDirty = false;
    bool m_restructuring = false;
};

} // namespace records
