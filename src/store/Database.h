#pragma once

#include "Definitions.h"

#include <QString>
#include <memory>
#include <optional>

struct sqlite3;

namespace store {

class Recordset;
class Statement;

// One open database file: one SQLite connection with foreign keys on, a busy
// timeout and full durability. Every write is its own transaction; nothing is held
// open between user actions. Every failure throws platform::AppError (StoreErrors.h).
class Database : public std::enable_shared_from_this<Database> {
public:
    // Creates a new, empty database file (the file must not exist). The locale
    // decides whether text compares without regard to case (dbLangGeneral does).
    static std::shared_ptr<Database> CreateDatabase(const QString& path, const QString& locale);
    enum class Access { ReadWrite, ReadOnly };
    // Opens an existing database file; a missing, empty, damaged, read-only-folder,
    // locked or foreign file fails here with a clear error naming the file. Opening
    // for writing checks every page of the file and refuses one that holds triggers,
    // views or other objects that would run (FileChecks.h), then brings a file made
    // by an older version up to date (TextColumnMend.h).
    // Opened read-only, any readable file opens and reads as it is; nothing is written
    // to it or beside it, and every write fails with the read-only error.
    static std::shared_ptr<Database> OpenDatabase(const QString& path,
                                                  Access access = Access::ReadWrite);

    // Whether the file at path, whatever name leads to it, is open in a database of
    // this program other than `except`.
    static bool isFileOpen(const QString& path, const Database* except = nullptr);

    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    QString path() const;
    // The file was deleted or another file was moved to its name after it was opened.
    bool fileHasMoved() const;

    // Definitions. Appending stores the definition in the file at once.
    TableDef CreateTableDef(const QString& name) const { return TableDef{name}; }
    RelationDef CreateRelation(const QString& name, const QString& table,
                               const QString& foreignTable, int attributes) const;
    void appendTableDef(const TableDef& table);
    void appendIndex(const QString& tableName, const IndexDef& index);
    void appendRelation(const RelationDef& relation);

    // Definitions read back from the file; names match without regard to case.
    QList<TableDef> tableDefs() const;
    std::optional<TableDef> tableDef(const QString& name) const;
    QList<RelationDef> relations() const;

    // A dynaset over a table name ("VehicleInfo") or a select text such as
    // "Select * from Fuel where VehicleID = 7 Order by FuelDate, FuelMiles".
    std::unique_ptr<Recordset> OpenRecordset(const QString& source);

    // For the record store's own code and for tests: the raw connection.
    sqlite3* handle() const;
    // For the record store's own code: the statement for this text, prepared on
    // first use and kept with the connection, so that record sets opened again and
    // again (every refresh) do not compile their statements again. Callers bind,
    // step and reset it within one call and ask for no other cached statement
    // meanwhile. One is kept per distinct text; the texts come from the program's
    // few record sources and field lists.
    Statement& cachedStatement(const QString& sql);

    struct Impl;

private:
    explicit Database(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> m_impl;
};

} // namespace store
