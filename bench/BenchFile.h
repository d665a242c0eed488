#pragma once

#include <string>

namespace bench {

// The size of the file the figures are measured on.
struct FileShape {
    int vehicles = 20;
    int fuelPerVehicle = 50'000;
    int ordersPerVehicle = 5'000;
    int servicesPerOrder = 2;
    int partsPerOrder = 2;
};

// Makes a new database file at path with the program's own creation routine (so
// it has the real tables, indexes and relations), then fills it in one
// transaction with plain SQLite. Vehicles get keys 1..shape.vehicles. Fuel rows
// and orders of the vehicles are entered interleaved, as purchases happen, and
// about one in a hundred late, so a vehicle's rows are not in key order.
void createBenchFile(const std::string& path, const FileShape& shape);

// Makes a new database file with the program's creation routine and nothing else;
// throws when the creation reports a failure.
void createEmptyDatabase(const std::string& path);

} // namespace bench
