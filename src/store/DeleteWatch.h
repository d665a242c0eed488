#pragma once

#include <QString>
#include <functional>

struct sqlite3;

namespace store {

// A row about to be deleted: told inside the delete's write transaction, before the
// DELETE runs, so that a watcher reads the row and what its relations will take
// with it exactly as they are.
struct RowAboutToGo {
    sqlite3* db;
    QString file;  // the database file's path as it was opened
    QString table; // as the record set names it
    qint64 rowid;
};

// What the watcher wants done once the delete is committed; empty for nothing. A
// delete that fails or is rolled back runs none of it.
using AfterDelete = std::function<void()>;
using DeleteWatcher = std::function<AfterDelete(const RowAboutToGo&)>;

// One watcher for the program; an empty one stops the watching. A watcher that
// throws stops the delete: nothing is deleted that could not be kept first.
void setDeleteWatcher(DeleteWatcher watcher);
AfterDelete rowAboutToGo(const RowAboutToGo& row);

} // namespace store
