#include "RecordsetTableModel.h"

#include "DataControl.h"
#include "platform/AppError.h"
#include "store/StoreErrors.h"
#include "store/ValueConversion.h"
#include "values/Format.h"

#include <QScopedValueRollback>
#include <cstdlib>

namespace records {

namespace {

// Record selector marks: the row being typed, and the empty row for adding.
const QString kPendingMark = QString(QChar(0x270E));
const QString kAddRowMark = QStringLiteral("*");

bool isNumeric(store::FieldType type) {
    switch (type) {
    case store::FieldType::Integer:
    case store::FieldType::Long:
    case store::FieldType::Currency:
    case store::FieldType::Single:
        return true;
    default:
        return false;
    }
}

} // namespace

RecordsetTableModel::RecordsetTableModel(QObject* parent) : QAbstractTableModel(parent) {}

RecordsetTableModel::~RecordsetTableModel() = default;

void RecordsetTableModel::setDataSource(DataControl* source) {
    m_source = source;
    reload();
}

store::Recordset* RecordsetTableModel::source() const {
    return m_source && m_source->isOpen() ? m_source->Recordset() : nullptr;
}

bool RecordsetTableModel::isCurrentSource() const {
    return source() == m_sourceSet;
}

void RecordsetTableModel::reload() {
    QScopedValueRollback restructuring(m_restructuring, true);
    beginResetModel();
    store::Recordset* set = source();
    m_sourceSet = set;
    m_reader = set ? set->Clone() : nullptr;
    forgetReaderPosition();
    m_storedRows = m_reader ? m_reader->RecordCount() : 0;
    m_vanishedRow = -1;
    m_pendingRow = -1;
    m_pendingIsNew = false;
    m_pendingDirty = false;
    endResetModel();
}

void RecordsetTableModel::resync() {
    if (!isCurrentSource() || (m_reader && m_reader->RecordCount() != m_storedRows))
        return reload();
    if (m_pendingRow >= 0 && source()->editMode() == store::EditMode::None)
        clearPending(); // the data source moved away from the row and dropped it
}

int RecordsetTableModel::addColumn(const GridColumn& column) {
    const int index = int(m_columns.size());
    beginInsertColumns(QModelIndex(), index, index);
    m_columns.append(column);
    endInsertColumns();
    return index;
}

void RecordsetTableModel::setUnboundValue(int index, UnboundValue value) {
    m_columns[index].unboundValue = std::move(value);
    if (m_storedRows > 0)
        emit dataChanged(this->index(0, index), this->index(rowCount() - 1, index));
}

void RecordsetTableModel::setAllowAddNew(bool allow) {
    if (allow == m_allowAddNew)
        return;
    QScopedValueRollback restructuring(m_restructuring, true);
    const int row = m_storedRows + (isNewRowPending() ? 1 : 0);
    if (allow) {
        beginInsertRows(QModelIndex(), row, row);
        m_allowAddNew = true;
        endInsertRows();
    } else {
        beginRemoveRows(QModelIndex(), row, row);
        m_allowAddNew = false;
        endRemoveRows();
    }
}

bool RecordsetTableModel::isAddRow(int row) const {
    return m_allowAddNew && m_sourceSet && row == rowCount() - 1;
}

// ---- reading

const store::Recordset* RecordsetTableModel::seekStored(int position) const {
    if (!m_reader || position < 0 || position >= m_reader->RecordCount())
        return nullptr;
    int at = m_readerPosition;
    if (at != position) {
        // Start from whichever of the first row, the last row and the row read
        // last lies nearest; painting reads row after row, so it is mostly a step.
        const int last = m_reader->RecordCount() - 1;
        if (at < 0 || position < std::abs(position - at)) {
            m_reader->MoveFirst();
            at = 0;
        }
        if (last - position < std::abs(position - at)) {
            m_reader->MoveLast();
            at = last;
        }
        for (; at < position; ++at)
            m_reader->MoveNext();
        for (; at > position; --at)
            m_reader->MovePrevious();
        m_readerPosition = position;
    }
    return m_reader.get();
}

const store::Recordset* RecordsetTableModel::rowReader(int row) const {
    if (row == m_pendingRow)
        return source();
    if (!isStoredRow(row))
        return nullptr;
    // While a deleted row is on its way out of the views, the rows after it have
    // already moved up one place in the set.
    if (m_vanishedRow >= 0 && row >= m_vanishedRow)
        return row == m_vanishedRow ? nullptr : seekStored(row - 1);
    return seekStored(row);
}

store::Bookmark RecordsetTableModel::bookmarkAt(int row) const {
    const store::Recordset* reader =
        isStoredRow(row) ? (row == m_pendingRow ? source() : rowReader(row)) : nullptr;
    if (!reader)
        throw platform::AppError(store::errNoCurrentRecord,
                                 QStringLiteral("The grid row %1 is not a stored row.").arg(row));
    return reader->bookmark();
}

int RecordsetTableModel::rowOfBookmark(store::Bookmark mark) const {
    if (!m_reader)
        return -1;
    try {
        m_reader->setBookmark(mark);
    } catch (const platform::AppError&) {
        forgetReaderPosition();
        return -1;
    }
    m_readerPosition = m_reader->AbsolutePosition();
    return m_readerPosition;
}

QVariant RecordsetTableModel::value(int row, int column) const {
    const store::Recordset* reader = rowReader(row);
    if (!reader)
        return QVariant();
    const GridColumn& col = m_columns[column];
    if (col.isBound())
        return reader->value(col.dataField);
    return col.unboundValue ? col.unboundValue(*reader) : QVariant();
}

QString RecordsetTableModel::editText(int row, int column) const {
    const GridColumn& col = m_columns[column];
    const QVariant cell = value(row, column);
    if (!col.isBound() || !m_reader)
        return cell.toString();
    store::FieldDef field(col.dataField, m_reader->fieldType(col.dataField));
    return store::displayText(field, cell);
}

QVariant RecordsetTableModel::formatted(int row, int column) const {
    const GridColumn& col = m_columns[column];
    if (!col.numberFormat.isEmpty())
        return values::Format(value(row, column), col.numberFormat);
    return editText(row, column);
}

// ---- editing

void RecordsetTableModel::startNewRow() {
    store::Recordset* set = source();
    if (!set || !m_allowAddNew || m_pendingRow >= 0)
        throw platform::AppError(store::errInvalidOperation,
                                 QStringLiteral("A new row cannot be started here."));
    set->AddNew();
    // The empty row becomes the row being added, and a new empty row follows it.
    const int row = m_storedRows;
    QScopedValueRollback restructuring(m_restructuring, true);
    beginInsertRows(QModelIndex(), row + 1, row + 1);
    m_pendingRow = row;
    m_pendingIsNew = true;
    m_pendingDirty = false;
    endInsertRows();
    emit headerDataChanged(Qt::Vertical, row, row);
    refreshRow(row);
}

void RecordsetTableModel::startEdit(int row) {
    store::Recordset* set = source();
    if (!set || !isStoredRow(row) || m_pendingRow >= 0)
        throw platform::AppError(store::errInvalidOperation,
                                 QStringLiteral("The grid row %1 cannot be edited now.").arg(row));
    set->setBookmark(bookmarkAt(row));
    set->Edit();
    m_pendingRow = row;
    m_pendingIsNew = false;
    m_pendingDirty = false;
    emit headerDataChanged(Qt::Vertical, row, row);
}

void RecordsetTableModel::writeCell(int row, int column, const QVariant& value) {
    const GridColumn& col = m_columns[column];
    if (row != m_pendingRow || !col.isBound())
        throw platform::AppError(store::errUpdateWithoutAddNew,
                                 QStringLiteral("The cell is not part of a row being edited."));
    source()->setValue(col.dataField, value); // throws before anything changes
    m_pendingDirty = true;
    refreshRow(row);
}

void RecordsetTableModel::commitPending() {
    if (m_pendingRow < 0)
        return;
    source()->Update(); // throws with the row still pending
    const int row = m_pendingRow;
    if (m_pendingIsNew)
        ++m_storedRows; // the stored row takes the place it was typed in
    m_pendingRow = -1;
    m_pendingIsNew = false;
    m_pendingDirty = false;
    forgetReaderPosition(); // the clone may hold the row's old values
    emit headerDataChanged(Qt::Vertical, row, row);
    refreshRow(row);
    emit rowStored(row);
}

void RecordsetTableModel::cancelPending() {
    if (m_pendingRow < 0)
        return;
    store::Recordset* set = source();
    if (set->editMode() != store::EditMode::None)
        set->CancelUpdate();
    clearPending();
}

void RecordsetTableModel::clearPending() {
    const int row = m_pendingRow;
    QScopedValueRollback restructuring(m_restructuring, true);
    if (m_pendingIsNew) {
        beginRemoveRows(QModelIndex(), row, row);
        m_pendingRow = -1;
        endRemoveRows();
    } else {
        m_pendingRow = -1;
        emit headerDataChanged(Qt::Vertical, row, row);
        refreshRow(row);
    }
    m_pendingIsNew = false;
    m_pendingDirty = false;
}

void RecordsetTableModel::deleteRow(int row) {
    if (row == m_pendingRow)
        cancelPending();
    if (!isStoredRow(row))
        return;
    if (m_pendingRow >= 0)
        commitPending();
    store::Recordset* set = source();
    set->setBookmark(bookmarkAt(row));
    set->Delete();
    forgetReaderPosition();
    QScopedValueRollback restructuring(m_restructuring, true);
    m_vanishedRow = row;
    beginRemoveRows(QModelIndex(), row, row);
    --m_storedRows;
    m_vanishedRow = -1;
    endRemoveRows();
}

void RecordsetTableModel::refreshRow(int row) {
    if (row >= 0 && row < rowCount() && columnCount() > 0)
        emit dataChanged(index(row, 0), index(row, columnCount() - 1));
}

// ---- the item model

bool RecordsetTableModel::isCell(const QModelIndex& index) const {
    return index.isValid() && index.model() == this && !index.parent().isValid() &&
           index.row() < rowCount() && index.column() < columnCount();
}

int RecordsetTableModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid() || !m_sourceSet)
        return 0;
    return m_storedRows + (isNewRowPending() ? 1 : 0) + (m_allowAddNew ? 1 : 0);
}

int RecordsetTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant RecordsetTableModel::data(const QModelIndex& index, int role) const {
    if (!isCell(index))
        return QVariant();
    try {
        switch (role) {
        case Qt::DisplayRole:
            return formatted(index.row(), index.column());
        case Qt::EditRole:
            return editText(index.row(), index.column());
        case Qt::TextAlignmentRole: {
            const GridColumn& col = m_columns[index.column()];
            const bool numeric = !col.isBound() || !m_reader
                                     ? !col.numberFormat.isEmpty()
                                     : isNumeric(m_reader->fieldType(col.dataField));
            return numeric ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant();
        }
        default:
            return QVariant();
        }
    } catch (const std::exception&) {
        // A row deleted through another program, or an owner's unbound value that
        // failed: the cell shows nothing rather than take the view down.
        forgetReaderPosition();
        return QVariant();
    }
}

QVariant RecordsetTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole)
        return QVariant();
    if (orientation == Qt::Horizontal)
        return section >= 0 && section < columnCount() ? m_columns[section].caption : QVariant();
    if (section == m_pendingRow)
        return kPendingMark;
    if (isAddRow(section))
        return kAddRowMark;
    return QString();
}

Qt::ItemFlags RecordsetTableModel::flags(const QModelIndex& index) const {
    if (!isCell(index))
        return Qt::NoItemFlags;
    Qt::ItemFlags result = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    const int row = index.row();
    const bool editableRow = isAddRow(row) || (row == m_pendingRow && m_pendingIsNew) ||
                             (isStoredRow(row) && m_allowUpdate);
    if (m_columns[index.column()].isBound() && editableRow)
        result |= Qt::ItemIsEditable;
    return result;
}

bool RecordsetTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable))
        return false;
    try {
        const int row = index.row();
        if (row != m_pendingRow) {
            if (m_pendingRow >= 0)
                return false; // another row is being edited
            if (isAddRow(row))
                startNewRow();
            else
                startEdit(row);
        }
        writeCell(row, index.column(), value);
        return true;
    } catch (const platform::AppError&) {
        return false;
    }
}

} // namespace records
