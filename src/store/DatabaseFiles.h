#pragma once

#include <QString>

namespace store {

// Checks made on the file itself before SQLite sees it, so that every failure
// names the file and says what is wrong with it.
void checkNewDatabasePath(const QString& path);
void checkExistingDatabasePath(const QString& path);

} // namespace store
