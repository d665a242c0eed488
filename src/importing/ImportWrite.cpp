#include "ImportPlan.h"

#include "FittedRows.h"
#include "RowWriter.h"
#include "backup/BackupFolder.h"
#include "reminders/ReminderStore.h"
#include "store/Connection.h"

#include <QHash>
#include <map>
#include <set>
#include <tuple>
#include <utility>

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

// The reminder a written order kept, as one of its vehicle: named after its first
// service as stored (so that a later order of that service does it), last done by it.
// What it repeats by without a due day or odometer falls due that far after the order.
// None without a service to name it, or with nothing to fall due by.
std::optional<reminders::Reminder> reminderOf(const exchange::ImportedWorkOrder& order,
                                              const FittedWorkOrder& fitted, qint64 vehicleId,
                                              qint64 workOrderId) {
    if (!order.reminder || fitted.services.isEmpty())
        return std::nullopt;
    const exchange::ImportedReminder& kept = *order.reminder;
    const QDate doneOn = fitted.date.date();
    reminders::Reminder reminder;
    reminder.vehicleId = vehicleId;
    reminder.name = fitted.services.front().trimmed();
    if (kept.date)
        reminder.dueDate = kept.date->date();
    else if (kept.repeatMonths && doneOn.isValid())
        reminder.dueDate = doneOn.addMonths(*kept.repeatMonths);
    reminder.dueMiles = kept.mileage;
    if (!reminder.dueMiles && kept.repeatMiles && fitted.mileage)
        reminder.dueMiles = *fitted.mileage + *kept.repeatMiles;
    reminder.repeatMiles = kept.repeatMiles;
    reminder.repeatMonths = kept.repeatMonths;
    if (doneOn.isValid())
        reminder.doneDate = doneOn;
    reminder.doneMiles = fitted.mileage;
    reminder.doneWorkOrderId = workOrderId;
    // Miles to repeat by and none to count them from: the day alone.
    if (reminder.repeatMiles && !reminder.dueMiles && reminder.dueDate)
        reminder.repeatMiles.reset();
    if (!reminders::reminderProblem(reminder).isEmpty())
        return std::nullopt;
    return reminder;
}

// Where an order stands among a vehicle's orders: by date, then odometer, then file line.
struct OrderPlace {
    QDateTime date;
    qint64 mileage = -1;
    int line = 0;
    bool operator<(const OrderPlace& other) const {
        return std::tie(date, mileage, line) < std::tie(other.date, other.mileage, other.line);
    }
};

} // namespace

int ImportPlan::remindersTaken() const {
    QHash<QString, const PlannedVehicle*> vehicleOf;
    for (const PlannedVehicle& vehicle : vehicles)
        if (!vehicleOf.contains(vehicle.sourceName))
            vehicleOf.insert(vehicle.sourceName, &vehicle);
    std::set<std::pair<QString, QString>> services; // Look Up and service, letter case aside
    for (const PlannedRow& row : rows) {
        if (!written(row) || row.kind != RowKind::WorkOrder)
            continue;
        const exchange::ImportedWorkOrder& order = file.workOrders[size_t(row.index)];
        const PlannedVehicle* vehicle = vehicleOf.value(order.vehicle);
        if (!vehicle || !vehicle->refusal.isEmpty())
            continue;
        const FittedWorkOrder fitted = fitWorkOrder(order);
        if (!fitted.refusal.isEmpty())
            continue;
        // Any stored vehicle and order will do to tell whether it can be stored.
        if (const std::optional<reminders::Reminder> reminder = reminderOf(order, fitted, 1, 1))
            services.emplace(vehicle->lookUp.toCaseFolded(), reminder->name.toCaseFolded());
    }
    return int(services.size());
}

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

    // The reminder of each vehicle's service from its latest order.
    std::map<std::pair<qint64, QString>, std::optional<std::pair<OrderPlace, reminders::Reminder>>>
        latestReminder;
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
            const exchange::ImportedWorkOrder& order = plan.file.workOrders[size_t(row.index)];
            const FittedWorkOrder fitted = fitWorkOrder(order);
            if (!fitted.refusal.isEmpty())
                continue;
            const qint64 orderId = writer.addWorkOrder(vehicleId, fitted);
            ++result.workOrdersWritten;
            if (std::optional<reminders::Reminder> reminder =
                    reminderOf(order, fitted, vehicleId, orderId)) {
                const OrderPlace place{fitted.date, fitted.mileage.value_or(-1), order.line};
                auto& latest = latestReminder[{vehicleId, reminder->name.toCaseFolded()}];
                if (!latest || latest->first < place)
                    latest = std::make_pair(place, std::move(*reminder));
            }
        }
        ++done;
        if (progress && done % kProgressEvery == 0 && !progress(done, total)) {
            // The transaction rolls back as it goes: the file is as it was.
            return ImportResult{true, 0, 0, 0, result.backupPath};
        }
    }
    if (progress && !progress(done, total))
        return ImportResult{true, 0, 0, 0, result.backupPath};
    const store::SqlErrorContext reminderContext{
        databasePath, QStringLiteral("drivolex_reminder"), false, {}};
    for (const auto& [key, latest] : latestReminder) {
        reminders::insertReminder(db, latest->second, reminderContext);
        ++result.remindersWritten;
    }
    transaction.commit();
    return result;
}

} // namespace importing
