#include "FillOrder.h"

#include <algorithm>
#include <limits>
#include <sqlite3.h>

namespace history {

namespace {

using Key = FillOrder::Key;

constexpr std::int64_t kNoVehicle = std::numeric_limits<std::int64_t>::min();
constexpr double kNoMiles = -std::numeric_limits<double>::infinity();
// Integers beyond this are not all doubles: they are left to SQLite's own comparison.
constexpr std::int64_t kExactInDouble = std::int64_t(1) << 53;

bool vehicleAt(sqlite3_stmt* stmt, int column, std::int64_t& vehicle) {
    switch (sqlite3_column_type(stmt, column)) {
    case SQLITE_NULL:
        vehicle = kNoVehicle;
        return true;
    case SQLITE_INTEGER:
        vehicle = sqlite3_column_int64(stmt, column);
        return vehicle != kNoVehicle; // that one would tie with no vehicle
    default:
        return false;
    }
}

bool isDigit(unsigned char c) {
    return c >= '0' && c <= '9';
}

// Texts of the store's date form compare byte by byte as their digits do as a number.
bool dateAt(sqlite3_stmt* stmt, int column, std::uint64_t& date) {
    static constexpr char kForm[] = "dddd-dd-dd dd:dd:dd";
    const int kind = sqlite3_column_type(stmt, column);
    if (kind == SQLITE_NULL) {
        date = 0;
        return true;
    }
    if (kind != SQLITE_TEXT)
        return false;
    const unsigned char* text = sqlite3_column_text(stmt, column);
    if (sqlite3_column_bytes(stmt, column) != int(sizeof kForm) - 1)
        return false;
    std::uint64_t digits = 0;
    for (std::size_t i = 0; i + 1 < sizeof kForm; ++i) {
        if (kForm[i] == 'd') {
            if (!isDigit(text[i]))
                return false;
            digits = digits * 10 + (text[i] - '0');
        } else if (text[i] != static_cast<unsigned char>(kForm[i])) {
            return false;
        }
    }
    date = digits + 1;
    return true;
}

bool milesAt(sqlite3_stmt* stmt, int column, double& miles) {
    switch (sqlite3_column_type(stmt, column)) {
    case SQLITE_NULL:
        miles = kNoMiles;
        return true;
    case SQLITE_INTEGER: {
        const std::int64_t whole = sqlite3_column_int64(stmt, column);
        miles = double(whole);
        return whole <= kExactInDouble && whole >= -kExactInDouble;
    }
    case SQLITE_FLOAT:
        miles = sqlite3_column_double(stmt, column);
        return miles != kNoMiles; // that one would tie with no reading
    default:
        return false;
    }
}

bool inHistoryOrder(const Key& a, const Key& b) {
    if (a.vehicle != b.vehicle)
        return a.vehicle < b.vehicle;
    if (a.date != b.date)
        return a.date < b.date;
    if (a.miles != b.miles)
        return a.miles < b.miles;
    return a.fuelId < b.fuelId;
}

} // namespace

bool FillOrder::add(sqlite3_stmt* stmt, int vehicleColumn, int dateColumn, int milesColumn,
                    qint64 fuelId) {
    Key key;
    key.fuelId = fuelId;
    key.row = std::uint32_t(m_keys.size());
    if (!vehicleAt(stmt, vehicleColumn, key.vehicle) || !dateAt(stmt, dateColumn, key.date) ||
        !milesAt(stmt, milesColumn, key.miles))
        return false;
    m_keys.push_back(key);
    return true;
}

void FillOrder::arrange(FuelFills& fills) {
    if (std::is_sorted(m_keys.begin(), m_keys.end(), inHistoryOrder))
        return;
    std::sort(m_keys.begin(), m_keys.end(), inHistoryOrder);
    // Moved into a new list in order: quicker than swapping round the cycles in
    // place, whose reads and writes both jump about a long list.
    FuelFills ordered;
    ordered.reserve(fills.size());
    for (const Key& key : m_keys)
        ordered.push_back(std::move(fills[key.row]));
    fills = std::move(ordered);
}

} // namespace history
