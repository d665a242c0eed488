#include "ServiceHistoryModel.h"

#include "history/HistoryText.h"
#include "values/DateText.h"
#include "values/Format.h"

namespace historywindows {

ServiceHistoryModel::ServiceHistoryModel(QObject* parent) : QAbstractTableModel(parent) {}

void ServiceHistoryModel::show(const HistoryData* data, const history::DateRange& period,
                               const QString& search) {
    beginResetModel();
    m_data = data;
    m_rows.clear();
    const QString wanted = search.trimmed();
    if (data)
        for (std::size_t i = 0; i < data->orders.size(); ++i) {
            const history::WorkOrderSummary& order = data->orders[i];
            if (period.contains(order.date) &&
                (wanted.isEmpty() || order.searchText.contains(wanted, Qt::CaseInsensitive)))
                m_rows.push_back(i);
        }
    endResetModel();
}

const history::WorkOrderSummary& ServiceHistoryModel::orderAt(int row) const {
    return m_data->orders[m_rows[std::size_t(row)]];
}

int ServiceHistoryModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_rows.size());
}

int ServiceHistoryModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QString ServiceHistoryModel::caption(Column column) {
    switch (column) {
    case Date:
        return QStringLiteral("Date");
    case Miles:
        return QStringLiteral("Miles");
    case OrderNumber:
        return QStringLiteral("Order #");
    case Services:
        return QStringLiteral("Services");
    case Parts:
        return QStringLiteral("Parts");
    case PartsTotal:
        return QStringLiteral("Parts Total");
    case Notes:
        return QStringLiteral("Notes");
    case ColumnCount:
        break;
    }
    return QString();
}

QString ServiceHistoryModel::sampleText(Column column) {
    switch (column) {
    case Date:
        return QStringLiteral("12/28/2024");
    case Miles:
        return QStringLiteral("1234567");
    case OrderNumber:
        return QStringLiteral("Order #");
    case Services:
        return QStringLiteral("Oil Change, Tire Rotation, Brakes");
    case PartsTotal:
        return QStringLiteral("$12,345.67");
    case Notes:
        return QStringLiteral("Replaced the front pads and rotors");
    default:
        return caption(column);
    }
}

QVariant ServiceHistoryModel::data(const QModelIndex& index, int role) const {
    if (!m_data || !index.isValid() || index.row() >= rowCount())
        return {};
    const Column column = Column(index.column());
    if (role == Qt::TextAlignmentRole)
        return column == Services || column == Notes
                   ? QVariant()
                   : QVariant(int(Qt::AlignRight | Qt::AlignVCenter));
    const history::WorkOrderSummary& order = orderAt(index.row());
    // A long text cut off in its column is read whole in the tip.
    if (role == Qt::ToolTipRole)
        return column == Services ? order.services
               : column == Notes  ? order.noteFirstLine
                                  : QVariant();
    if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole)
        return {};
    switch (column) {
    // As the Service Records window shows them.
    case Date:
        return order.date.isValid() ? values::usDateText(order.date) : QString();
    case Miles:
        return order.miles ? QString::number(*order.miles) : QString();
    case OrderNumber:
        return values::Format(order.workOrderId, QStringLiteral("0000"));
    case Services:
        return order.services;
    case Parts:
        return QString::number(order.partsCount);
    case PartsTotal:
        return history::centsText(order.partsTotalCents);
    case Notes:
        return order.noteFirstLine;
    case ColumnCount:
        break;
    }
    return {};
}

QVariant ServiceHistoryModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal ||
        (role != Qt::DisplayRole && role != Qt::AccessibleTextRole))
        return QAbstractTableModel::headerData(section, orientation, role);
    return caption(Column(section));
}

} // namespace historywindows
