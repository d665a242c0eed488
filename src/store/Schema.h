#pragma once

#include "FieldType.h"

#include <QString>
#include <memory>
#include <vector>

namespace store {
class Database;
}

// The layout of the program's database files: six tables joined by five
// enforced relations. Database creation builds exactly this; File Open checks it.
namespace store::schema {

struct FieldLayout {
    const char* name;
    FieldType type;
    int size = 0; // Text: maximum length; Memo: 0
    bool autoIncrement = false;
};

struct TableLayout {
    const char* name;
    std::vector<FieldLayout> fields; // in creation order
    const char* keyField; // the "PrimaryKey" index's field, spelled as the index names it
};

struct RelationLayout {
    const char* name;
    const char* table;        // the primary table
    const char* foreignTable; // spelled as the relation names it
    const char* field;        // same name in both tables
    int attributes;
};

// The six tables, in creation order (alphabetical).
const std::vector<TableLayout>& tables();
// The table of that name (without regard to case); throws when there is none.
const TableLayout& table(const QString& name);
// The five relations, in creation order.
const std::vector<RelationLayout>& relations();

// The name of every table's one index.
inline constexpr const char* kPrimaryKeyIndex = "PrimaryKey";

// Checks that an open file holds this program's tables and fields. Throws the
// store's errNotADatabase error naming the file and the first missing table or
// field. Relations are not required: files made by other tools may lack them.
void verifyLayout(const Database& db);

// Takes a file into use as one of the program's databases: checks its layout
// reading only (a file of another program is left exactly as it was), then opens it
// for writing, which checks the whole file and refuses what would run inside it,
// tells a read-only or locked file and brings an older file of ours up to date.
// Throws the store's error naming the file and the reason.
std::shared_ptr<Database> openProgramDatabase(const QString& path);

} // namespace store::schema
