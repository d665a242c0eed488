#pragma once

#include "HistoryData.h"
#include "history/Period.h"

#include <QAbstractTableModel>
#include <QHash>
#include <functional>
#include <vector>

namespace historywindows {

// The Fuel Log: one row per fill of the period, over the data the window read
// once (nothing is copied; texts are made for the rows on show only). Sorting
// orders a list of row numbers on the stored values, so it stays quick on a
// lifetime of fills. With every vehicle listed, a first column names the vehicle.
class FuelLogModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column {
        Vehicle,
        Date,
        Odometer,
        Distance,
        Gallons,
        Full,
        Missed,
        Cost,
        PricePerGallon,
        Mpg,
        City,
        State,
        ColumnCount
    };

    // Writes a missed mark (fill index, new state); false when it was refused, and
    // the tick stays as it was.
    using MissedWriter = std::function<bool(std::size_t fillIndex, bool missed)>;

    explicit FuelLogModel(QObject* parent = nullptr);

    // Shows the fills of data in the period; data outlives the model's use of it.
    void show(const HistoryData* data, const history::DateRange& period,
              QHash<qint64, QString> vehicleNames);
    // The same rows in a copy of the data: order, sort and texts stay.
    void rebind(const HistoryData* data) { m_data = data; }
    void setMissedWriter(MissedWriter writer) { m_writeMissed = std::move(writer); }
    // The economy of the data changed (a mark was set): the MPG and Missed cells.
    void economyChanged();

    // The column shown at a view column, and back: the Vehicle column is there only
    // with every vehicle listed.
    Column columnAt(int viewColumn) const;
    int viewColumnOf(Column column) const;
    // The fill shown on a row.
    const history::FuelFill& fillAt(int row) const;
    // The column the rows are sorted on (none: -1), and which way.
    int sortedColumn() const { return m_sortColumn; }
    Qt::SortOrder sortOrder() const { return m_sortOrder; }
    int rowOfFuelId(qint64 fuelId) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    void sort(int column, Qt::SortOrder order) override;

    static QString caption(Column column);
    // The widest text a column shows, for its width.
    static QString sampleText(Column column);

private:
    QString text(std::size_t fill, Column column) const;
    void applySort();

    const HistoryData* m_data = nullptr;
    QHash<qint64, QString> m_vehicleNames;
    std::vector<std::size_t> m_rows; // fill index of each row, in the order shown
    bool m_showVehicle = false;
    int m_sortColumn = -1;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
    MissedWriter m_writeMissed;
};

} // namespace historywindows
