#include "Duplicates.h"

#include "history/StoredColumns.h"
#include "store/Statement.h"

#include <cstring>
#include <sqlite3.h>

namespace importing {

namespace {

qint64 singleBits(float value) {
    const float positive = value == 0.0f ? 0.0f : value; // -0 is 0
    quint32 bits = 0;
    std::memcpy(&bits, &positive, sizeof bits);
    return bits;
}

store::SqlErrorContext contextOf(sqlite3* db, const char* table) {
    return store::SqlErrorContext{
        QString::fromUtf8(sqlite3_db_filename(db, "main")), QLatin1String(table), false, {}};
}

} // namespace

size_t Duplicates::KeyHash::operator()(const Key& key) const noexcept {
    // Mixes the fields into one word (the multiplier of splitmix64).
    quint64 word = quint64(key.day) * 0x9E3779B97F4A7C15ull;
    word ^= quint64(key.value) + 0x632BE59BD9B4E019ull + (word << 6) + (word >> 2);
    word ^= (quint64(key.slot) << 2 | quint64(key.workOrder) << 1 | quint64(key.hasValue)) *
            0xBF58476D1CE4E5B9ull;
    return size_t(word ^ (word >> 31));
}

const Duplicates::Match* Duplicates::add(const Key& key, int row) {
    const auto [it, added] = m_keys.try_emplace(key, Match{row, false});
    return &it->second;
}

void Duplicates::markStored(const Key& key) {
    const auto it = m_keys.find(key);
    if (it != m_keys.end())
        it->second.stored = true;
}

const Duplicates::Match* Duplicates::addFuel(int slot, const QDateTime& date,
                                             std::optional<float> odometer, int row) {
    return add(Key{false, slot, date.date().toJulianDay(), odometer.has_value(),
                   odometer ? singleBits(*odometer) : 0},
               row);
}

const Duplicates::Match* Duplicates::addWorkOrder(int slot, const QDateTime& date,
                                                  std::optional<qint64> mileage, int row) {
    return add(Key{true, slot, date.date().toJulianDay(), mileage.has_value(), mileage.value_or(0)},
               row);
}

void Duplicates::readStored(sqlite3* db, int slot, qint64 vehicleId) {
    // The stored values through the history's column readers, which take the store's
    // own forms directly and convert what other tools left; a row without a date is
    // no one's duplicate.
    const auto read = [&](const char* table, const QString& sql, bool workOrder) {
        const store::SqlErrorContext context = contextOf(db, table);
        store::Statement stmt(db, sql, context);
        stmt.bind(1, vehicleId);
        int rc;
        while ((rc = stmt.step()) == SQLITE_ROW) {
            const QDateTime date = history::stored::dateAt(stmt, 0);
            if (!date.isValid())
                continue;
            Key key{workOrder, slot, date.date().toJulianDay(), false, 0};
            if (workOrder) {
                const std::optional<qint64> mileage = history::stored::integerAt(stmt, 1);
                key.hasValue = mileage.has_value();
                key.value = mileage.value_or(0);
            } else {
                const std::optional<float> odometer = history::stored::singleAt(stmt, 1);
                key.hasValue = odometer.has_value();
                key.value = odometer ? singleBits(*odometer) : 0;
            }
            markStored(key);
        }
        store::checkSqlite(db, rc, context);
    };
    read("Fuel", QStringLiteral("SELECT FuelDate, FuelMiles FROM Fuel WHERE VehicleID = ?"), false);
    read("WorkOrder", QStringLiteral("SELECT Date, Mileage FROM WorkOrder WHERE VehicleID = ?"),
         true);
}

} // namespace importing
