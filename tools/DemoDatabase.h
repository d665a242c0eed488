#pragma once

#include <QString>

namespace demo {

// Builds a new database at path (replacing a file of that name) and fills it with a
// small, realistic set of records for the manual's pictures: three vehicles, thirteen
// fuel purchases of the first with partial fills between full tanks, and three work
// orders of the first with services, parts and notes, and service reminders around
// today in every state. Everything goes through the record store, as the windows
// write it. Throws std::runtime_error on any failure, naming the file.
void writeDemoDatabase(const QString& path);

// Counts of the rows that writeDemoDatabase puts into each table.
struct DemoCounts {
    int vehicles;
    int fuel;
    int orders;
    int services;
    int parts;
    int notes;
};
DemoCounts demoCounts();

// The rows in each table of the file at path, read back through the record store.
DemoCounts countRows(const QString& path);

} // namespace demo
