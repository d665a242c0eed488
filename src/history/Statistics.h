#pragma once

#include "FuelFill.h"
#include "Period.h"
#include "WorkOrderSummary.h"

#include <optional>

namespace history {

// The Statistics tab's figures for one vehicle (or all) and a period. Empty where
// there is nothing to compute from (no closed interval, no distance, no gallons).
struct Statistics {
    std::optional<double> averageMpg; // sum of distance / sum of gallons of the
                                      // intervals whose closing fill is in the period
    std::optional<double> bestMpg;
    std::optional<double> worstMpg;
    std::optional<double> lastMpg;
    std::optional<double> milesDriven; // last minus first odometer reading in the
                                       // period, fuel purchases and work orders alike
    int fillUps = 0;
    double gallons = 0;
    values::WideInteger fuelCostScaled = 0; // 1/10000 of a dollar, exact
    std::optional<double> averagePricePerGallon;
    std::optional<double> fuelCostPerMile;
    values::WideInteger partsCostCents = 0;
    std::optional<double> partsCostPerMile;
    std::optional<double> totalCostPerMile;
    std::optional<double> milesPerMonth;
    int workOrders = 0;
};

// fills in date-then-odometer order, of one vehicle.
Statistics statisticsOf(const FuelFills& fills, const WorkOrderSummaries& orders,
                        const DateRange& period);

} // namespace history
