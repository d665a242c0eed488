#include "BenchFile.h"

#include "RawSqlite.h"
#include "platform/MsgBox.h"
#include "store/modCreateDB.h"

#include <QDate>
#include <cmath>
#include <cstdio>
#include <random>
#include <sqlite3.h>
#include <stdexcept>
#include <utility>
#include <vector>

namespace bench {

namespace {

const char* const kCities[] = {"Springfield", "Riverton", "Lakeside", "Fairview", "Greenville",
                               "Oak Ridge",   "Milford",  "Ashland",  "Clinton",  "Salem"};
const char* const kStates[] = {"OH", "PA", "NY", "IN", "MI", "KY", "WV", "IL", "WI", "IA"};
const char* const kServices[] = {"Oil and filter change", "Rotate tires",  "Replace wiper blades",
                                 "Brake inspection",      "Coolant flush", "Replace air filter"};
const char* const kParts[] = {"Oil filter", "Air filter", "Wiper blade",
                              "Brake pads", "Spark plug", "Coolant"};

// The store's own date text.
std::string dateText(const QDate& date) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d 00:00:00", date.year(), date.month(),
                  date.day());
    return text;
}

// One row to enter: which vehicle and which of its rows, in the order they are entered.
using Entry = std::pair<int, int>;

// Rows of all vehicles interleaved by time; every 97th entered 41 places late.
std::vector<Entry> entryOrder(int vehicles, int perVehicle) {
    std::vector<Entry> entries;
    entries.reserve(size_t(vehicles) * size_t(perVehicle));
    for (int i = 0; i < perVehicle; ++i)
        for (int v = 0; v < vehicles; ++v)
            entries.emplace_back(v, i);
    for (size_t k = 0; k + 41 < entries.size(); k += 97)
        std::swap(entries[k], entries[k + 41]);
    return entries;
}

void addVehicles(sqlite3* db, const FileShape& shape) {
    RawStatement insert(db,
                        "INSERT INTO VehicleInfo (VehicleID, VehicleLookup, VehicleMake, "
                        "VehicleModel, VehicleYear, VehicleSerialNum) VALUES (?, ?, ?, ?, ?, ?)");
    for (int v = 1; v <= shape.vehicles; ++v) {
        const std::string lookup = "Car " + std::to_string(v);
        const std::string serial = "1FTSN" + std::to_string(100000 + v);
        insert.bind(1, std::int64_t(v));
        insert.bind(2, lookup.c_str());
        insert.bind(3, "Ford");
        insert.bind(4, "Ranger");
        insert.bind(5, std::int64_t(1990 + v));
        insert.bind(6, serial.c_str());
        insert.step();
        insert.reset();
    }
}

void addFuel(sqlite3* db, const FileShape& shape, std::mt19937& random) {
    RawStatement insert(db, "INSERT INTO Fuel (FuelDate, FuelGals, FuelMiles, FuelFull, FuelCost, "
                            "FuelCity, FuelState, VehicleID) VALUES (?, ?, ?, ?, ?, ?, ?, ?)");
    std::uniform_int_distribution<int> extraMiles(0, 149);
    std::uniform_real_distribution<double> gallons(6.0, 16.0);
    std::uniform_int_distribution<int> pricePerGallon(25000, 40000); // scaled by 10000
    std::uniform_int_distribution<int> fifth(0, 4);
    std::uniform_int_distribution<int> place(0, 9);
    const QDate first(1955, 1, 1);
    for (const auto& [v, i] : entryOrder(shape.vehicles, shape.fuelPerVehicle)) {
        // Two fills a day at most: rows of one day sort by their miles. Odometers
        // rise with the row number, so a late entry still sorts into its place.
        const double reading = 1000.0 + 200.0 * i + extraMiles(random);
        const float gals = float(std::round(gallons(random) * 1000) / 1000);
        insert.bind(1, dateText(first.addDays(i / 2)).c_str());
        insert.bind(2, double(gals));
        insert.bind(3, double(float(reading)));
        insert.bind(4, std::int64_t(fifth(random) == 0 ? 0 : -1)); // one in five partial
        insert.bind(5, std::int64_t(std::llround(gals * pricePerGallon(random) / 100.0) * 100));
        insert.bind(6, kCities[place(random)]);
        insert.bind(7, kStates[place(random)]);
        insert.bind(8, std::int64_t(v + 1));
        insert.step();
        insert.reset();
    }
}

void addOrders(sqlite3* db, const FileShape& shape, std::mt19937& random) {
    RawStatement order(db, "INSERT INTO WorkOrder (VehicleID, Mileage, Date) VALUES (?, ?, ?)");
    RawStatement service(db, "INSERT INTO WorkDone (WorkOrderID, WorkDescription) VALUES (?, ?)");
    RawStatement part(db, "INSERT INTO PartsUsed (PartNum, PartDescription, PartCost, "
                          "WorkOrderId, PartQty) VALUES (?, ?, ?, ?, ?)");
    RawStatement memo(db, "INSERT INTO WorkOrderMemo (WorkOrderMemo, WorkOrderID) VALUES (?, ?)");
    std::uniform_int_distribution<int> pick(0, 5);
    std::uniform_int_distribution<int> cost(20000, 900000);
    const QDate first(1955, 1, 1);
    for (const auto& [v, i] : entryOrder(shape.vehicles, shape.ordersPerVehicle)) {
        order.bind(1, std::int64_t(v + 1));
        order.bind(2, std::int64_t(1000 + 2000 * i));
        order.bind(3, dateText(first.addDays(i * 5)).c_str());
        order.step();
        order.reset();
        const std::int64_t key = sqlite3_last_insert_rowid(db);
        for (int s = 0; s < shape.servicesPerOrder; ++s) {
            service.bind(1, key);
            service.bind(2, kServices[pick(random)]);
            service.step();
            service.reset();
        }
        for (int p = 0; p < shape.partsPerOrder; ++p) {
            const int which = pick(random);
            const std::string number = "P-" + std::to_string(1000 + which);
            part.bind(1, number.c_str());
            part.bind(2, kParts[which]);
            part.bind(3, std::int64_t(cost(random)));
            part.bind(4, key);
            part.bind(5, std::int64_t(1 + which % 4));
            part.step();
            part.reset();
        }
        const std::string note = "Visit " + std::to_string(i + 1) +
                                 ": customer reports a noise from the front left wheel at low "
                                 "speed; checked and adjusted.";
        memo.bind(1, note.c_str());
        memo.bind(2, key);
        memo.step();
        memo.reset();
    }
}

} // namespace

void createEmptyDatabase(const std::string& path) {
    QString failure;
    const platform::MsgBoxResponder previous = platform::setMsgBoxResponder(
        [&failure](const QString& prompt, int style, const QString& title) {
            if (style & platform::vbExclamation)
                failure = title + QStringLiteral(": ") + prompt;
            return int(platform::vbOK);
        });
    const bool created = modCreateDB::CreateNewDatabase(QString::fromStdString(path));
    platform::setMsgBoxResponder(previous);
    modCreateDB::CurrentDatabase.reset();
    if (!created)
        throw std::runtime_error("creating " + path + " failed: " + failure.toStdString());
}

void createBenchFile(const std::string& path, const FileShape& shape) {
    createEmptyDatabase(path);
    RawConnection connection(path);
    connection.exec("PRAGMA cache_size = -65536");
    connection.exec("BEGIN IMMEDIATE");
    std::mt19937 random(20240315);
    addVehicles(connection.get(), shape);
    addFuel(connection.get(), shape, random);
    addOrders(connection.get(), shape, random);
    connection.exec("COMMIT");
}

} // namespace bench
