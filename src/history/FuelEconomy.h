#pragma once

#include "FuelFill.h"

#include <optional>
#include <vector>

namespace history {

// The tank a full fill closes. An interval runs from one full tank to the next in
// date-then-odometer order; its gallons are those of every fill after the opening
// full tank up to and including the closing one (single precision, added from the
// closing fill backwards, as the Gas Purchases window adds them); its distance is
// the closing odometer minus the opening one. No MPG when the closing fill is not
// full, has no gallons or odometer, when there is no earlier full tank or it has no
// odometer, when a fill of the interval (the closing one included) carries a missed
// mark, or when the distance is zero or negative or the gallons are not positive.
struct TankEconomy {
    float distance = 0;
    float gallons = 0;
    std::optional<float> mpg;
};

// The same rule read backwards, for a window that walks its record set from the
// current row: start with the closing fill, give it earlier fills one by one while
// needsEarlier() is true, then read result(). Reads no row before the opening tank.
class TankWalk {
public:
    explicit TankWalk(const FuelFill& closing);
    bool needsEarlier() const;
    void takeEarlier(const FuelFill& earlier);
    // The MPG when the walk found the opening tank; empty otherwise (also when the
    // record set ran out before one was found).
    std::optional<TankEconomy> result() const;

private:
    enum class State { Walking, Found, NoFigure };
    State m_state = State::NoFigure;
    float m_closingMiles = 0;
    float m_gallons = 0;
    TankEconomy m_result;
};

// Per fill (same index as the input): the distance since the previous fill (empty
// for the first or without both odometers) and the economy of the interval it
// closes (empty unless it closes one with an MPG).
struct FillEconomy {
    std::optional<float> distance;
    std::optional<TankEconomy> tank;
};
std::vector<FillEconomy> economyOf(const FuelFills& fills);

} // namespace history
