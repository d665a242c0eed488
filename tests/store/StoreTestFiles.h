#pragma once

#include <QString>
#include <QTemporaryDir>
#include <sqlite3.h>

namespace testing_support {

// Runs one SQL statement on a file with a connection of its own and returns the
// first column of the first row as text (empty when there is no row).
QString sqlScalar(const QString& path, const QString& sql);

// PRAGMA integrity_check says "ok" and PRAGMA foreign_key_check finds nothing.
bool fileIsConsistent(const QString& path);

// Runs SQL that returns no rows on the file with a connection of its own; the error
// message, empty when it ran.
QString sqlExecute(const QString& path, const QString& sql);

// The file's bytes (empty when it cannot be read).
QByteArray fileBytes(const QString& path);
void writeFileBytes(const QString& path, const QByteArray& bytes);

// Declares the Date and Memo columns of a file of the record store as version 1.0.0
// of the program did, DATETIME and MEMO, in which SQLite stores text that looks like
// a number as that number. Nothing else in the tables' layout differed.
void declareTextColumnsAsVersion1(const QString& path);

// What a crash in the middle of a write leaves of the closed file: the file half
// written and beside it the journal that the next connection plays back.
void leaveHotJournal(const QString& path, const QString& sql);
// The closed file in WAL mode, and beside it a WAL file holding the committed changes
// of `sql` that were not yet copied into the file, as a crash leaves them.
void leaveWalWithChanges(const QString& path, const QString& sql);

} // namespace testing_support
