#pragma once

#include "values/Currency.h"

#include <QDateTime>
#include <QString>
#include <optional>
#include <vector>

namespace history {

// One fuel purchase as the history reads it: the stored values, nothing rounded.
// A value the row does not hold is empty.
struct FuelFill {
    qint64 fuelId = 0;
    qint64 vehicleId = 0;
    QDateTime date;                // invalid when the row has none
    std::optional<float> odometer; // FuelMiles, single precision as stored
    std::optional<float> gallons;  // FuelGals
    bool full = false;             // FuelFull; no value counts as a partial fill
    bool missed = false;           // "a fill-up before this one was not recorded"
    std::optional<values::Currency> cost;
    QString city;
    QString state;
};

// Fills of one vehicle in date-then-odometer order (the order of the Gas Purchases
// window: FuelDate, then FuelMiles).
using FuelFills = std::vector<FuelFill>;

} // namespace history
