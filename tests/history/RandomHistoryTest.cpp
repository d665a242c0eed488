// Generated fuel logs (seeded, so a failure repeats): the average stays within
// [Worst, Best] and is the whole distance over the whole fuel of the closed
// intervals, worked out here by a forward walk independent of the library's.
#include "history/Statistics.h"

#include <gtest/gtest.h>
#include <random>

using namespace history;

namespace {

FuelFills generatedLog(std::mt19937& random, qint64 vehicleId) {
    std::uniform_int_distribution<int> percent(0, 99);
    std::uniform_real_distribution<double> step(0, 400);
    std::uniform_real_distribution<double> fuel(0, 15);
    FuelFills fills;
    QDate day(2020, 1, 1);
    double miles = 1000;
    const int count = std::uniform_int_distribution<int>(0, 80)(random);
    for (int i = 0; i < count; ++i) {
        FuelFill fill;
        fill.fuelId = vehicleId * 1000 + i;
        fill.vehicleId = vehicleId;
        day = day.addDays(percent(random) < 10 ? 0 : 1 + percent(random) / 10);
        fill.date = QDateTime(day, QTime(0, 0), Qt::UTC);
        miles += percent(random) < 5 ? -50 : step(random);
        if (percent(random) >= 3)
            fill.odometer = float(miles);
        if (percent(random) >= 3)
            fill.gallons = percent(random) < 5 ? 0.0f : float(fuel(random));
        fill.full = percent(random) < 70;
        fill.missed = percent(random) < 10;
        fills.push_back(fill);
    }
    return fills;
}

struct Sums {
    double distance = 0;
    double gallons = 0;
};

// From one full tank to the next, forwards: what the closing fills in the period add up to.
Sums closedIntervals(const FuelFills& fills, const DateRange& period) {
    Sums sums;
    std::optional<float> opening;
    bool open = false;
    bool broken = false;
    double gallons = 0;
    for (const FuelFill& fill : fills) {
        gallons += fill.gallons.value_or(0.0f);
        if (!fill.full) {
            broken = broken || fill.missed;
            continue;
        }
        const bool closes = open && opening && !broken && !fill.missed && fill.odometer &&
                            fill.gallons && gallons > 0 && *fill.odometer > *opening;
        if (closes && period.contains(fill.date)) {
            sums.distance += *fill.odometer - *opening;
            sums.gallons += gallons;
        }
        open = true;
        opening = fill.odometer;
        broken = false;
        gallons = 0;
    }
    return sums;
}

void expectSoundAverage(const Statistics& s, const Sums& expected, const std::string& where) {
    if (expected.gallons == 0) {
        EXPECT_EQ(s.averageMpg, std::nullopt) << where;
        return;
    }
    ASSERT_TRUE(s.averageMpg && s.bestMpg && s.worstMpg) << where;
    EXPECT_NEAR(*s.averageMpg, expected.distance / expected.gallons, 1e-4 * *s.averageMpg) << where;
    EXPECT_LE(*s.averageMpg, *s.bestMpg) << where;
    EXPECT_GE(*s.averageMpg, *s.worstMpg) << where;
}

TEST(RandomHistory, AverageIsDistanceOverFuelWithinWorstAndBest) {
    for (unsigned seed = 1; seed <= 200; ++seed) {
        std::mt19937 random(seed);
        FuelFills all;
        Sums allSums;
        const DateRange period{QDate(2020, 3, 1), QDate(2020, 9, 30)};
        for (qint64 vehicle = 1; vehicle <= 3; ++vehicle) {
            const FuelFills fills = generatedLog(random, vehicle);
            const std::string where =
                "seed " + std::to_string(seed) + ", vehicle " + std::to_string(vehicle);
            expectSoundAverage(statisticsOf(fills, {}, DateRange{}),
                               closedIntervals(fills, DateRange{}), where);
            const Sums inPeriod = closedIntervals(fills, period);
            expectSoundAverage(statisticsOf(fills, {}, period), inPeriod, where + ", period");
            allSums.distance += inPeriod.distance;
            allSums.gallons += inPeriod.gallons;
            all.insert(all.end(), fills.begin(), fills.end());
        }
        // All Vehicles: the average over every vehicle's intervals, not a mean of averages.
        expectSoundAverage(totalOf(statisticsPerVehicle(all, {}, period)), allSums,
                           "seed " + std::to_string(seed) + ", all vehicles");
    }
}

} // namespace
