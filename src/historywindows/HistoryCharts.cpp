#include "HistoryCharts.h"

#include "history/HistoryText.h"
#include "values/DateText.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QDateTimeAxis>
#include <QGridLayout>
#include <QLabel>
#include <QLineSeries>
#include <QStackedBarSeries>
#include <QToolTip>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

namespace historywindows {

namespace {

QChartView* makeView(const char* name, const QString& title) {
    auto* chart = new QChart;
    chart->setTitle(title);
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->setMargins(QMargins(4, 4, 4, 4));
    auto* view = new QChartView(chart);
    view->setObjectName(QLatin1String(name));
    view->setAccessibleName(title);
    view->setRenderHint(QPainter::Antialiasing, false); // many points: plain lines draw faster
    view->setMinimumSize(240, 180);
    return view;
}

void clearChart(QChart& chart) {
    chart.removeAllSeries();
    for (QAbstractAxis* axis : chart.axes()) {
        chart.removeAxis(axis);
        delete axis;
    }
}

qint64 msecs(const QDateTime& when) {
    return when.toMSecsSinceEpoch();
}

// A chart is a few hundred pixels wide: more points than this draw the same line.
constexpr std::size_t kSlices = 1000;
// Up to this many points each gets its mark; more would only blur the line.
constexpr std::size_t kMarkedPoints = 120;

// The points a line is drawn through. Up to two per slice of the time axis, its
// lowest and its highest in time order, so every peak and dip of a lifetime of
// tanks stays in the line while Qt Charts lays out a few thousand points, not
// fifty thousand. Hovering still finds every point (hoverLine reads them all).
QList<QPointF> pointsOf(const std::vector<history::ChartPoint>& points) {
    QList<QPointF> list;
    if (points.size() <= 2 * kSlices) {
        list.reserve(qsizetype(points.size()));
        for (const history::ChartPoint& point : points)
            list.append(QPointF(qreal(msecs(point.when)), point.value));
        return list;
    }
    const double first = double(msecs(points.front().when));
    const double span = std::max(1.0, double(msecs(points.back().when)) - first);
    list.reserve(qsizetype(2 * kSlices + 2));
    std::size_t i = 0;
    while (i < points.size()) {
        const auto slice =
            std::size_t((double(msecs(points[i].when)) - first) / span * double(kSlices - 1));
        std::size_t low = i;
        std::size_t high = i;
        std::size_t next = i + 1;
        for (; next < points.size(); ++next) {
            const auto at = std::size_t((double(msecs(points[next].when)) - first) / span *
                                        double(kSlices - 1));
            if (at != slice)
                break;
            if (points[next].value < points[low].value)
                low = next;
            if (points[next].value > points[high].value)
                high = next;
        }
        for (std::size_t k : {std::min(low, high), std::max(low, high)}) {
            list.append(QPointF(qreal(msecs(points[k].when)), points[k].value));
            if (low == high)
                break;
        }
        i = next;
    }
    return list;
}

// A time axis over the points, and a value axis from zero with some room above.
void addAxes(QChart& chart, QAbstractSeries* series, const std::vector<history::ChartPoint>& points,
             const QString& valueTitle, const QString& valueFormat) {
    auto* time = new QDateTimeAxis;
    time->setTickCount(5);
    auto* value = new QValueAxis;
    value->setTitleText(valueTitle);
    value->setLabelFormat(valueFormat);
    if (!points.empty()) {
        QDateTime first = points.front().when;
        QDateTime last = points.back().when;
        if (first == last)
            last = first.addDays(1);
        time->setRange(first, last);
        // Days over a short history, months over a long one.
        time->setFormat(first.daysTo(last) < 730 ? QStringLiteral("M/d/yy")
                                                 : QStringLiteral("MMM yyyy"));
        const auto [lowest, highest] = std::minmax_element(
            points.begin(), points.end(), [](auto& a, auto& b) { return a.value < b.value; });
        // Room around the values, so that the changes show and the line stays off the edges.
        const double room = std::max(0.05 * highest->value, highest->value - lowest->value);
        value->setRange(std::max(0.0, lowest->value - room / 2), highest->value + room / 2);
        value->applyNiceNumbers();
    }
    chart.addAxis(time, Qt::AlignBottom);
    chart.addAxis(value, Qt::AlignLeft);
    series->attachAxis(time);
    series->attachAxis(value);
}

QString dollarsText(double dollars) {
    return history::centsText(values::WideInteger(std::llround(dollars * 100)));
}

} // namespace

HistoryCharts::HistoryCharts(QWidget* parent)
    : QWidget(parent), chartMpg(makeView("chartMpg", QStringLiteral("MPG per Tank"))),
      chartPrice(makeView("chartPrice", QStringLiteral("Price per Gallon"))),
      chartCost(makeView("chartCost", QStringLiteral("Cost per Month"))),
      lblChartPoint(new QLabel) {
    lblChartPoint->setObjectName(QStringLiteral("lblChartPoint"));
    lblChartPoint->setAccessibleName(QStringLiteral("Point under the pointer"));
    lblChartPoint->setText(QStringLiteral("Point at a tank, a price or a month to read it here."));
    auto* layout = new QGridLayout(this);
    layout->addWidget(chartMpg, 0, 0, 1, 2);
    layout->addWidget(chartPrice, 1, 0);
    layout->addWidget(chartCost, 1, 1);
    layout->addWidget(lblChartPoint, 2, 0, 1, 2);
    layout->setRowStretch(0, 1);
    layout->setRowStretch(1, 1);
}

QString HistoryCharts::pointText(const history::ChartPoint& point, const QString& value) {
    return values::usDateText(QDateTime(point.when.date(), QTime(0, 0), Qt::UTC)) +
           QStringLiteral(": ") + value;
}

void HistoryCharts::show(const history::ChartData& data) {
    m_mpg = data.mpgPerTank;
    m_price = data.pricePerGallon;
    m_cost = data.costPerMonth;
    showMpg(data);
    showPrice(data);
    showCost(data);
}

void HistoryCharts::hoverLine(const std::vector<history::ChartPoint>& points, qreal x, bool state,
                              const std::function<QString(double)>& valueText) {
    if (!state || points.empty())
        return;
    // The points are in time order: the nearest lies beside the first one after x.
    const auto after = std::lower_bound(
        points.begin(), points.end(), x,
        [](const history::ChartPoint& p, qreal at) { return qreal(msecs(p.when)) < at; });
    auto nearest = after == points.end() ? after - 1 : after;
    if (after != points.begin() && after != points.end() &&
        x - qreal(msecs((after - 1)->when)) < qreal(msecs(after->when)) - x)
        nearest = after - 1;
    lblChartPoint->setText(pointText(*nearest, valueText(nearest->value)));
    QToolTip::showText(QCursor::pos(), lblChartPoint->text(), this);
}

void HistoryCharts::showMpg(const history::ChartData& data) {
    QChart& chart = *chartMpg->chart();
    clearChart(chart);
    auto* tanks = new QLineSeries;
    tanks->setName(QStringLiteral("MPG"));
    tanks->replace(pointsOf(data.mpgPerTank));
    tanks->setPointsVisible(data.mpgPerTank.size() <= kMarkedPoints);
    chart.addSeries(tanks);
    addAxes(chart, tanks, data.mpgPerTank, QStringLiteral("MPG"), QStringLiteral("%.0f"));
    connect(tanks, &QXYSeries::hovered, this, [this](const QPointF& point, bool state) {
        hoverLine(m_mpg, point.x(), state,
                  [](double v) { return history::mpgText(v) + QStringLiteral(" MPG"); });
    });
    if (data.averageMpg && !data.mpgPerTank.empty()) {
        auto* average = new QLineSeries;
        average->setName(QStringLiteral("Average ") + history::mpgText(*data.averageMpg));
        const qreal from = qreal(msecs(data.mpgPerTank.front().when));
        const qreal to = qreal(msecs(data.mpgPerTank.back().when));
        average->replace({QPointF(from, *data.averageMpg), QPointF(to, *data.averageMpg)});
        QPen pen(Qt::darkRed);
        pen.setWidth(2);
        pen.setStyle(Qt::DashLine);
        average->setPen(pen);
        chart.addSeries(average);
        for (QAbstractAxis* axis : chart.axes())
            average->attachAxis(axis);
    }
}

void HistoryCharts::showPrice(const history::ChartData& data) {
    QChart& chart = *chartPrice->chart();
    clearChart(chart);
    auto* prices = new QLineSeries;
    prices->setName(QStringLiteral("Price/Gal"));
    prices->replace(pointsOf(data.pricePerGallon));
    prices->setPointsVisible(data.pricePerGallon.size() <= kMarkedPoints);
    chart.addSeries(prices);
    addAxes(chart, prices, data.pricePerGallon, QStringLiteral("$/gal"), QStringLiteral("$%.2f"));
    chart.legend()->hide();
    connect(prices, &QXYSeries::hovered, this, [this](const QPointF& point, bool state) {
        hoverLine(m_price, point.x(), state, [](double v) {
            return history::perUnitMoneyText(v) + QStringLiteral(" a gallon");
        });
    });
}

void HistoryCharts::showCost(const history::ChartData& data) {
    QChart& chart = *chartCost->chart();
    clearChart(chart);
    auto* fuel = new QBarSet(QStringLiteral("Fuel"));
    auto* parts = new QBarSet(QStringLiteral("Parts"));
    QList<qreal> fuelValues;
    QList<qreal> partsValues;
    QStringList months;
    double highest = 0;
    for (const history::MonthCost& month : data.costPerMonth) {
        fuelValues.append(month.fuel);
        partsValues.append(month.parts);
        months.append(QLocale::c().toString(month.month, QStringLiteral("MMM yy")));
        highest = std::max(highest, month.fuel + month.parts);
    }
    fuel->append(fuelValues);
    parts->append(partsValues);
    auto* series = new QStackedBarSeries;
    series->append(fuel);
    series->append(parts);
    chart.addSeries(series);
    auto* axisMonths = new QBarCategoryAxis;
    axisMonths->append(months);
    axisMonths->setLabelsAngle(months.size() > 12 ? -90 : 0);
    // A lifetime of months: only the axis line, the bars speak for themselves.
    axisMonths->setLabelsVisible(months.size() <= 48);
    auto* axisCost = new QValueAxis;
    axisCost->setRange(0, std::max(1.0, highest * 1.1));
    axisCost->applyNiceNumbers();
    axisCost->setLabelFormat(QStringLiteral("$%.0f"));
    chart.addAxis(axisMonths, Qt::AlignBottom);
    chart.addAxis(axisCost, Qt::AlignLeft);
    series->attachAxis(axisMonths);
    series->attachAxis(axisCost);
    const auto hover = [this](const QString& what, bool fuelSet) {
        return [this, what, fuelSet](bool state, int index) {
            if (!state || index < 0 || std::size_t(index) >= m_cost.size())
                return;
            const history::MonthCost& month = m_cost[std::size_t(index)];
            lblChartPoint->setText(QLocale::c().toString(month.month, QStringLiteral("MMMM yyyy")) +
                                   QStringLiteral(": ") + what + QLatin1Char(' ') +
                                   dollarsText(fuelSet ? month.fuel : month.parts));
            QToolTip::showText(QCursor::pos(), lblChartPoint->text(), this);
        };
    };
    connect(fuel, &QBarSet::hovered, this, hover(QStringLiteral("fuel"), true));
    connect(parts, &QBarSet::hovered, this, hover(QStringLiteral("parts"), false));
}

} // namespace historywindows
