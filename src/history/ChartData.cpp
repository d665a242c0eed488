#include "ChartData.h"

#include "FuelEconomy.h"

#include <map>

namespace history {

namespace {

QDate monthOf(const QDateTime& when) {
    const QDate day = when.date();
    return QDate(day.year(), day.month(), 1);
}

} // namespace

ChartData chartDataOf(const FuelFills& fills, const WorkOrderSummaries& orders,
                      const DateRange& period) {
    ChartData chart;
    const std::vector<FillEconomy> economy = economyOf(fills);
    std::map<QDate, MonthCost> months;
    double distance = 0;
    double gallons = 0;
    chart.mpgPerTank.reserve(fills.size());
    chart.pricePerGallon.reserve(fills.size());
    for (std::size_t i = 0; i < fills.size(); ++i) {
        const FuelFill& fill = fills[i];
        // An undated fill has no place on a time axis.
        if (!fill.date.isValid() || !period.contains(fill.date))
            continue;
        if (const auto& tank = economy[i].tank) {
            chart.mpgPerTank.push_back(ChartPoint{fill.date, *tank->mpg});
            distance += tank->distance;
            gallons += tank->gallons;
        }
        if (!fill.cost)
            continue;
        const double dollars = fill.cost->toDouble();
        if (fill.gallons && *fill.gallons > 0)
            chart.pricePerGallon.push_back(ChartPoint{fill.date, dollars / *fill.gallons});
        MonthCost& month = months[monthOf(fill.date)];
        month.fuel += dollars;
    }
    if (gallons > 0)
        chart.averageMpg = distance / gallons;
    for (const WorkOrderSummary& order : orders) {
        if (!order.date.isValid() || !period.contains(order.date) || order.partsTotalCents == 0)
            continue;
        months[monthOf(order.date)].parts += double(order.partsTotalCents) / 100.0;
    }
    if (months.empty())
        return chart;
    // Every month from the first to the last, the empty ones too: bars stand at
    // their true place in time.
    const QDate last = months.rbegin()->first;
    for (QDate month = months.begin()->first; month <= last; month = month.addMonths(1)) {
        const auto found = months.find(month);
        MonthCost cost = found == months.end() ? MonthCost{} : found->second;
        cost.month = month;
        chart.costPerMonth.push_back(cost);
    }
    return chart;
}

} // namespace history
