#pragma once

#include "values/Currency.h"

#include <QDateTime>
#include <QString>
#include <optional>

#include "store/SqliteErrors.h"

struct sqlite3;

namespace store {
class Statement;
}

// Reading one column of the current row of a select as a field value. What the
// store itself writes is read directly; any other kind (left by another tool) goes
// through the store's own conversion, and a value it cannot convert reads as no
// value rather than stopping the whole list.
namespace history::stored {

QDateTime dateAt(const store::Statement& stmt, int column);
std::optional<float> singleAt(const store::Statement& stmt, int column);
bool booleanAt(const store::Statement& stmt, int column); // no value is false
std::optional<values::Currency> currencyAt(const store::Statement& stmt, int column);
std::optional<qint64> integerAt(const store::Statement& stmt, int column); // Long, Integer
QString textAt(const store::Statement& stmt, int column);

// What an error while reading a table of the open file names.
store::SqlErrorContext contextOf(sqlite3* db, const char* table);
// Steps to the next row; false at the end; throws the store's error on a failure.
bool nextRow(sqlite3* db, store::Statement& stmt, const char* table);

} // namespace history::stored
