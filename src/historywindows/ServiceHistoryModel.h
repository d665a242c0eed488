#pragma once

#include "HistoryData.h"
#include "history/Period.h"

#include <QAbstractTableModel>
#include <vector>

namespace historywindows {

// The Service History: the work orders of the period, newest first, narrowed to
// those whose services, parts or notes hold the search text (any letter case).
class ServiceHistoryModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Date, Miles, OrderNumber, Services, Parts, PartsTotal, Notes, ColumnCount };

    explicit ServiceHistoryModel(QObject* parent = nullptr);

    void show(const HistoryData* data, const history::DateRange& period, const QString& search);
    const history::WorkOrderSummary& orderAt(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    static QString caption(Column column);
    static QString sampleText(Column column);

private:
    const HistoryData* m_data = nullptr;
    std::vector<std::size_t> m_rows;
};

} // namespace historywindows
