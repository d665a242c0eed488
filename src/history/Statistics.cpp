#include "Statistics.h"

#include "FuelEconomy.h"

#include <algorithm>
#include <map>

namespace history {

namespace {

constexpr double kDaysPerMonth = 365.25 / 12;

// The odometer readings of the period, fuel purchases and work orders alike: the
// first and the last in time, and the dates they span.
class Readings {
public:
    void add(const QDateTime& when, double miles) {
        const Reading reading{when, miles};
        if (m_count++ == 0) {
            m_first = m_last = reading;
            return;
        }
        if (reading.before(m_first))
            m_first = reading;
        if (!reading.before(m_last))
            m_last = reading;
    }
    std::optional<double> distance() const {
        if (m_count < 2)
            return std::nullopt;
        return m_last.miles - m_first.miles;
    }
    qint64 days() const {
        if (m_count < 2 || !m_first.when.isValid() || !m_last.when.isValid())
            return 0;
        return m_first.when.date().daysTo(m_last.when.date());
    }

private:
    struct Reading {
        QDateTime when;
        double miles = 0;
        // By date, then odometer (undated readings first, as the list orders them).
        bool before(const Reading& other) const {
            if (when != other.when)
                return !when.isValid() || (other.when.isValid() && when < other.when);
            return miles < other.miles;
        }
    };
    int m_count = 0;
    Reading m_first;
    Reading m_last;
};

std::optional<double> perMile(double dollars, const std::optional<double>& miles) {
    if (!miles || !(*miles > 0))
        return std::nullopt;
    return dollars / *miles;
}

double dollarsOfScaled(values::WideInteger scaled) {
    return double(scaled) / double(values::Currency::kScale);
}

// The per-mile and per-month figures, from what was added up.
void completeFigures(Statistics& s, qint64 days) {
    if (s.pricedGallons > 0)
        s.averagePricePerGallon = dollarsOfScaled(s.pricedCostScaled) / s.pricedGallons;
    const double fuel = dollarsOfScaled(s.fuelCostScaled);
    const double parts = double(s.partsCostCents) / 100.0;
    s.fuelCostPerMile = perMile(fuel, s.milesDriven);
    s.partsCostPerMile = perMile(parts, s.milesDriven);
    s.totalCostPerMile = perMile(fuel + parts, s.milesDriven);
    if (s.intervalGallons > 0 && s.bestMpg && s.worstMpg)
        // Each tank's figure is single precision, as every window shows it; the
        // average, in double, may stand a rounding step beyond the best or worst.
        s.averageMpg = std::clamp(s.intervalDistance / s.intervalGallons, *s.worstMpg, *s.bestMpg);
    if (days > 0 && s.milesDriven && *s.milesDriven > 0)
        s.milesPerMonth = *s.milesDriven / (double(days) / kDaysPerMonth);
}

} // namespace

Statistics statisticsOf(const FuelFills& fills, const WorkOrderSummaries& orders,
                        const DateRange& period) {
    Statistics s;
    Readings readings;
    // The economy needs the fills before the period too: an interval counts when its
    // closing fill lies in the period, wherever its opening tank lies.
    const std::vector<FillEconomy> economy = economyOf(fills);
    for (std::size_t i = 0; i < fills.size(); ++i) {
        const FuelFill& fill = fills[i];
        if (!period.contains(fill.date))
            continue;
        ++s.fillUps;
        if (fill.gallons)
            s.gallons += *fill.gallons;
        if (fill.cost)
            s.fuelCostScaled += fill.cost->scaled;
        if (fill.cost && fill.gallons && *fill.gallons > 0) {
            s.pricedCostScaled += fill.cost->scaled;
            s.pricedGallons += *fill.gallons;
        }
        if (fill.odometer)
            readings.add(fill.date, *fill.odometer);
        if (const auto& tank = economy[i].tank) {
            const double mpg = *tank->mpg;
            s.intervalDistance += tank->distance;
            s.intervalGallons += tank->gallons;
            s.bestMpg = std::max(s.bestMpg.value_or(mpg), mpg);
            s.worstMpg = std::min(s.worstMpg.value_or(mpg), mpg);
            s.lastMpg = mpg;
        }
    }
    for (const WorkOrderSummary& order : orders) {
        if (!period.contains(order.date))
            continue;
        ++s.workOrders;
        s.partsCostCents += order.partsTotalCents;
        if (order.miles)
            readings.add(order.date, double(*order.miles));
    }
    s.milesDriven = readings.distance();
    completeFigures(s, readings.days());
    return s;
}

std::vector<VehicleStatistics> statisticsPerVehicle(const FuelFills& allFills,
                                                    const WorkOrderSummaries& allOrders,
                                                    const DateRange& period) {
    std::map<qint64, std::pair<FuelFills, WorkOrderSummaries>> byVehicle;
    for (const FuelFill& fill : allFills)
        byVehicle[fill.vehicleId].first.push_back(fill);
    for (const WorkOrderSummary& order : allOrders)
        byVehicle[order.vehicleId].second.push_back(order);
    std::vector<VehicleStatistics> rows;
    for (const auto& [vehicleId, history] : byVehicle) {
        Statistics figures = statisticsOf(history.first, history.second, period);
        if (figures.fillUps > 0 || figures.workOrders > 0)
            rows.push_back(VehicleStatistics{vehicleId, figures});
    }
    return rows;
}

Statistics totalOf(const std::vector<VehicleStatistics>& rows) {
    Statistics total;
    double monthlyMiles = 0;
    bool anyMonthly = false;
    for (const VehicleStatistics& row : rows) {
        const Statistics& s = row.figures;
        total.fillUps += s.fillUps;
        total.workOrders += s.workOrders;
        total.gallons += s.gallons;
        total.fuelCostScaled += s.fuelCostScaled;
        total.partsCostCents += s.partsCostCents;
        total.intervalDistance += s.intervalDistance;
        total.intervalGallons += s.intervalGallons;
        if (s.milesDriven)
            total.milesDriven = total.milesDriven.value_or(0) + *s.milesDriven;
        if (s.bestMpg)
            total.bestMpg = std::max(total.bestMpg.value_or(*s.bestMpg), *s.bestMpg);
        if (s.worstMpg)
            total.worstMpg = std::min(total.worstMpg.value_or(*s.worstMpg), *s.worstMpg);
        if (s.milesPerMonth) {
            monthlyMiles += *s.milesPerMonth;
            anyMonthly = true;
        }
        total.pricedGallons += s.pricedGallons;
        total.pricedCostScaled += s.pricedCostScaled;
    }
    completeFigures(total, 0);
    // The fleet's miles per month: every vehicle's added up.
    if (anyMonthly)
        total.milesPerMonth = monthlyMiles;
    return total;
}

} // namespace history
