#include "Schema.h"

#include "Database.h"
#include "StoreErrors.h"

namespace store::schema {

namespace {

constexpr int kCascade = dbRelationUpdateCascade | dbRelationDeleteCascade;

} // namespace

const std::vector<TableLayout>& tables() {
    // Field order, names (letter case included), types and sizes as the files hold them;
    // the key is not always the first field.
    static const std::vector<TableLayout> all = {
        {"Fuel",
         {{"FuelDate", FieldType::Date},
          {"FuelGals", FieldType::Single},
          {"FuelMiles", FieldType::Single},
          {"FuelFull", FieldType::Boolean},
          {"FuelCost", FieldType::Currency},
          {"FuelCity", FieldType::Text, 20},
          {"FuelState", FieldType::Text, 2},
          {"FuelId", FieldType::Long, 0, true},
          {"VehicleID", FieldType::Long}},
         "FuelID"},
        {"PartsUsed",
         {{"PartID", FieldType::Long, 0, true},
          {"PartNum", FieldType::Text, 15},
          {"PartDescription", FieldType::Text, 24},
          {"PartCost", FieldType::Currency},
          {"WorkOrderId", FieldType::Long},
          {"PartQty", FieldType::Integer}},
         "PartID"},
        {"VehicleInfo",
         {{"VehicleLookup", FieldType::Text, 10},
          {"VehicleID", FieldType::Long, 0, true},
          {"VehicleMake", FieldType::Text, 15},
          {"VehicleModel", FieldType::Text, 15},
          {"VehicleYear", FieldType::Integer},
          {"VehicleSerialNum", FieldType::Text, 25}},
         "VehicleID"},
        {"WorkDone",
         {{"WorkOrderID", FieldType::Long},
          {"WorkDoneID", FieldType::Long, 0, true},
          {"WorkDescription", FieldType::Text, 50}},
         "WorkDoneID"},
        {"WorkOrder",
         {{"VehicleID", FieldType::Long},
          {"WorkOrderID", FieldType::Long, 0, true},
          {"Mileage", FieldType::Long},
          {"Date", FieldType::Date}},
         "WorkOrderID"},
        // The notes table's key is the owning order's key: at most one notes row per order.
        {"WorkOrderMemo",
         {{"WorkOrderMemo", FieldType::Memo, 0}, {"WorkOrderID", FieldType::Long}},
         "WorkOrderID"},
    };
    return all;
}

const TableLayout& table(const QString& name) {
    for (const TableLayout& layout : tables())
        if (name.compare(QLatin1String(layout.name), Qt::CaseInsensitive) == 0)
            return layout;
    raise(errTableNotFound, QStringLiteral("There is no table '%1' in the layout.").arg(name));
}

const std::vector<RelationLayout>& relations() {
    static const std::vector<RelationLayout> all = {
        {"VehicleInfoFuel", "VehicleInfo", "Fuel", "VehicleID", kCascade},
        {"VehicleInfoWorkOrder", "VehicleInfo", "Workorder", "VehicleID", kCascade},
        {"WorkOrderWorkDone", "WorkOrder", "WorkDone", "WorkOrderID", kCascade},
        {"WorkOrderPartsUsed", "WorkOrder", "PartsUsed", "WorkOrderID", kCascade},
        {"WorkOrderWorkOrderMemo", "WorkOrder", "WorkOrderMemo", "WorkOrderID",
         kCascade | dbRelationUnique},
    };
    return all;
}

void verifyLayout(const Database& db) {
    const auto notOurs = [&](const QString& what) {
        raise(errNotADatabase,
              QStringLiteral("'%1' is not a Drivolex database: %2.").arg(db.path(), what));
    };
    for (const TableLayout& layout : tables()) {
        const auto stored = db.tableDef(QLatin1String(layout.name));
        if (!stored)
            notOurs(QStringLiteral("table '%1' is missing").arg(QLatin1String(layout.name)));
        for (const FieldLayout& field : layout.fields) {
            const FieldDef* found = stored->field(QLatin1String(field.name));
            if (!found)
                notOurs(QStringLiteral("field '%1' of table '%2' is missing")
                            .arg(QLatin1String(field.name), QLatin1String(layout.name)));
            if (found->type != field.type)
                notOurs(QStringLiteral("field '%1' of table '%2' has another type")
                            .arg(QLatin1String(field.name), QLatin1String(layout.name)));
        }
    }
}

std::shared_ptr<Database> openProgramDatabase(const QString& path) {
    verifyLayout(*Database::OpenDatabase(path, Database::Access::ReadOnly));
    return Database::OpenDatabase(path);
}

} // namespace store::schema
