#pragma once

#include "Definitions.h"
#include "SqliteErrors.h"

#include <functional>

struct sqlite3;

namespace store {

// Everything that shapes one table in SQL: its fields and indexes and the
// relations in which it is the foreign (many) side.
struct TableLayout {
    TableDef def;
    QList<RelationDef> foreignRelations;
};

// The field that holds the table's auto-increment key, or nullptr.
const FieldDef* autoIncrementField(const TableDef& def);
// The table's primary index, or nullptr.
const IndexDef* primaryIndex(const TableDef& def);

// Whether the primary index is just the auto-increment key (the row number).
bool primaryIsRowKey(const TableDef& def);
// Whether these fields are the row key, the primary key or a unique index.
bool isUniqueKey(const TableDef& def, const QStringList& fields);

// Creates the table with its indexes (inside the caller's transaction).
void createTable(sqlite3* db, const TableLayout& layout, const SqlErrorContext& context);

// Rebuilds a stored table to a new layout (keys, relations), keeping every row, its
// row number and the auto-increment counter, in one transaction with foreign keys
// off around it, as SQLite documents for changes ALTER TABLE cannot make. The
// relations are checked before the commit. `alsoInTransaction` runs inside it.
void rebuildTable(sqlite3* db, const TableLayout& layout,
                  const std::function<void()>& alsoInTransaction, const SqlErrorContext& context);
// Rebuilds several stored tables in one transaction (all of them change or none),
// for changes that leave keys and relations as they are, such as a column's declared
// type: the rows are not checked against the relations again.
void rebuildTables(sqlite3* db, const QList<TableLayout>& layouts, const SqlErrorContext& context);

// Creates one index that needs no rebuild (inside the caller's transaction).
void createSecondaryIndex(sqlite3* db, const QString& table, const IndexDef& index,
                          const SqlErrorContext& context);

} // namespace store
