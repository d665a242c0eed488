#include "HistoryData.h"

#include <algorithm>
#include <map>

namespace historywindows {

namespace {

// The end (one past) of the run of fills of the vehicle that owns fills[begin].
std::size_t groupEnd(const history::FuelFills& fills, std::size_t begin) {
    std::size_t end = begin;
    while (end < fills.size() && fills[end].vehicleId == fills[begin].vehicleId)
        ++end;
    return end;
}

std::size_t groupBegin(const history::FuelFills& fills, std::size_t index) {
    std::size_t begin = index;
    while (begin > 0 && fills[begin - 1].vehicleId == fills[index].vehicleId)
        --begin;
    return begin;
}

void computeGroup(const history::FuelFills& fills, std::size_t begin, std::size_t end,
                  std::vector<history::FillEconomy>& into) {
    if (begin == 0 && end == fills.size()) { // one vehicle: no copy
        into = history::economyOf(fills);
        return;
    }
    const history::FuelFills group(fills.begin() + qsizetype(begin),
                                   fills.begin() + qsizetype(end));
    const std::vector<history::FillEconomy> economy = history::economyOf(group);
    std::copy(economy.begin(), economy.end(), into.begin() + qsizetype(begin));
}

} // namespace

std::vector<history::FillEconomy> economyByVehicle(const history::FuelFills& fills) {
    std::vector<history::FillEconomy> economy(fills.size());
    for (std::size_t begin = 0; begin < fills.size();) {
        const std::size_t end = groupEnd(fills, begin);
        computeGroup(fills, begin, end, economy);
        begin = end;
    }
    return economy;
}

void recomputeVehicleOf(HistoryData& data, std::size_t index) {
    if (data.economy.size() != data.fills.size())
        data.economy.resize(data.fills.size());
    const std::size_t begin = groupBegin(data.fills, index);
    computeGroup(data.fills, begin, groupEnd(data.fills, begin), data.economy);
}

history::ChartData chartDataOfAll(const HistoryData& data, const history::DateRange& period) {
    history::ChartData all;
    std::map<QDate, history::MonthCost> months;
    std::map<qint64, history::WorkOrderSummaries> ordersOf;
    for (const history::WorkOrderSummary& order : data.orders)
        ordersOf[order.vehicleId].push_back(order);
    const auto take = [&](const history::FuelFills& fills,
                          const history::WorkOrderSummaries& orders) {
        const history::ChartData one = history::chartDataOf(fills, orders, period);
        all.mpgPerTank.insert(all.mpgPerTank.end(), one.mpgPerTank.begin(), one.mpgPerTank.end());
        all.pricePerGallon.insert(all.pricePerGallon.end(), one.pricePerGallon.begin(),
                                  one.pricePerGallon.end());
        for (const history::MonthCost& month : one.costPerMonth) {
            history::MonthCost& sum = months[month.month];
            sum.month = month.month;
            sum.fuel += month.fuel;
            sum.parts += month.parts;
        }
    };
    for (std::size_t begin = 0; begin < data.fills.size();) {
        const std::size_t end = groupEnd(data.fills, begin);
        const qint64 vehicle = data.fills[begin].vehicleId;
        take(history::FuelFills(data.fills.begin() + qsizetype(begin),
                                data.fills.begin() + qsizetype(end)),
             ordersOf[vehicle]);
        ordersOf.erase(vehicle);
        begin = end;
    }
    for (const auto& [vehicle, orders] : ordersOf)
        take({}, orders); // vehicles with work orders and no fuel
    const auto byTime = [](const history::ChartPoint& a, const history::ChartPoint& b) {
        return a.when < b.when;
    };
    std::stable_sort(all.mpgPerTank.begin(), all.mpgPerTank.end(), byTime);
    std::stable_sort(all.pricePerGallon.begin(), all.pricePerGallon.end(), byTime);
    // Months without cost between the first and the last stay on the axis, as for one vehicle.
    if (!months.empty()) {
        for (QDate month = months.begin()->first; month <= months.rbegin()->first;
             month = month.addMonths(1)) {
            history::MonthCost cost = months.count(month) ? months[month] : history::MonthCost{};
            cost.month = month;
            all.costPerMonth.push_back(cost);
        }
    }
    all.averageMpg =
        history::totalOf(history::statisticsPerVehicle(data.fills, data.orders, period)).averageMpg;
    return all;
}

} // namespace historywindows
