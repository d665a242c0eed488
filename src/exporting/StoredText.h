#pragma once

#include "store/Definitions.h"

#include <QByteArray>

struct sqlite3_stmt;

namespace exporting {

// Appends a column of the current row of a select as our own export writes a field
// of that type: no value as nothing; Boolean as the store keeps it, -1 or 0 (no value
// is No, as the store reads it); Integer and Long in decimal; Currency exactly in its
// shortest form; Single as the shortest text that reads back to the same float, never
// with an exponent; Date in the stored form "yyyy-MM-dd hh:mm:ss"; text as it is, ''
// quoted so that it stays apart from no value. What the store writes itself is taken
// directly; any other stored value goes through the store's own conversion, and one
// it refuses throws its error (the caller adds where it was).
void appendStoredField(QByteArray& out, sqlite3_stmt* stmt, int column,
                       const store::FieldDef& field);

// Appends a column holding text as it is (no value as nothing, '' as "").
void appendStoredText(QByteArray& out, sqlite3_stmt* stmt, int column);

// Appends a whole number in decimal.
void appendInteger(QByteArray& out, qint64 value);

} // namespace exporting
