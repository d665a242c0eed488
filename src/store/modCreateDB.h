#pragma once

#include <QString>
#include <memory>

namespace store {
class Database;
}

// Turns a file path into a new, empty database with the program's layout.
namespace modCreateDB {

// The database built by the last successful creation; it stays open until the
// next creation replaces it or the program ends.
extern std::shared_ptr<store::Database> CurrentDatabase;

// Builds the new database at path and shows one message box either way: success
// (information, "Success") or failure (exclamation, titled with the error's text).
// The file is built aside in the target folder and moves over path only when every
// step succeeded, so a failure leaves an existing file exactly as it was and leaves
// no new or temporary file behind. A read-only file and a file open in a window of
// the program are not replaced; journal and WAL files of the old file go with it.
bool CreateNewDatabase(const QString& path);

// The same without a box: throws the store's error naming the file (the command line's
// `new`). The new database is left open as CurrentDatabase.
void BuildNewDatabase(const QString& path);

// The building routines, called by CreateNewDatabase in this order on the database
// being built.
void CreateFuelTable();
void CreatePartsUsedTable();
void CreateVehicleInfoTable();
void CreateWorkDoneTable();
void CreateWorkOrderTable();
void CreateWorkOrderMemoTable();
void CreateRelations();

} // namespace modCreateDB
