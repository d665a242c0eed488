#include "FuelEconomy.h"

namespace history {

TankWalk::TankWalk(const FuelFill& closing) {
    // A fill-up missed before this one: the tank it closes is not all on record.
    if (!closing.full || closing.missed || !closing.odometer || !closing.gallons)
        return;
    m_state = State::Walking;
    m_closingMiles = *closing.odometer;
    m_gallons = *closing.gallons;
}

bool TankWalk::needsEarlier() const {
    return m_state == State::Walking;
}

void TankWalk::takeEarlier(const FuelFill& earlier) {
    if (m_state != State::Walking)
        return;
    if (!earlier.full) {
        // A partial fill's fuel was burnt over the interval too; one with a missed
        // mark says some fuel of the interval was never written down.
        if (earlier.missed) {
            m_state = State::NoFigure;
            return;
        }
        m_gallons += earlier.gallons.value_or(0.0f);
        return;
    }
    // The opening tank. Its own mark concerns the interval before it, not this one.
    m_state = State::NoFigure;
    // Fuel given back (a negative partial) can leave no fuel burnt at all.
    if (!earlier.odometer || !(m_gallons > 0.0f))
        return;
    const float distance = m_closingMiles - *earlier.odometer;
    if (!(distance > 0.0f))
        return; // an odometer that stood still or went back gives no figure
    m_result.distance = distance;
    m_result.gallons = m_gallons;
    m_result.mpg = distance / m_gallons;
    m_state = State::Found;
}

std::optional<TankEconomy> TankWalk::result() const {
    if (m_state != State::Found)
        return std::nullopt;
    return m_result;
}

std::vector<FillEconomy> economyOf(const FuelFills& fills) {
    std::vector<FillEconomy> economy(fills.size());
    for (std::size_t i = 0; i < fills.size(); ++i) {
        const FuelFill& fill = fills[i];
        if (i > 0 && fill.odometer && fills[i - 1].odometer)
            economy[i].distance = *fill.odometer - *fills[i - 1].odometer;
        // Each walk stops at the previous full tank, so every fill is visited by at
        // most one walk besides its own: the whole list costs one pass.
        TankWalk walk(fill);
        for (std::size_t earlier = i; earlier > 0 && walk.needsEarlier(); --earlier)
            walk.takeEarlier(fills[earlier - 1]);
        economy[i].tank = walk.result();
    }
    return economy;
}

} // namespace history
