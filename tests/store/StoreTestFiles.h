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

} // namespace testing_support
