#pragma once

#include "FuelFill.h"

#include <cstdint>
#include <vector>

struct sqlite3_stmt;

namespace history {

// Puts fills read in any order into the history's order (vehicle, then FuelDate,
// then FuelMiles, then FuelId) in memory, comparing the stored values as SQLite's
// ORDER BY would: no value first, then numbers, then texts. Quicker than SQLite's
// sorter, which copies every column of every row before the first comes back.
//
// Only the kinds the store writes are kept as keys (whole-number vehicles, dates
// as the store's date text, numeric odometers); a row holding anything else makes
// add() refuse it, and the caller leaves the ordering to SQLite.
class FillOrder {
public:
    void reserve(std::size_t rows) { m_keys.reserve(rows); }
    // The keys of the current row (vehicle, date and odometer columns); false when
    // one is of a kind this order does not compare.
    bool add(sqlite3_stmt* stmt, int vehicleColumn, int dateColumn, int milesColumn, qint64 fuelId);
    // Rearranges fills (added in the same order as the keys) into the history's order.
    void arrange(FuelFills& fills);

    // One row's keys, each folded into one value that compares as SQLite would
    // compare the stored ones.
    struct Key {
        std::int64_t vehicle = 0; // no vehicle: the least integer
        std::uint64_t date = 0;   // no date: 0; else 1 + the digits, yyyyMMddhhmmss
        double miles = 0;         // no reading: minus infinity
        qint64 fuelId = 0;
        std::uint32_t row = 0; // where the fill was added
    };

private:
    std::vector<Key> m_keys;
};

} // namespace history
