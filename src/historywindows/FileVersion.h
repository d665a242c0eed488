#pragma once

#include <QtGlobal>

struct sqlite3;

namespace historywindows {

// A number that changes whenever rows of the file change, through this connection
// (the record windows share it) or any other (another copy of the program, a
// restore). The window reads its rows again on activation only when it moved, so
// coming back to it costs nothing on a lifetime of records.
class FileVersion {
public:
    explicit FileVersion(sqlite3* db) : m_db(db) {}
    // Empty pair on a failure to ask: the caller then reads again.
    std::pair<qint64, qint64> now() const;

private:
    sqlite3* m_db;
};

} // namespace historywindows
