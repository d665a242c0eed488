#include "PreviewModel.h"

#include <QLocale>

namespace importwindows {

using importing::PlannedRow;
using importing::RowStatus;

PreviewModel::PreviewModel(QObject* parent) : QAbstractTableModel(parent) {}

void PreviewModel::setPlan(std::shared_ptr<importing::ImportPlan> plan) {
    beginResetModel();
    m_plan = std::move(plan);
    endResetModel();
}

int PreviewModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || !m_plan ? 0 : int(m_plan->rows.size());
}

int PreviewModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QString PreviewModel::statusText(RowStatus status) {
    switch (status) {
    case RowStatus::New:
        return QStringLiteral("New");
    case RowStatus::Duplicate:
        return QStringLiteral("Duplicate");
    case RowStatus::Refused:
        return QStringLiteral("Refused");
    }
    return {};
}

QString PreviewModel::remarksText(const PlannedRow& row) {
    QStringList parts;
    if (!row.reason.isEmpty())
        parts << row.reason;
    for (const QString& warning : row.warnings)
        parts << QStringLiteral("Warning: ") + warning;
    return parts.join(QLatin1String("; "));
}

QVariant PreviewModel::data(const QModelIndex& index, int role) const {
    if (!m_plan || !index.isValid() || index.row() >= int(m_plan->rows.size()))
        return {};
    const PlannedRow& row = m_plan->rows[size_t(index.row())];
    const bool refused = row.status == RowStatus::Refused;
    if (index.column() == Take) {
        if (role == Qt::CheckStateRole)
            return row.take && !refused ? Qt::Checked : Qt::Unchecked;
        // The tick's meaning, for a screen reader and for the tests.
        if (role == Qt::AccessibleTextRole)
            return row.take && !refused ? QStringLiteral("Import") : QStringLiteral("Skip");
        return {};
    }
    if (role == Qt::TextAlignmentRole && index.column() == Line)
        return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    // Long texts are cut at the column's edge: the tooltip gives them whole.
    if (role == Qt::ToolTipRole && index.column() == Remarks)
        return remarksText(row);
    if (role == Qt::ToolTipRole && index.column() == Becomes)
        return row.becomes;
    if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole)
        return {};
    switch (index.column()) {
    case Line:
        return row.line > 0 ? QString::number(row.line) : QString();
    case Status:
        return statusText(row.status);
    case Vehicle:
        return row.vehicle;
    case Becomes:
        return row.becomes;
    case Remarks:
        return remarksText(row);
    default:
        return {};
    }
}

bool PreviewModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!m_plan || index.column() != Take || role != Qt::CheckStateRole ||
        !(flags(index) & Qt::ItemIsUserCheckable))
        return false;
    PlannedRow& row = m_plan->rows[size_t(index.row())];
    const bool take = value.toInt() == Qt::Checked;
    if (row.take == take)
        return true;
    row.take = take;
    emit dataChanged(index, index, {Qt::CheckStateRole, Qt::AccessibleTextRole});
    emit takenChanged();
    return true;
}

Qt::ItemFlags PreviewModel::flags(const QModelIndex& index) const {
    if (!m_plan || !index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() == Take && m_plan->rows[size_t(index.row())].status != RowStatus::Refused)
        flags |= Qt::ItemIsUserCheckable;
    return flags;
}

QVariant PreviewModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case Take:
        return QStringLiteral("Import");
    case Line:
        return QStringLiteral("Line");
    case Status:
        return QStringLiteral("Status");
    case Vehicle:
        return QStringLiteral("Vehicle");
    case Becomes:
        return QStringLiteral("Becomes");
    case Remarks:
        return QStringLiteral("Reason or warning");
    default:
        return {};
    }
}

} // namespace importwindows
