#pragma once

#include "history/ChartData.h"

#include <QWidget>

class QChartView;
class QLabel;
class QLineSeries;

namespace historywindows {

// The Charts tab: MPG per tank over time with the period's average as a line,
// the price per gallon over time, and the cost per month as stacked bars (fuel,
// parts). Hovering a point or a bar shows its date and value below the charts.
// Every series is given its points in one call, so a lifetime of tanks draws at once.
class HistoryCharts : public QWidget {
    Q_OBJECT
public:
    explicit HistoryCharts(QWidget* parent = nullptr);

    void show(const history::ChartData& data);

    QChartView* chartMpg;
    QChartView* chartPrice;
    QChartView* chartCost;
    QLabel* lblChartPoint; // what the pointer is over

    // The text for a hovered point of a time series: "3/15/2024: 26.83 MPG".
    static QString pointText(const history::ChartPoint& point, const QString& value);

private:
    void showMpg(const history::ChartData& data);
    void showPrice(const history::ChartData& data);
    void showCost(const history::ChartData& data);
    // The data point nearest in time to where the pointer is over a line.
    void hoverLine(const std::vector<history::ChartPoint>& points, qreal x, bool state,
                   const std::function<QString(double)>& valueText);

    std::vector<history::ChartPoint> m_mpg;
    std::vector<history::ChartPoint> m_price;
    std::vector<history::MonthCost> m_cost;
};

} // namespace historywindows
