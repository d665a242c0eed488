#include "FillOrder.h"

#include <algorithm>
#include <sqlite3.h>

namespace history {

namespace {

using Key = FillOrder::Key;

// Integers beyond this are not all doubles: they are left to SQLite's own comparison.
constexpr std::int64_t kExactInDouble = std::int64_t(1) << 53;

bool numberAt(sqlite3_stmt* stmt, int column, Key::Rank& rank, double& number) {
    switch (sqlite3_column_type(stmt, column)) {
    case SQLITE_NULL:
        rank = Key::Null;
        return true;
    case SQLITE_INTEGER: {
        const std::int64_t whole = sqlite3_column_int64(stmt, column);
        if (whole > kExactInDouble || whole < -kExactInDouble)
            return false;
        rank = Key::Number;
        number = double(whole);
        return true;
    }
    case SQLITE_FLOAT:
        rank = Key::Number;
        number = sqlite3_column_double(stmt, column);
        return true;
    default:
        return false;
    }
}

bool isDigit(unsigned char c) {
    return c >= '0' && c <= '9';
}

// Texts of the store's date form compare byte by byte as their digits do as a number.
bool dateDigitsOf(const unsigned char* text, int size, std::int64_t& digits) {
    static constexpr char kForm[] = "dddd-dd-dd dd:dd:dd";
    if (size != int(sizeof kForm) - 1)
        return false;
    digits = 0;
    for (int i = 0; i < size; ++i) {
        if (kForm[i] == 'd') {
            if (!isDigit(text[i]))
                return false;
            digits = digits * 10 + (text[i] - '0');
        } else if (text[i] != static_cast<unsigned char>(kForm[i])) {
            return false;
        }
    }
    return true;
}

template <class T> int compared(const T& a, const T& b) {
    return a < b ? -1 : (b < a ? 1 : 0);
}

bool inHistoryOrder(const Key& a, const Key& b) {
    if (int c = compared(a.vehicleRank, b.vehicleRank); c != 0)
        return c < 0;
    if (int c = compared(a.vehicle, b.vehicle); c != 0)
        return c < 0;
    if (int c = compared(a.dateRank, b.dateRank); c != 0)
        return c < 0;
    if (int c = a.dateRank == Key::Text ? compared(a.dateDigits, b.dateDigits)
                                        : compared(a.dateNumber, b.dateNumber);
        c != 0)
        return c < 0;
    if (int c = compared(a.milesRank, b.milesRank); c != 0)
        return c < 0;
    if (int c = compared(a.miles, b.miles); c != 0)
        return c < 0;
    return a.fuelId < b.fuelId;
}

} // namespace

bool FillOrder::add(sqlite3_stmt* stmt, int vehicleColumn, int dateColumn, int milesColumn,
                    qint64 fuelId) {
    Key key;
    key.fuelId = fuelId;
    key.row = std::uint32_t(m_keys.size());
    switch (sqlite3_column_type(stmt, vehicleColumn)) {
    case SQLITE_NULL:
        break;
    case SQLITE_INTEGER:
        key.vehicleRank = Key::Number;
        key.vehicle = sqlite3_column_int64(stmt, vehicleColumn);
        break;
    default:
        return false;
    }
    if (sqlite3_column_type(stmt, dateColumn) == SQLITE_TEXT) {
        const unsigned char* text = sqlite3_column_text(stmt, dateColumn);
        if (!dateDigitsOf(text, sqlite3_column_bytes(stmt, dateColumn), key.dateDigits))
            return false;
        key.dateRank = Key::Text;
    } else if (!numberAt(stmt, dateColumn, key.dateRank, key.dateNumber)) {
        return false;
    }
    if (!numberAt(stmt, milesColumn, key.milesRank, key.miles))
        return false;
    m_keys.push_back(key);
    return true;
}

void FillOrder::arrange(FuelFills& fills) {
    if (std::is_sorted(m_keys.begin(), m_keys.end(), inHistoryOrder))
        return;
    std::sort(m_keys.begin(), m_keys.end(), inHistoryOrder);
    // Each place p takes the fill added as row m_keys[p].row: followed round each
    // cycle of that permutation, every fill moves once and no second list is made.
    for (std::size_t start = 0; start < m_keys.size(); ++start) {
        if (m_keys[start].row == start)
            continue;
        FuelFill held = std::move(fills[start]);
        std::size_t place = start;
        for (;;) {
            const std::size_t from = m_keys[place].row;
            m_keys[place].row = std::uint32_t(place); // filled
            if (from == start) {
                fills[place] = std::move(held);
                break;
            }
            fills[place] = std::move(fills[from]);
            place = from;
        }
    }
}

} // namespace history
