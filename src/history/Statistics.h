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
    // What the average is made of, so that totals over vehicles add up rightly.
    double intervalDistance = 0;
    double intervalGallons = 0;
    // The fills with both gallons and a cost, that the average price is made of.
    double pricedGallons = 0;
    values::WideInteger pricedCostScaled = 0;
};

// fills in date-then-odometer order, of one vehicle.
Statistics statisticsOf(const FuelFills& fills, const WorkOrderSummaries& orders,
                        const DateRange& period);

struct VehicleStatistics {
    qint64 vehicleId = 0;
    Statistics figures;
};

// "All Vehicles": one row per vehicle that has a fill or a work order in the
// period (fills grouped by vehicle as HistoryReader gives them), in vehicle key
// order, then their total: counts, gallons, costs and miles added up; the average
// over every vehicle's intervals (never a mean of averages); best and worst over
// all; the per-mile figures from the added costs and miles.
std::vector<VehicleStatistics> statisticsPerVehicle(const FuelFills& allFills,
                                                    const WorkOrderSummaries& allOrders,
                                                    const DateRange& period);
Statistics totalOf(const std::vector<VehicleStatistics>& rows);

} // namespace history
