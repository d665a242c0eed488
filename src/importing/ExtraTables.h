#pragma once

#include "store/SqliteErrors.h"
#include "store/Statement.h"

#include <QString>
#include <map>

struct sqlite3;

// What an import brings that the six tables cannot hold, kept in tables of the
// program's own beside them, each row tied to its owner by a cascading relation
// (deleted with it, brought back with it by an undo):
//   drivolex_fuel_extra      FuelId -> Note, Tags, Station, City, State
//   drivolex_workorder_extra WorkOrderID -> Tags
//   drivolex_vehicle_extra   VehicleID -> Make, Model, SerialNum
// City, State, Make, Model and SerialNum hold the whole text only where the record's
// own field could not (it holds the cut text, or none for a State that is no state
// code); they are null where the record's field holds the whole text. A file
// without these tables reads as one where nothing was kept aside.
namespace importing {

struct FuelExtra {
    QString note;
    QString tags;
    QString station;
    QString city;  // the whole city when FuelCity holds it cut
    QString state; // the whole text when FuelState could not hold it
    bool isEmpty() const;
};

struct WorkOrderExtra {
    QString tags;
    bool isEmpty() const { return tags.isEmpty(); }
};

struct VehicleExtra {
    QString make;
    QString model;
    QString serialNum;
    bool isEmpty() const { return make.isEmpty() && model.isEmpty() && serialNum.isEmpty(); }
};

// Makes the tables the file lacks, inside the caller's write transaction.
void createExtraTables(sqlite3* db, const store::SqlErrorContext& context);

// Writes extra rows inside the caller's transaction, the tables made with the first
// one; one prepared insert per table for the whole import. Empty extras write nothing.
class ExtraWriter {
public:
    ExtraWriter(sqlite3* db, const store::SqlErrorContext& context);
    void addFuel(qint64 fuelId, const FuelExtra& extra);
    void addWorkOrder(qint64 workOrderId, const WorkOrderExtra& extra);
    void addVehicle(qint64 vehicleId, const VehicleExtra& extra);

private:
    store::Statement& prepared(store::Statement& insert, const QString& sql);
    void run(store::Statement& insert);

    sqlite3* m_db;
    store::SqlErrorContext m_context;
    bool m_made = false;
    store::Statement m_fuel;
    store::Statement m_workOrder;
    store::Statement m_vehicle;
};

// The kept values of one vehicle's rows, by the row's key (none without the tables).
// Throws the store's error when the file cannot be read.
std::map<qint64, FuelExtra> fuelExtras(sqlite3* db, qint64 vehicleId);
std::map<qint64, WorkOrderExtra> workOrderExtras(sqlite3* db, qint64 vehicleId);
// Every vehicle's kept values, by VehicleID.
std::map<qint64, VehicleExtra> vehicleExtras(sqlite3* db);

} // namespace importing
