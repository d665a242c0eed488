#pragma once

#include "SqliteErrors.h"

struct sqlite3;

// Checks a file must pass before the program writes to it. Each throws the store's
// error naming the file.
namespace store {

// The whole file is sound: as long as its pages say it is (a cut file is damaged
// even where SQLite would read the missing bytes as zeros), and every page of every
// table and index well formed (SQLite's quick check). A damaged file is never
// written: a write could spread the damage over pages that are still good. It reads
// every page once: about 0.3 s for a file of 1,000,000 fuel purchases (103 MB) in
// the system's cache, so every take-up checks again rather than trusting a record
// of an earlier check.
void checkWholeFile(sqlite3* db, const SqlErrorContext& context);

// The file holds nothing that would run inside it when a row is saved or read:
// no trigger, no view, no index over an expression or with a condition, no
// computed column. The record store makes none of these; a file that has one was
// changed by another tool and is refused.
void checkNothingRuns(sqlite3* db, const SqlErrorContext& context);

} // namespace store
