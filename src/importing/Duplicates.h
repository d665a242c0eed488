#pragma once

#include <QDateTime>
#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

struct sqlite3;

namespace store {
class Statement;
}

// Finds the rows of a file that the database or the file itself already holds: a fuel
// purchase of the same vehicle, day and odometer (compared as the stored Single), a
// work order of the same vehicle, day and mileage. The file's keys go into one hash;
// the stored rows of the vehicles the rows go to are then read once and looked up in
// it, never a query per row of the file.
namespace importing {

class Duplicates {
public:
    struct Match {
        int firstRow = -1;   // the first row of the file with the key
        bool stored = false; // a stored row has it too
    };

    // A row of the file under a vehicle's slot (one per vehicle of the database or new
    // one): the index of the match it shares with earlier rows and the stored ones.
    int addFuel(int slot, const QDateTime& date, std::optional<float> odometer, int row);
    int addWorkOrder(int slot, const QDateTime& date, std::optional<qint64> mileage, int row);
    const Match& match(int index) const { return m_matches[size_t(index)]; }

    // Reads the stored fuel rows and work orders of the database's vehicles the rows go
    // to, each under its slot: through the vehicles' index when they hold a small part
    // of a table, otherwise in one pass over the table (on a large file reading by the
    // index visits the rows' pages in no order, many times slower than a pass).
    // Throws the store's error when the file cannot be read.
    void readStored(sqlite3* db, const std::unordered_map<qint64, int>& slotOfVehicle);

private:
    // Vehicle slot, kind and day in one word, the odometer's bits or the mileage in the
    // other.
    struct Key {
        quint64 head = 0;
        quint64 value = 0;
        bool operator==(const Key& other) const = default;
    };
    static Key keyOf(bool workOrder, int slot, qint64 day, bool hasValue, qint64 value);

    int add(const Key& key, int row);
    // The match of a key, or -1; open addressing over a table of at least twice the keys.
    int find(const Key& key) const;
    struct Place {
        Key key;
        int match = -1; // none: the place is free
    };
    static size_t freePlace(const std::vector<Place>& table, const Key& key);
    void grow();
    void readTable(sqlite3* db, const std::unordered_map<qint64, int>& slotOfVehicle,
                   bool workOrders);
    // Days of the file per slot and kind, so that most stored rows of other days are
    // passed over without hashing.
    bool mayHave(bool workOrder, int slot, qint64 day) const;
    void noteDay(bool workOrder, int slot, qint64 day);
    // The first and last day of the file's rows of a kind; none when it has none.
    std::optional<std::pair<qint64, qint64>> dayRange(bool workOrder) const;

    std::vector<Place> m_table; // key and match side by side: one memory read per probe
    std::vector<Match> m_matches;
    struct DayRange {
        qint64 first = 0;
        std::vector<bool> days;
    };
    std::vector<DayRange> m_days; // by slot * 2 + kind
};

} // namespace importing
