#pragma once

#include "store/Statement.h"

#include <QSet>

struct sqlite3;

namespace history {

// The missed mark of a fuel purchase: "a fill-up before this one was not recorded".
// Kept in an extra table of the file, drivolex_fuel_missed (FuelId, the fuel row's
// key, deleted with the row by a cascading relation), created when the first mark
// is set; a file without it opens as before.
bool hasMissedTable(sqlite3* db);
bool isMissed(sqlite3* db, qint64 fuelId);
QSet<qint64> missedFuelIds(sqlite3* db, qint64 vehicleId);
// The marked rows of every vehicle (none without the table).
QSet<qint64> everyMissedFuelId(sqlite3* db);
// Sets or clears the mark in one write transaction of the store (so the day's
// backup and the file's checks apply). Throws the store's error.
void setMissed(sqlite3* db, qint64 fuelId, bool missed);
// Makes the table when the file has none yet, inside the caller's write transaction
// (an import writes its rows and their marks in one). Throws the store's error.
void createMissedTable(sqlite3* db, const store::SqlErrorContext& context);

// Reads the marks of single rows, for a window that asks row by row: one prepared
// statement kept for the connection, made only once the table is found. A file
// without the table costs one look at its schema until forget().
class MissedMarkReader {
public:
    // Throws the store's error when the file cannot be read.
    bool isMissed(sqlite3* db, qint64 fuelId);
    // The table may have come or gone since (a mark set in another window): look again.
    void forget();

private:
    sqlite3* m_db = nullptr;
    bool m_looked = false;
    store::Statement m_select; // empty while the file has no table
};

} // namespace history
