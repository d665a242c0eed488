#pragma once

#include "history/Statistics.h"

#include <QHash>
#include <QList>
#include <QWidget>

class QLabel;
class QStackedWidget;
class QStandardItemModel;
class QTableView;

namespace historywindows {

// The Statistics tab: for one vehicle a caption and a value label per figure
// (each value's accessible name is its caption); for every vehicle a table, one
// row per vehicle and a Total row.
class StatisticsPanel : public QWidget {
    Q_OBJECT
public:
    explicit StatisticsPanel(QWidget* parent = nullptr);

    void showVehicle(const history::Statistics& figures);
    void showAllVehicles(const std::vector<history::VehicleStatistics>& rows,
                         const history::Statistics& total, const QHash<qint64, QString>& names);

    QList<QLabel*> lblFigure;  // the values, in the captions' order
    QTableView* dbgStatistics; // every vehicle
    QStackedWidget* pages;

private:
    QStandardItemModel* m_table;
};

} // namespace historywindows
