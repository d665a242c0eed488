#pragma once

#include <QDateTime>
#include <optional>
#include <unordered_map>

struct sqlite3;

// Finds the rows of a file that the database or the file itself already holds: a fuel
// purchase of the same vehicle, day and odometer (compared as the stored Single), a
// work order of the same vehicle, day and mileage. The file's keys go into one hash;
// each vehicle's stored rows are then read once, with one select, and looked up in it,
// never a query per row of the file.
namespace importing {

class Duplicates {
public:
    struct Match {
        int firstRow = -1;   // the first row of the file with the key
        bool stored = false; // a stored row has it too
    };

    // A row of the file under a vehicle's slot (one per vehicle of the database or new
    // one); the match it shares with earlier rows and the stored ones.
    const Match* addFuel(int slot, const QDateTime& date, std::optional<float> odometer, int row);
    const Match* addWorkOrder(int slot, const QDateTime& date, std::optional<qint64> mileage,
                              int row);
    // Reads the stored fuel rows and work orders of a vehicle of the database for a slot.
    // Throws the store's error when the file cannot be read.
    void readStored(sqlite3* db, int slot, qint64 vehicleId);
    void reserve(size_t rows) { m_keys.reserve(rows); }

private:
    struct Key {
        bool workOrder = false;
        int slot = 0;
        qint64 day = 0;
        bool hasValue = false;
        qint64 value = 0; // the odometer's bits as a Single, or the mileage

        bool operator==(const Key& other) const = default;
    };
    struct KeyHash {
        size_t operator()(const Key& key) const noexcept;
    };

    const Match* add(const Key& key, int row);
    void markStored(const Key& key);

    std::unordered_map<Key, Match, KeyHash> m_keys;
};

} // namespace importing
