#pragma once

#include "values/Currency.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// What a reader makes of another program's file (or of our own export), before anything
// is compared with or written to a database: rows in the units the store holds (US
// gallons, miles, dollars), each with the file line it came from.
//
// Text fields: a null QString is NULL in the file, an empty one ''. Readers of other
// programs' files give null for an empty field, as the record windows store it.
namespace exchange {

// A vehicle as the file names it.
struct ImportedVehicle {
    int line = 0; // 0 when the file has no vehicle rows (a one-vehicle file)
    QString name; // the file's name for it: a new vehicle's Look Up comes from it
    QString make;
    QString model;
    std::optional<int> year;
    QString serialNum;
};

// One fuel purchase.
struct ImportedFuel {
    int line = 0;
    QString vehicle;                // the ImportedVehicle::name it belongs to
    std::optional<QDateTime> date;  // the store's wall-clock value (Qt::UTC)
    std::optional<double> gallons;  // US gallons
    std::optional<double> odometer; // miles
    bool full = true;
    bool missed = false;                  // a fill-up before this one was not recorded
    std::optional<values::Currency> cost; // the purchase's total
    QString city;
    QString state;
    // What the six tables cannot hold; kept aside by the import, given back by our export.
    QString note;
    QString tags;
    QString station;
};

struct ImportedPart {
    QString number;
    QString description;
    std::optional<values::Currency> cost; // per piece
    std::optional<int> qty;
};

// When a service is next due, as a peer's reminder keeps it (Fuelio's costs); kept
// aside like a fuel row's tags until the program has reminders of its own.
struct ImportedReminder {
    std::optional<qint64> mileage;     // due at this odometer (miles)
    std::optional<QDateTime> date;     // due on this day
    std::optional<qint64> repeatMiles; // then again every so many miles
    std::optional<int> repeatMonths;   // or every so many months
};

// One service visit: a work order with its services, parts and note. Where a peer's file
// gives a visit's total cost rather than its parts (aCar events, Fuelio costs, LubeLogger
// services, Spritmonitor costs, Drivvo services), the total is one part: the visit's title
// as description, quantity 1, the total as its cost.
struct ImportedWorkOrder {
    int line = 0;
    QString vehicle;
    std::optional<QDateTime> date;
    std::optional<qint64> mileage;
    QStringList services; // one service row each, in order
    std::vector<ImportedPart> parts;
    std::optional<QString> note;              // the order's memo row; none when the order has none
    QString tags;                             // kept aside, as a fuel row's
    std::optional<ImportedReminder> reminder; // none when the file keeps none
};

// A row that cannot come in, or comes in with something the user must see.
struct RowProblem {
    int line = 0;    // the file line; 0 for the file as a whole
    QString message; // "date '31/02/2021' is not a day"
};

struct ImportedFile {
    QString formatId; // the reader's id: "fuelly", "acar", ... (see ImportFormats.h)
    std::vector<ImportedVehicle> vehicles; // every vehicle a row names, at least one
    std::vector<ImportedFuel> fuel;
    std::vector<ImportedWorkOrder> workOrders;
    std::vector<RowProblem> refusals; // rows left out, with why
    std::vector<RowProblem> warnings; // rows read with an assumption the user should see
    QString error; // the file cannot be read at all: "fuel.csv: line 3: ..."; empty when read
    bool ok() const { return error.isEmpty(); }
};

} // namespace exchange
