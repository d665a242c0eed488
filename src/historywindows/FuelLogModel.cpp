#include "FuelLogModel.h"

#include "history/HistoryText.h"
#include "values/DateText.h"
#include "values/Format.h"
#include "values/NumberText.h"

#include <algorithm>

namespace historywindows {

namespace {

std::optional<double> pricePerGallon(const history::FuelFill& fill) {
    if (!fill.cost || !fill.gallons || *fill.gallons <= 0)
        return std::nullopt;
    return fill.cost->toDouble() / double(*fill.gallons);
}

QString singleText(const std::optional<float>& value) {
    return value ? values::shortestFixedText(*value) : QString();
}

} // namespace

FuelLogModel::FuelLogModel(QObject* parent) : QAbstractTableModel(parent) {}

void FuelLogModel::show(const HistoryData* data, const history::DateRange& period,
                        QHash<qint64, QString> vehicleNames) {
    beginResetModel();
    m_data = data;
    m_vehicleNames = std::move(vehicleNames);
    m_showVehicle = data && !data->vehicleId;
    m_rows.clear();
    if (data) {
        m_rows.reserve(data->fills.size());
        const bool allTime = period.isAllTime();
        for (std::size_t i = 0; i < data->fills.size(); ++i)
            if (allTime || period.contains(data->fills[i].date))
                m_rows.push_back(i);
    }
    applySort();
    endResetModel();
}

void FuelLogModel::economyChanged() {
    if (m_rows.empty())
        return;
    emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

FuelLogModel::Column FuelLogModel::columnAt(int viewColumn) const {
    return Column(m_showVehicle ? viewColumn : viewColumn + 1);
}

int FuelLogModel::viewColumnOf(Column column) const {
    return m_showVehicle ? int(column) : int(column) - 1;
}

const history::FuelFill& FuelLogModel::fillAt(int row) const {
    return m_data->fills[m_rows[std::size_t(row)]];
}

int FuelLogModel::rowOfFuelId(qint64 fuelId) const {
    for (std::size_t row = 0; row < m_rows.size(); ++row)
        if (m_data->fills[m_rows[row]].fuelId == fuelId)
            return int(row);
    return -1;
}

int FuelLogModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_rows.size());
}

int FuelLogModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : (m_showVehicle ? ColumnCount : ColumnCount - 1);
}

QString FuelLogModel::caption(Column column) {
    switch (column) {
    case Vehicle:
        return QStringLiteral("Vehicle");
    case Date:
        return QStringLiteral("Date");
    case Odometer:
        return QStringLiteral("Odometer");
    case Distance:
        return QStringLiteral("Distance");
    case Gallons:
        return QStringLiteral("Gallons");
    case Full:
        return QStringLiteral("Full");
    case Missed:
        return QStringLiteral("Missed");
    case Cost:
        return QStringLiteral("Cost");
    case PricePerGallon:
        return QStringLiteral("Price/Gal");
    case Mpg:
        return QStringLiteral("MPG");
    case City:
        return QStringLiteral("City");
    case State:
        return QStringLiteral("State");
    case ColumnCount:
        break;
    }
    return QString();
}

QString FuelLogModel::sampleText(Column column) {
    switch (column) {
    case Vehicle:
        return QStringLiteral("Family Wagon 2019");
    case Date:
        return QStringLiteral("12/28/2024");
    case Odometer:
        return QStringLiteral("1234567.8");
    case Distance:
        return QStringLiteral("12345.6");
    case Gallons:
        return QStringLiteral("123.456");
    case Cost:
        return QStringLiteral("$1234.56");
    case PricePerGallon:
        return QStringLiteral("$12.345");
    case Mpg:
        return QStringLiteral("123.45");
    case City:
        return QStringLiteral("San Francisco");
    default:
        return caption(column);
    }
}

QString FuelLogModel::text(std::size_t i, Column column) const {
    const history::FuelFill& fill = m_data->fills[i];
    const history::FillEconomy& economy = m_data->economy[i];
    switch (column) {
    case Vehicle:
        return m_vehicleNames.value(fill.vehicleId);
    // As the Gas Purchases window shows them: the entry boxes' forms and patterns.
    case Date:
        return fill.date.isValid() ? values::usDateText(fill.date) : QString();
    case Odometer:
        return singleText(fill.odometer);
    case Distance:
        return singleText(economy.distance);
    case Gallons:
        return singleText(fill.gallons);
    case Cost:
        return fill.cost ? values::Format(QVariant::fromValue(*fill.cost), QStringLiteral("$##.00"))
                         : QString();
    case PricePerGallon:
        return history::perUnitMoneyText(pricePerGallon(fill));
    case Mpg:
        return economy.tank && economy.tank->mpg ? history::mpgText(double(*economy.tank->mpg))
                                                 : QString();
    case City:
        return fill.city;
    case State:
        return fill.state;
    default:
        return QString();
    }
}

