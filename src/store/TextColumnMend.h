#pragma once

#include "DatabaseImpl.h"

namespace store {

// Files made before every column that holds text was declared with TEXT affinity
// declare Date columns DATETIME and Memo columns MEMO. SQLite then turns stored
// text that looks like a number into that number: a note "00123" read back as 123.
// The tables that hold such a column, in a file the record store made.
QStringList tablesWithNumericTextColumns(sqlite3* db, const SqlErrorContext& context);

// Rebuilds those tables with today's declared types in one transaction, keeping every
// row, key, index and relation. Files made by other tools are left as they are: the
// store cannot rebuild what it did not define.
void mendTextColumns(const Database::Impl& database);

} // namespace store
