#include "DeleteCaption.h"

#include "platform/AppError.h"
#include "store/Definitions.h"
#include "store/ValueConversion.h"

#include <sqlite3.h>

namespace undo {

QVariant storageValue(const StoredValue& value) {
    switch (value.type) {
    case SQLITE_INTEGER:
        return QVariant(value.integer);
    case SQLITE_FLOAT:
        return QVariant(value.real);
    case SQLITE_TEXT:
        return QVariant(QString::fromUtf8(value.bytes));
    case SQLITE_BLOB:
        return QVariant(value.bytes);
    default:
        return QVariant();
    }
}

namespace {

QString text(const StoredRows& rows, const char* column) {
    return storageValue(rows.topValue(QLatin1String(column))).toString().trimmed();
}

QString quotedName(const QString& kind, const QString& name) {
    return name.isEmpty() ? kind : kind + QLatin1String(" '") + name + QLatin1Char('\'');
}

// Shown as the fuel window shows it; a value another tool stored otherwise as it is.
QString dateText(const StoredValue& stored) {
    const store::FieldDef field(QStringLiteral("FuelDate"), store::FieldType::Date);
    try {
        return store::displayText(field, store::fromStorage(field, storageValue(stored)));
    } catch (const platform::AppError&) {
        return storageValue(stored).toString();
    }
}

bool is(const StoredRows& rows, const char* table) {
    return rows.top().name.compare(QLatin1String(table), Qt::CaseInsensitive) == 0;
}

} // namespace

QString deleteCaption(const StoredRows& rows, const OrderNumberText& orderNumber) {
    if (rows.isEmpty())
        return QString();
    const auto order = [&] {
        return orderNumber(storageValue(rows.topValue(QStringLiteral("WorkOrderID"))));
    };
    if (is(rows, "VehicleInfo"))
        return quotedName(QStringLiteral("Vehicle"), text(rows, "VehicleLookup"));
    if (is(rows, "WorkOrder"))
        return QStringLiteral("Work Order ") + order();
    if (is(rows, "Fuel"))
        return (QStringLiteral("Fuel Purchase ") +
                dateText(rows.topValue(QStringLiteral("FuelDate"))))
            .trimmed();
    if (is(rows, "WorkDone"))
        return quotedName(QStringLiteral("Service"), text(rows, "WorkDescription"));
    if (is(rows, "PartsUsed")) {
        const QString description = text(rows, "PartDescription");
        return quotedName(QStringLiteral("Part"),
                          description.isEmpty() ? text(rows, "PartNum") : description);
    }
    if (is(rows, "WorkOrderMemo"))
        return QStringLiteral("Note of Work Order ") + order();
    return QStringLiteral("Row of ") + rows.top().name;
}

} // namespace undo
