#pragma once

#include <QString>
#include <vector>

// How the record windows reach each table: the owner field, the select text they
// open for one owner and the criterion that finds one row by its key.
namespace crash {

struct TableRole {
    const char* table;
    const char* keyField;   // as the criterion spells it
    const char* ownerField; // empty for the vehicles, which belong to nothing
    const char* ownerTable;
    const char* source;   // "%1" takes the owner's key
    const char* criteria; // "%1" takes the row's key
    bool autoKey;         // false for the notes, keyed by their order
};

const std::vector<TableRole>& tableRoles();
const TableRole& roleOf(const QString& table);

} // namespace crash
