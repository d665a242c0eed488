#pragma once

#include "values/Currency.h"

#include <QDateTime>
#include <QHash>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// What the formats of other programs are written from: vehicles, their work orders put
// together from their tables, and the values the program keeps aside of the six tables.
namespace exporting {

class ExportRun;

struct ExportedVehicle {
    qint64 id = 0;
    QString lookUp;
    QString model;
};
// The vehicles that go out, in key order.
std::vector<ExportedVehicle> exportedVehicles(const ExportRun& run);

// A fuel row's values kept aside (drivolex_fuel_extra); none without the table.
struct FuelExtra {
    QString note;
    QString tags;
    QString station;
};
QHash<qint64, FuelExtra> fuelExtras(const ExportRun& run);

struct OrderPart {
    QString number;
    QString description;
    std::optional<values::Currency> cost; // per piece
    std::optional<int> qty;
};

struct OrderRows {
    qint64 id = 0;
    QDateTime date; // invalid without one
    std::optional<qint64> mileage;
    QStringList services; // in key order
    std::vector<OrderPart> parts;
    QString note;
    QString tags;
    // Qty x cost of each part (none without a quantity or cost), in 1/10000 dollar.
    qint64 partsTotal() const;
};
// One vehicle's work orders in date order (then key order).
std::vector<OrderRows> workOrdersOf(const ExportRun& run, qint64 vehicleId);

// Number texts of the other formats: plain decimals, never an exponent.
QString singleText(std::optional<float> value);
QString currencyText(std::optional<values::Currency> value);

} // namespace exporting
