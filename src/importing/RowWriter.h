#pragma once

#include "ExtraTables.h"
#include "FittedRows.h"
#include "store/Definitions.h"
#include "store/Statement.h"

#include <initializer_list>
#include <vector>

struct sqlite3;

// Writes fitted rows into the record tables inside the caller's transaction, each value
// in the store's stored form through the store's own conversion (the one the record
// windows' saves go through), with one prepared insert per table for the whole import.
namespace importing {

class RowWriter {
public:
    RowWriter(sqlite3* db, const store::SqlErrorContext& context);

    qint64 addVehicle(const QString& lookUp, const FittedVehicle& vehicle);
    qint64 addFuel(qint64 vehicleId, const FittedFuel& row);
    qint64 addWorkOrder(qint64 vehicleId, const FittedWorkOrder& row);

private:
    // One table's insert with the fields it binds, in order.
    struct Insert {
        QString table;
        std::vector<store::FieldDef> fields;
        store::Statement stmt;
    };
    Insert prepare(const char* table, std::initializer_list<const char*> fields);
    // Binds the values in the fields' stored forms, runs the insert: the new row's key.
    qint64 insert(Insert& insert, std::initializer_list<QVariant> values);
    qint64 run(store::Statement& stmt, const QString& table);

    sqlite3* m_db;
    store::SqlErrorContext m_context;
    Insert m_vehicle;
    Insert m_fuel;
    Insert m_workOrder;
    Insert m_workDone;
    Insert m_part;
    Insert m_memo;
    store::Statement m_missed; // made with the missed marks' table, at the first mark
    ExtraWriter m_extras;
};

} // namespace importing
