#include "Duplicates.h"

#include "history/StoredColumns.h"
#include "store/Statement.h"
#include "values/DateText.h"

#include <QStringList>

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

int digitsAt(const char* text, int from, int count) {
    int value = 0;
    for (int i = from; i < from + count; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return -1;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

// The day of a stored date. The store's own form "yyyy-MM-dd hh:mm:ss" is read here
// without making a QDateTime (every stored row of the vehicles passes through); any
// other value goes through the history's reader, which converts what other tools left.
std::optional<qint64> storedDay(const store::Statement& stmt, int column) {
    if (sqlite3_column_type(stmt.get(), column) == SQLITE_TEXT &&
        sqlite3_column_bytes(stmt.get(), column) == 19) {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt.get(), column));
        const int year = digitsAt(text, 0, 4), month = digitsAt(text, 5, 2),
                  day = digitsAt(text, 8, 2), hour = digitsAt(text, 11, 2),
                  minute = digitsAt(text, 14, 2), second = digitsAt(text, 17, 2);
        if (text[4] == '-' && text[7] == '-' && text[10] == ' ' && text[13] == ':' &&
            text[16] == ':' && year >= values::kFirstYear && hour >= 0 && hour < 24 &&
            minute >= 0 && minute < 60 && second >= 0 && second < 60 &&
            QDate::isValid(year, month, day))
            return QDate(year, month, day).toJulianDay();
    }
    const QDateTime date = history::stored::dateAt(stmt, column);
    return date.isValid() ? std::optional<qint64>(date.date().toJulianDay()) : std::nullopt;
}

store::SqlErrorContext contextOf(sqlite3* db, const char* table) {
    return store::SqlErrorContext{
        QString::fromUtf8(sqlite3_db_filename(db, "main")), QLatin1String(table), false, {}};
}

} // namespace

Duplicates::Key Duplicates::keyOf(bool workOrder, int slot, qint64 day, bool hasValue,
                                  qint64 value) {
    // Days of the years 100 to 9999 need 23 bits; slots fill the rest.
    return Key{quint64(slot) << 26 | quint64(day & 0xFFFFFF) << 2 | quint64(workOrder) << 1 |
                   quint64(hasValue),
               quint64(hasValue ? value : 0)};
}

namespace {

quint64 mixed(quint64 word) {
    // The finaliser of splitmix64: every bit of the key moves every bit of the hash.
    word ^= word >> 30;
    word *= 0xBF58476D1CE4E5B9ull;
    word ^= word >> 27;
    word *= 0x94D049BB133111EBull;
    return word ^ (word >> 31);
}

} // namespace

int Duplicates::find(const Key& key) const {
    if (m_table.empty())
        return -1;
    const size_t mask = m_table.size() - 1;
    for (size_t at = mixed(key.head ^ mixed(key.value)) & mask;; at = (at + 1) & mask) {
        const Place& place = m_table[at];
        if (place.match < 0)
            return -1;
        if (place.key == key)
            return place.match;
    }
}

size_t Duplicates::freePlace(const std::vector<Place>& table, const Key& key) {
    const size_t mask = table.size() - 1;
    size_t at = mixed(key.head ^ mixed(key.value)) & mask;
    while (table[at].match >= 0)
        at = (at + 1) & mask;
    return at;
}

void Duplicates::grow() {
    std::vector<Place> table(m_table.empty() ? 1024 : m_table.size() * 2);
    for (const Place& place : m_table)
        if (place.match >= 0)
            table[freePlace(table, place.key)] = place;
    m_table = std::move(table);
}

int Duplicates::add(const Key& key, int row) {
    if (const int found = find(key); found >= 0)
        return found;
    if ((m_matches.size() + 1) * 2 > m_table.size())
        grow();
    m_table[freePlace(m_table, key)] = Place{key, int(m_matches.size())};
    m_matches.push_back(Match{row, false});
    return int(m_matches.size()) - 1;
}

void Duplicates::noteDay(bool workOrder, int slot, qint64 day) {
    const size_t index = size_t(slot) * 2 + size_t(workOrder);
    if (m_days.size() <= index)
        m_days.resize(index + 1);
    DayRange& range = m_days[index];
    if (range.days.empty()) {
        range.first = day;
        range.days.assign(1, true);
        return;
    }
    if (day < range.first) {
        range.days.insert(range.days.begin(), size_t(range.first - day), false);
        range.first = day;
    } else if (day >= range.first + qint64(range.days.size())) {
        range.days.resize(size_t(day - range.first + 1), false);
    }
    range.days[size_t(day - range.first)] = true;
}

std::optional<std::pair<qint64, qint64>> Duplicates::dayRange(bool workOrder) const {
    std::optional<std::pair<qint64, qint64>> range;
    for (size_t i = size_t(workOrder); i < m_days.size(); i += 2) {
        const DayRange& days = m_days[i];
        if (days.days.empty())
            continue;
        const qint64 last = days.first + qint64(days.days.size()) - 1;
        range = range ? std::pair(std::min(range->first, days.first), std::max(range->second, last))
                      : std::pair(days.first, last);
    }
    return range;
}

