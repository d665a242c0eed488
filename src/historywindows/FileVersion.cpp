#include "FileVersion.h"

#include <sqlite3.h>
#include <utility>

namespace historywindows {

std::pair<qint64, qint64> FileVersion::now() const {
    // data_version moves with every commit of another connection; the change count
    // with every row this connection writes.
    sqlite3_stmt* stmt = nullptr;
    qint64 others = -1;
    if (sqlite3_prepare_v2(m_db, "PRAGMA data_version", -1, &stmt, nullptr) == SQLITE_OK &&
        sqlite3_step(stmt) == SQLITE_ROW)
        others = sqlite3_column_int64(stmt, 0);
    sqlite3_finalize(stmt);
    return {others, qint64(sqlite3_total_changes64(m_db))};
}

} // namespace historywindows
