#include "ImportPlan.h"

#include "FittedRows.h"
#include "RowWriter.h"
#include "backup/BackupFolder.h"
#include "store/Connection.h"

#include <QHash>

namespace importing {

namespace {

// How often the writing tells how far it has come (and may be cancelled).
constexpr int kProgressEvery = 500;

const QString& vehicleNameOf(const ImportPlan& plan, const PlannedRow& row) {
    return row.kind == RowKind::Fuel ? plan.file.fuel[size_t(row.index)].vehicle
                                     : plan.file.workOrders[size_t(row.index)].vehicle;
}

bool written(const PlannedRow& row) {
    return row.take && row.status != RowStatus::Refused && row.kind != RowKind::Refused;
}

} // namespace

ImportResult writeImport(sqlite3* db, const QString& databasePath, const ImportPlan& plan,
                         const ImportProgress& progress) {
    ImportResult result;
    result.backupPath = backup::takeBackup(databasePath, backup::Reason::BeforeImport,
                                           QDateTime::currentDateTime());

    QHash<QString, int> vehicleOf; // source name -> index into plan.vehicles
    for (int i = 0; i < int(plan.vehicles.size()); ++i)
        if (!vehicleOf.contains(plan.vehicles[size_t(i)].sourceName))
            vehicleOf.insert(plan.vehicles[size_t(i)].sourceName, i);
    // A new vehicle is made when rows of it are written, or when the file lists it
    // without any rows (a file of vehicles only).
    std::vector<bool> hasRows(plan.vehicles.size(), false), hasWritten(plan.vehicles.size(), false);
    int total = 0;
    for (const PlannedRow& row : plan.rows) {
        if (row.kind == RowKind::Refused)
            continue;
        const auto index = vehicleOf.constFind(vehicleNameOf(plan, row));
        if (index == vehicleOf.cend())
            continue;
        hasRows[size_t(*index)] = true;
        if (written(row) && plan.vehicles[size_t(*index)].refusal.isEmpty()) {
            hasWritten[size_t(*index)] = true;
            ++total;
        }
    }

    const store::SqlErrorContext context{databasePath, QStringLiteral("Fuel"), false, {}};
    store::Transaction transaction(db, context);
    RowWriter writer(db, context);

    std::vector<qint64> vehicleIds(plan.vehicles.size(), 0);
    QHash<QString, qint64> madeByLookUp; // new vehicles sharing a Look Up are one
    for (size_t i = 0; i < plan.vehicles.size(); ++i) {
        const PlannedVehicle& vehicle = plan.vehicles[i];
        if (!vehicle.refusal.isEmpty())
            continue;
        if (vehicle.existingId) {
            vehicleIds[i] = *vehicle.existingId;
            continue;
        }
        if (!hasWritten[i] && hasRows[i])
            continue;
        const QString folded = vehicle.lookUp.toCaseFolded();
        if (const auto made = madeByLookUp.constFind(folded); made != madeByLookUp.cend()) {
            vehicleIds[i] = *made;
            continue;
        }
        exchange::ImportedVehicle source;
        source.name = vehicle.sourceName;
        for (const exchange::ImportedVehicle& listed : plan.file.vehicles)
            if (listed.name == vehicle.sourceName) {
                source = listed;
                break;
            }
        vehicleIds[i] = writer.addVehicle(vehicle.lookUp, fitVehicle(source));
        madeByLookUp.insert(folded, vehicleIds[i]);
        ++result.vehiclesMade;
    }

    int done = 0;
    for (const PlannedRow& row : plan.rows) {
        if (!written(row))
            continue;
        const auto index = vehicleOf.constFind(vehicleNameOf(plan, row));
        if (index == vehicleOf.cend() || vehicleIds[size_t(*index)] == 0)
            continue;
        const qint64 vehicleId = vehicleIds[size_t(*index)];
        if (row.kind == RowKind::Fuel) {
            const FittedFuel fitted = fitFuel(plan.file.fuel[size_t(row.index)]);
            if (!fitted.refusal.isEmpty())
                continue; // the plan was made from other rows: never write what it refuses
            writer.addFuel(vehicleId, fitted);
            ++result.fuelWritten;
        } else {
            const FittedWorkOrder fitted = fitWorkOrder(plan.file.workOrders[size_t(row.index)]);
            if (!fitted.refusal.isEmpty())
                continue;
            writer.addWorkOrder(vehicleId, fitted);
            ++result.workOrdersWritten;
        }
        ++done;
        if (progress && done % kProgressEvery == 0 && !progress(done, total)) {
            // The transaction rolls back as it goes: the file is as it was.
            return ImportResult{true, 0, 0, 0, result.backupPath};
        }
    }
    if (progress && !progress(done, total))
        return ImportResult{true, 0, 0, 0, result.backupPath};
    transaction.commit();
    return result;
}

} // namespace importing