bool Duplicates::mayHave(bool workOrder, int slot, qint64 day) const {
    const size_t index = size_t(slot) * 2 + size_t(workOrder);
    if (index >= m_days.size())
        return false;
    const DayRange& range = m_days[index];
    return day >= range.first && day < range.first + qint64(range.days.size()) &&
           range.days[size_t(day - range.first)];
}

int Duplicates::addFuel(int slot, const QDateTime& date, std::optional<float> odometer, int row) {
    const qint64 day = date.date().toJulianDay();
    noteDay(false, slot, day);
    return add(keyOf(false, slot, day, odometer.has_value(), odometer ? singleBits(*odometer) : 0),
               row);
}

int Duplicates::addWorkOrder(int slot, const QDateTime& date, std::optional<qint64> mileage,
                             int row) {
    const qint64 day = date.date().toJulianDay();
    noteDay(true, slot, day);
    return add(keyOf(true, slot, day, mileage.has_value(), mileage.value_or(0)), row);
}

void Duplicates::readStored(sqlite3* db, const std::unordered_map<qint64, int>& slotOfVehicle) {
    if (slotOfVehicle.empty())
        return;
    readTable(db, slotOfVehicle, false);
    readTable(db, slotOfVehicle, true);
}

void Duplicates::readTable(sqlite3* db, const std::unordered_map<qint64, int>& slotOfVehicle,
                           bool workOrders) {
    const char* table = workOrders ? "WorkOrder" : "Fuel";
    const store::SqlErrorContext context = contextOf(db, table);
    QStringList ids;
    for (const auto& [vehicleId, slot] : slotOfVehicle)
        ids << QString::number(vehicleId);
    const QString dateColumn = workOrders ? QStringLiteral("Date") : QStringLiteral("FuelDate");
    const QString columns =
        QStringLiteral("VehicleID, %1, %2")
            .arg(dateColumn, workOrders ? QStringLiteral("Mileage") : QStringLiteral("FuelMiles"));
    const QString inVehicles = QStringLiteral("VehicleID IN (%1)").arg(ids.join(QLatin1Char(',')));
    // Both counts come from an index alone.
    const auto count = [&](const QString& from) {
        store::Statement stmt(db, QStringLiteral("SELECT count(*) FROM %1").arg(from), context);
        const int rc = stmt.step();
        store::checkSqlite(db, rc, context);
        return rc == SQLITE_ROW ? stmt.columnInt64(0) : 0;
    };
    // A pass reads every row of the table; through the index, only the vehicles' own,
    // but each costs several times more: counted as far as the pass is worth it.
    constexpr qint64 kPassWhenOneIn = 8;
    const qint64 enough = count(QLatin1String(table)) / kPassWhenOneIn;
    const qint64 targeted = count(QStringLiteral("(SELECT 1 FROM %1 WHERE %2 LIMIT %3)")
                                      .arg(QLatin1String(table), inVehicles)
                                      .arg(enough + 1));
    const bool pass = targeted > enough;
    const std::optional<std::pair<qint64, qint64>> days = dayRange(workOrders);
    if (!days)
        return;
    // The store's own form sorts as time runs: a stored day outside the file's is
    // passed over on its text alone, before it is read as a date.
    const QByteArray firstDay =
        QDate::fromJulianDay(days->first).toString(QStringLiteral("yyyy-MM-dd")).toLatin1();
    const QByteArray lastDay =
        QDate::fromJulianDay(days->second).toString(QStringLiteral("yyyy-MM-dd")).toLatin1();
    store::Statement stmt(
        db,
        pass ? QStringLiteral("SELECT %1 FROM %2").arg(columns, QLatin1String(table))
             : QStringLiteral("SELECT %1 FROM %2 WHERE %3")
                   .arg(columns, QLatin1String(table), inVehicles),
        context);
    const auto outsideDays = [&](int column) {
        if (sqlite3_column_type(stmt.get(), column) != SQLITE_TEXT ||
            sqlite3_column_bytes(stmt.get(), column) != 19 || firstDay.size() != 10 ||
            lastDay.size() != 10)
            return false;
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt.get(), column));
        return text[4] == '-' && text[7] == '-' &&
               (std::memcmp(text, firstDay.constData(), 10) < 0 ||
                std::memcmp(text, lastDay.constData(), 10) > 0);
    };
    int rc;
    while ((rc = stmt.step()) == SQLITE_ROW) {
        const auto slot = slotOfVehicle.find(stmt.columnInt64(0));
        if (slot == slotOfVehicle.end())
            continue;
        if (outsideDays(1))
            continue;
        // A row without a date is no one's duplicate.
        const std::optional<qint64> day = storedDay(stmt, 1);
        if (!day || !mayHave(workOrders, slot->second, *day))
            continue;
        Key key;
        if (workOrders) {
            const std::optional<qint64> mileage = history::stored::integerAt(stmt, 2);
            key = keyOf(true, slot->second, *day, mileage.has_value(), mileage.value_or(0));
        } else {
            const std::optional<float> odometer = history::stored::singleAt(stmt, 2);
            key = keyOf(false, slot->second, *day, odometer.has_value(),
                        odometer ? singleBits(*odometer) : 0);
        }
        if (const int found = find(key); found >= 0)
            m_matches[size_t(found)].stored = true;
    }
    store::checkSqlite(db, rc, context);
}

} // namespace importing
