#pragma once

#include "ExtraTables.h"
#include "exchange/ImportedRows.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// A row of the file made to fit the store's fields: the values the record tables get,
// what is kept aside, and why the row cannot come in at all. Nothing is ever cut or
// left out silently: each change is a warning naming the field, the value and the
// limit, and the whole text stays in the file.
//
// Where the whole text goes: a fuel row's City and State to drivolex_fuel_extra; a
// vehicle's Make, Model and serial number to drivolex_vehicle_extra; a work order's
// service, part number and part description to lines appended to its note (a note
// is made when the order has none), one line each, such as
//   "Service in full: Replace front brake pads and resurface both rotors, ..."
//   "Part number in full: ACD-41-993-XL-2024"
//   "Part description in full: Air filter, high flow, washable"
// since the note is where the user reads an order's whole story.
namespace importing {

struct FittedFuel {
    QString refusal; // why the row cannot come in ("gallons -3 is negative"); empty when it can
    QStringList warnings;
    QDateTime date;
    std::optional<float> gallons;
    std::optional<float> odometer;
    bool full = true;
    bool missed = false;
    std::optional<values::Currency> cost;
    QString city;
    QString state;
    FuelExtra extra;
};
FittedFuel fitFuel(const exchange::ImportedFuel& row);

struct FittedPart {
    QString number;
    QString description;
    std::optional<values::Currency> cost;
    std::optional<int> qty;
};

struct FittedWorkOrder {
    QString refusal;
    QStringList warnings;
    QDateTime date;
    std::optional<qint64> mileage;
    QStringList services;
    std::vector<FittedPart> parts;
    std::optional<QString> note;
    WorkOrderExtra extra;
};
FittedWorkOrder fitWorkOrder(const exchange::ImportedWorkOrder& row);

struct FittedVehicle {
    QStringList warnings;
    QString make;
    QString model;
    std::optional<int> year;
    QString serialNum;
    VehicleExtra extra;
};
FittedVehicle fitVehicle(const exchange::ImportedVehicle& vehicle);

// The size of a Text field of the program's layout ("VehicleInfo", "VehicleLookup": 10).
int textFieldSize(const char* table, const char* field);
// Characters as the store counts them (a surrogate pair is one), and a text cut to
// at most that many without splitting a pair.
qsizetype characterCount(const QString& text);
QString cutToCharacters(const QString& text, qsizetype size);

} // namespace importing
