#pragma once

#include "Definitions.h"
#include "SqliteErrors.h"

#include <QString>
#include <optional>

struct sqlite3;

namespace store {

// The definitions SQLite cannot hold itself (index and relation names and
// attributes, the locale) live in small tables of the file, next to the data.
void createMetaTables(sqlite3* db, const SqlErrorContext& context);
// Whether the file has them: it was made by the record store, not by another tool.
bool metaTablesExist(sqlite3* db, const SqlErrorContext& context);

QString readInfo(sqlite3* db, const QString& key, const SqlErrorContext& context);
void writeInfo(sqlite3* db, const QString& key, const QString& value,
               const SqlErrorContext& context);

// The stored spelling of a user table's name, matched without regard to case;
// empty when the file has no such table.
QString storedTableName(sqlite3* db, const QString& name, const SqlErrorContext& context);
QStringList userTableNames(sqlite3* db, const SqlErrorContext& context);

// A stored table's definition: its fields from the file's schema, its indexes
// from the index table.
TableDef readTableDef(sqlite3* db, const QString& storedName, const SqlErrorContext& context);
QList<RelationDef> readRelations(sqlite3* db, const SqlErrorContext& context);

void writeIndex(sqlite3* db, const QString& table, const IndexDef& index,
                const SqlErrorContext& context);
void writeRelation(sqlite3* db, const RelationDef& relation, const SqlErrorContext& context);

} // namespace store