QVariant FuelLogModel::data(const QModelIndex& index, int role) const {
    if (!m_data || !index.isValid() || index.row() >= rowCount())
        return {};
    const std::size_t i = m_rows[std::size_t(index.row())];
    const Column column = columnAt(index.column());
    const history::FuelFill& fill = m_data->fills[i];
    if (column == Full || column == Missed) {
        const bool on = column == Full ? fill.full : fill.missed;
        if (role == Qt::CheckStateRole)
            return on ? Qt::Checked : Qt::Unchecked;
        if (role == Qt::AccessibleTextRole)
            return on ? QStringLiteral("Yes") : QStringLiteral("No");
        return {};
    }
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole)
        return text(i, column);
    if (role == Qt::TextAlignmentRole && column != Vehicle && column != City && column != State)
        return int(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

QVariant FuelLogModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal ||
        (role != Qt::DisplayRole && role != Qt::AccessibleTextRole))
        return QAbstractTableModel::headerData(section, orientation, role);
    return caption(columnAt(section));
}

Qt::ItemFlags FuelLogModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.isValid() && columnAt(index.column()) == Missed)
        flags |= Qt::ItemIsUserCheckable;
    return flags;
}

bool FuelLogModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!m_data || role != Qt::CheckStateRole || !index.isValid() ||
        columnAt(index.column()) != Missed || !m_writeMissed)
        return false;
    const std::size_t i = m_rows[std::size_t(index.row())];
    const bool missed = value.toInt() == Qt::Checked;
    if (m_data->fills[i].missed == missed)
        return true;
    if (!m_writeMissed(i, missed))
        return false;
    economyChanged(); // the marks change the MPG of later rows too
    return true;
}

void FuelLogModel::sort(int column, Qt::SortOrder order) {
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    m_sortColumn = column < 0 ? -1 : int(columnAt(column));
    m_sortOrder = order;
    applySort();
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

// Ordered on the stored values, not on their texts; rows without a value come
// first going up. Ties keep the history's date-then-odometer order.
void FuelLogModel::applySort() {
    if (!m_data || m_sortColumn < 0)
        return;
    const history::FuelFills& fills = m_data->fills;
    const auto& economy = m_data->economy;
    // Back to the history's own order, which is by date already, ties by odometer.
    if (!std::is_sorted(m_rows.begin(), m_rows.end()))
        std::sort(m_rows.begin(), m_rows.end());
    if (m_sortColumn == Date && m_sortOrder == Qt::AscendingOrder)
        return;
    const auto number = [&](std::size_t i) -> std::optional<double> {
        const history::FuelFill& fill = fills[i];
        switch (Column(m_sortColumn)) {
        case Date:
            return fill.date.isValid() ? std::optional<double>(double(fill.date.toSecsSinceEpoch()))
                                       : std::nullopt;
        case Odometer:
            return fill.odometer ? std::optional<double>(*fill.odometer) : std::nullopt;
        case Distance:
            return economy[i].distance ? std::optional<double>(*economy[i].distance) : std::nullopt;
        case Gallons:
            return fill.gallons ? std::optional<double>(*fill.gallons) : std::nullopt;
        case Full:
            return fill.full ? 1.0 : 0.0;
        case Missed:
            return fill.missed ? 1.0 : 0.0;
        case Cost:
            return fill.cost ? std::optional<double>(double(fill.cost->scaled)) : std::nullopt;
        case PricePerGallon:
            return pricePerGallon(fill);
        case Mpg:
            return economy[i].tank && economy[i].tank->mpg
                       ? std::optional<double>(*economy[i].tank->mpg)
                       : std::nullopt;
        default:
            return std::nullopt;
        }
    };
    const Column column = Column(m_sortColumn);
    const bool textual = column == Vehicle || column == City || column == State;
    const bool up = m_sortOrder == Qt::AscendingOrder;
    if (textual) {
        const auto key = [&](std::size_t i) -> const QString& {
            static const QString none;
            if (column == Vehicle) {
                auto found = m_vehicleNames.constFind(fills[i].vehicleId);
                return found == m_vehicleNames.constEnd() ? none : *found;
            }
            return column == City ? fills[i].city : fills[i].state;
        };
        std::stable_sort(m_rows.begin(), m_rows.end(), [&](std::size_t a, std::size_t b) {
            const int c = key(a).compare(key(b), Qt::CaseInsensitive);
            return up ? c < 0 : c > 0;
        });
        return;
    }
    // The keys once, not in every comparison.
    std::vector<std::pair<std::optional<double>, std::size_t>> keyed;
    keyed.reserve(m_rows.size());
    for (std::size_t i : m_rows)
        keyed.emplace_back(number(i), i);
    std::stable_sort(keyed.begin(), keyed.end(), [up](const auto& a, const auto& b) {
        return up ? a.first < b.first : b.first < a.first;
    });
    for (std::size_t r = 0; r < keyed.size(); ++r)
        m_rows[r] = keyed[r].second;
}

} // namespace historywindows
