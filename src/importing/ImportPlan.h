#pragma once

#include "exchange/ImportedRows.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

struct sqlite3;

// What an import will do to a database, worked out before anything is written (the
// preview), and the writing itself. Shared by the import window and drivolex-cli.
namespace importing {

// Where the rows of one of the file's vehicles go.
struct VehicleTarget {
    QString sourceName;               // ImportedVehicle::name
    std::optional<qint64> existingId; // an existing vehicle the user chose
    QString newLookup;                // otherwise a new vehicle with this Look Up
    // A file name longer than the Look Up's 10 characters is cut only when the user
    // says so; until then the vehicle's rows are refused with the reason.
    bool cutAllowed = false;
};

// The targets a file gets without the user's say: an existing vehicle whose Look Up
// equals the file's name (letter case aside), otherwise a new one named after it.
std::vector<VehicleTarget> defaultTargets(sqlite3* db, const exchange::ImportedFile& file);

enum class RowStatus {
    New,       // will be written
    Duplicate, // same vehicle, date and odometer as a stored row (or an earlier row of the
               // file): skipped unless the user takes it in
    Refused,   // cannot come in: the reason says why
};

enum class RowKind { Fuel, WorkOrder, Refused };

// One line of the preview.
struct PlannedRow {
    int line = 0;
    RowKind kind = RowKind::Fuel;
    int index = -1;  // into the file's fuel or workOrders (or refusals for Refused)
    QString vehicle; // the Look Up it goes to
    QString becomes; // "fuel purchase: 3/15/2024, 12.5 gal, 45,210 mi, $43.10"
    RowStatus status = RowStatus::New;
    QString reason;       // why refused or duplicate: "line 214: date '31/02/2021' is not a day"
    QStringList warnings; // "City 'Saint-Jean-sur-Richelieu Ouest' is longer than 20 characters"
    bool take = true;     // New rows are taken, duplicates not; the user may change that
};

// A file vehicle as the plan resolved its target: where its rows go, or why they
// cannot come in. One per target, in the targets' order.
struct PlannedVehicle {
    QString sourceName;
    std::optional<qint64> existingId; // a stored vehicle (chosen, or whose Look Up it has)
    QString lookUp;                   // the Look Up the rows go to, stored or new
    QString refusal; // "Look Up 'My Long Car Name' is longer than 10 characters"; empty: fine
    bool isNew() const { return !existingId; }
};

struct ImportPlan {
    exchange::ImportedFile file;
    std::vector<VehicleTarget> targets;
    std::vector<PlannedVehicle> vehicles; // worked out from targets: plan again when they change
    std::vector<PlannedRow> rows;         // in file line order
    // What the user should see about the file as a whole and its vehicles: the reader's
    // warnings without a line, a Look Up cut or met again, a vehicle's text cut.
    QStringList warnings;
    int count(RowStatus status) const;
    int taken() const; // rows that will be written
    // The reminders the taken work orders bring (Fuelio's costs): one per vehicle and
    // service, as writeImport stores them.
    int remindersTaken() const;
};

// Compares the file with the database (read only): every row's status, reason and
// warnings. Each stored vehicle the rows go to has its fuel rows and work orders read
// once. Values that do not fit their fields are cut (or, for a State, left empty) with
// a warning and kept whole aside (see FittedRows.h). Throws the store's error when
// the database cannot be read.
ImportPlan planImport(sqlite3* db, exchange::ImportedFile file, std::vector<VehicleTarget> targets);

// Told how far the writing has come; returning false cancels it.
using ImportProgress = std::function<bool(int done, int total)>;

struct ImportResult {
    bool cancelled = false;
    int fuelWritten = 0;
    int workOrdersWritten = 0;
    int vehiclesMade = 0;
    QString backupPath; // the copy taken before writing
    // Reminders the file kept with its services (Fuelio's costs), one per vehicle and
    // service: the latest written order's.
    int remindersWritten = 0;
};

// Takes a copy of the database first (the online backup API, into the file's backup
// folder), then writes every taken row, new vehicles, missed marks and the values kept
// aside in one transaction. Refused rows are never written, whatever their take. A new
// vehicle is made when rows of it are written or the file lists it without rows.
// A written order's reminder becomes a reminder of its vehicle named after its first
// service, last done by that order; of several orders of a vehicle with reminders of
// the same service, the latest one's is kept (the others were before it).
// Progress is told every 500 rows and at the end. Cancel or any failure leaves the
// file exactly as before (a failure throws the store's error); a cancelled result
// counts nothing written and still names the copy.
ImportResult writeImport(sqlite3* db, const QString& databasePath, const ImportPlan& plan,
                         const ImportProgress& progress = {});

} // namespace importing
