#pragma once

#include "Definitions.h"

namespace store {

// Checks a definition before it is appended; each throws errSchema with a text
// naming what is wrong, so nothing half made reaches the file.
void checkNewTable(const TableDef& table);
void checkNewIndex(const TableDef& table, const IndexDef& index);
void checkNewRelation(const RelationDef& relation, const TableDef& primary,
                      const TableDef& foreign);

} // namespace store
