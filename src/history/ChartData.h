#pragma once

#include "FuelFill.h"
#include "Period.h"
#include "WorkOrderSummary.h"

#include <QDate>
#include <optional>
#include <vector>

namespace history {

struct ChartPoint {
    QDateTime when;
    double value = 0;
};

struct MonthCost {
    QDate month; // the first of the month
    double fuel = 0;
    double parts = 0;
};

// What the Charts tab draws for one vehicle and period: MPG per tank (at the
// closing fill's date) with the period's average; price per gallon of every fill
// with gallons and cost; cost per month (fuel, parts) for every month from the
// first to the last with any cost, empty months included.
struct ChartData {
    std::vector<ChartPoint> mpgPerTank;
    std::optional<double> averageMpg;
    std::vector<ChartPoint> pricePerGallon;
    std::vector<MonthCost> costPerMonth;
};
ChartData chartDataOf(const FuelFills& fills, const WorkOrderSummaries& orders,
                      const DateRange& period);

} // namespace history
