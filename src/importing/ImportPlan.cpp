#include "ImportPlan.h"

#include "Duplicates.h"
#include "FittedRows.h"
#include "RowText.h"
#include "store/Statement.h"

#include <QHash>
#include <algorithm>
#include <sqlite3.h>

namespace importing {

namespace {

struct StoredVehicle {
    qint64 id = 0;
    QString lookUp;
};

// Every stored vehicle by its Look Up, letter case aside (the first of equal ones).
struct StoredVehicles {
    QHash<QString, StoredVehicle> byLookUp;
    QHash<qint64, QString> lookUpOf;
};

StoredVehicles readVehicles(sqlite3* db) {
    const store::SqlErrorContext context{QString::fromUtf8(sqlite3_db_filename(db, "main")),
                                         QStringLiteral("VehicleInfo"),
                                         false,
                                         {}};
    store::Statement stmt(
        db, QStringLiteral("SELECT VehicleID, VehicleLookup FROM VehicleInfo ORDER BY VehicleID"),
        context);
    StoredVehicles vehicles;
    int rc;
    while ((rc = stmt.step()) == SQLITE_ROW) {
        const StoredVehicle vehicle{stmt.columnInt64(0), stmt.columnText(1)};
        const QString folded = vehicle.lookUp.toCaseFolded();
        if (!vehicles.byLookUp.contains(folded))
            vehicles.byLookUp.insert(folded, vehicle);
        vehicles.lookUpOf.insert(vehicle.id, vehicle.lookUp);
    }
    store::checkSqlite(db, rc, context);
    return vehicles;
}

const int kLookUpSize = textFieldSize("VehicleInfo", "VehicleLookup");

PlannedVehicle resolve(const VehicleTarget& target, const StoredVehicles& stored,
                       QStringList& warnings) {
    PlannedVehicle vehicle;
    vehicle.sourceName = target.sourceName;
    if (target.existingId) {
        const auto found = stored.lookUpOf.constFind(*target.existingId);
        if (found == stored.lookUpOf.cend())
            vehicle.refusal = QStringLiteral("the chosen vehicle (key %1) is not in the database")
                                  .arg(*target.existingId);
        else {
            vehicle.existingId = target.existingId;
            vehicle.lookUp = *found;
        }
        return vehicle;
    }
    QString lookUp = target.newLookup.trimmed();
    if (lookUp.isEmpty()) {
        vehicle.refusal =
            QStringLiteral("the new vehicle for '%1' has no Look Up").arg(target.sourceName);
        return vehicle;
    }
    if (characterCount(lookUp) > kLookUpSize) {
        const QString tooLong = QStringLiteral("Look Up '%1' is longer than %2 characters")
                                    .arg(lookUp)
                                    .arg(kLookUpSize);
        if (!target.cutAllowed) {
            vehicle.refusal = tooLong;
            return vehicle;
        }
        lookUp = cutToCharacters(lookUp, kLookUpSize);
        warnings << tooLong + QStringLiteral(": cut to '%1'").arg(lookUp);
    }
    const auto existing = stored.byLookUp.constFind(lookUp.toCaseFolded());
    if (existing != stored.byLookUp.cend()) {
        vehicle.existingId = existing->id;
        vehicle.lookUp = existing->lookUp;
        warnings << QStringLiteral("Look Up '%1' is a vehicle of the database already: the rows "
                                   "of '%2' go to it")
                        .arg(existing->lookUp, target.sourceName);
        return vehicle;
    }
    vehicle.lookUp = lookUp;
    return vehicle;
}

QString withLine(int line, const QString& text) {
    return line > 0 ? QStringLiteral("line %1: %2").arg(line).arg(text) : text;
}

} // namespace

int ImportPlan::count(RowStatus status) const {
    return int(std::count_if(rows.begin(), rows.end(),
                             [status](const PlannedRow& row) { return row.status == status; }));
}

int ImportPlan::taken() const {
    return int(std::count_if(rows.begin(), rows.end(), [](const PlannedRow& row) {
        return row.take && row.status != RowStatus::Refused;
    }));
}

std::vector<VehicleTarget> defaultTargets(sqlite3* db, const exchange::ImportedFile& file) {
    const StoredVehicles stored = readVehicles(db);
    std::vector<VehicleTarget> targets;
    for (const exchange::ImportedVehicle& vehicle : file.vehicles) {
        VehicleTarget target;
        target.sourceName = vehicle.name;
        const auto existing = stored.byLookUp.constFind(vehicle.name.trimmed().toCaseFolded());
        if (existing != stored.byLookUp.cend())
            target.existingId = existing->id;
        else
            target.newLookup = vehicle.name.trimmed();
        targets.push_back(target);
    }
    return targets;
}

ImportPlan planImport(sqlite3* db, exchange::ImportedFile file,
                      std::vector<VehicleTarget> targets) {
    ImportPlan plan;
    plan.file = std::move(file);
    plan.targets = std::move(targets);
    const exchange::ImportedFile& source = plan.file;
    const StoredVehicles stored = readVehicles(db);

    // Where each file vehicle's rows go; vehicles going to one stored vehicle, or to
    // one new Look Up, share a slot, so that their rows are compared with each other.
    QHash<QString, int> vehicleOf; // source name -> index into plan.vehicles
    QHash<QString, int> slotOf;    // "#id" or the new Look Up, case folded
    std::vector<int> vehicleSlots;
    for (const VehicleTarget& target : plan.targets) {
        PlannedVehicle vehicle = resolve(target, stored, plan.warnings);
        const QString slotName = vehicle.existingId ? u'#' + QString::number(*vehicle.existingId)
                                                    : vehicle.lookUp.toCaseFolded();
        if (!slotOf.contains(slotName))
            slotOf.insert(slotName, int(slotOf.size()));
        vehicleSlots.push_back(slotOf.value(slotName));
        if (!vehicleOf.contains(vehicle.sourceName))
            vehicleOf.insert(vehicle.sourceName, int(plan.vehicles.size()));
        plan.vehicles.push_back(std::move(vehicle));
    }
    for (const exchange::ImportedVehicle& vehicle : source.vehicles) {
        const auto index = vehicleOf.constFind(vehicle.name);
        if (index == vehicleOf.cend() || !plan.vehicles[size_t(*index)].refusal.isEmpty() ||
            !plan.vehicles[size_t(*index)].isNew())
            continue;
        for (const QString& warning : fitVehicle(vehicle).warnings)
            plan.warnings << QStringLiteral("Vehicle '%1': %2").arg(vehicle.name, warning);
    }
    for (const exchange::RowProblem& warning : source.warnings)
        if (warning.line <= 0)
            plan.warnings << warning.message;

    // Every row in file line order, the reader's refusals among them.
    plan.rows.reserve(source.fuel.size() + source.workOrders.size() + source.refusals.size());
    const auto addRow = [&plan](int line, RowKind kind, size_t index) {
        PlannedRow row;
        row.line = line;
        row.kind = kind;
        row.index = int(index);
        plan.rows.push_back(std::move(row));
    };
    for (size_t i = 0; i < source.fuel.size(); ++i)
        addRow(source.fuel[i].line, RowKind::Fuel, i);
    for (size_t i = 0; i < source.workOrders.size(); ++i)
        addRow(source.workOrders[i].line, RowKind::WorkOrder, i);
    for (size_t i = 0; i < source.refusals.size(); ++i)
        addRow(source.refusals[i].line, RowKind::Refused, i);
    const auto byLine = [](const PlannedRow& a, const PlannedRow& b) { return a.line < b.line; };
    if (!std::is_sorted(plan.rows.begin(), plan.rows.end(), byLine))
        std::stable_sort(plan.rows.begin(), plan.rows.end(), byLine);

    Duplicates duplicates;
    std::vector<int> matches(plan.rows.size(), -1);
    std::unordered_map<qint64, int> storedSlots; // stored vehicle -> slot, where rows go
    const auto refuse = [](PlannedRow& row, const QString& reason) {
        row.status = RowStatus::Refused;
        row.reason = withLine(row.line, reason);
        row.take = false;
    };
    for (size_t r = 0; r < plan.rows.size(); ++r) {
        PlannedRow& row = plan.rows[r];
        if (row.kind == RowKind::Refused) {
            refuse(row, source.refusals[size_t(row.index)].message);
            continue;
        }
        const bool fuel = row.kind == RowKind::Fuel;
        const QString& name = fuel ? source.fuel[size_t(row.index)].vehicle
                                   : source.workOrders[size_t(row.index)].vehicle;
        const auto vehicleIndex = vehicleOf.constFind(name);
        if (vehicleIndex == vehicleOf.cend()) {
            refuse(row, QStringLiteral("no vehicle is chosen for '%1'").arg(name));
            continue;
        }
        const PlannedVehicle& vehicle = plan.vehicles[size_t(*vehicleIndex)];
        const int slot = vehicleSlots[size_t(*vehicleIndex)];
        row.vehicle = vehicle.lookUp;
        if (fuel) {
            FittedFuel fitted = fitFuel(source.fuel[size_t(row.index)]);
            if (!fitted.refusal.isEmpty()) {
                refuse(row, fitted.refusal);
                continue;
            }
            row.becomes = fuelText(fitted);
            row.warnings = std::move(fitted.warnings);
            if (vehicle.refusal.isEmpty())
                matches[r] = duplicates.addFuel(slot, fitted.date, fitted.odometer, int(r));
        } else {
            FittedWorkOrder fitted = fitWorkOrder(source.workOrders[size_t(row.index)]);
            if (!fitted.refusal.isEmpty()) {
                refuse(row, fitted.refusal);
                continue;
            }
            row.becomes = workOrderText(fitted);
            row.warnings = std::move(fitted.warnings);
            if (vehicle.refusal.isEmpty())
                matches[r] = duplicates.addWorkOrder(slot, fitted.date, fitted.mileage, int(r));
        }
        if (!vehicle.refusal.isEmpty()) {
            refuse(row, vehicle.refusal);
            continue;
        }
        if (vehicle.existingId)
            storedSlots.emplace(*vehicle.existingId, slot);
    }

    duplicates.readStored(db, storedSlots);

    // Our own export holds what a database held, two equal rows of it included: only
    // another program's file repeating a row is taken for a mistake.
    const bool ownExport = source.formatId == QLatin1String("drivolex");
    for (size_t r = 0; r < plan.rows.size(); ++r) {
        if (matches[r] < 0)
            continue;
        const Duplicates::Match* match = &duplicates.match(matches[r]);
        if (!match->stored && (match->firstRow == int(r) || ownExport))
            continue;
        PlannedRow& row = plan.rows[r];
        const bool fuel = row.kind == RowKind::Fuel;
        row.status = RowStatus::Duplicate;
        row.take = false;
        if (match->stored)
            row.reason = withLine(
                row.line,
                QStringLiteral("'%1' has a %2 of that day and %3 "
                               "already")
                    .arg(row.vehicle,
                         fuel ? QStringLiteral("fuel purchase") : QStringLiteral("work order"),
                         fuel ? QStringLiteral("odometer") : QStringLiteral("mileage")));
        else
            row.reason = withLine(
                row.line, QStringLiteral("the same day and %1 as line %2")
                              .arg(fuel ? QStringLiteral("odometer") : QStringLiteral("mileage"))
                              .arg(plan.rows[size_t(match->firstRow)].line));
    }

    // The reader's warnings go with the rows of their line.
    if (!source.warnings.empty()) {
        QHash<int, std::vector<size_t>> rowsOfLine;
        for (size_t r = 0; r < plan.rows.size(); ++r)
            rowsOfLine[plan.rows[r].line].push_back(r);
        for (const exchange::RowProblem& warning : source.warnings)
            if (warning.line > 0)
                for (size_t r : rowsOfLine.value(warning.line))
                    plan.rows[r].warnings.prepend(warning.message);
    }
    return plan;
}

} // namespace importing
