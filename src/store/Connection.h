#pragma once

#include "SqliteErrors.h"

#include <QString>
#include <functional>
#include <memory>

struct sqlite3;

namespace store {

struct ConnectionCloser {
    void operator()(sqlite3* db) const;
};
using ConnectionHandle = std::unique_ptr<sqlite3, ConnectionCloser>;

// Opens the file (creating it only when create is true) and sets the connection up:
// extended result codes, foreign keys on (checked), a busy timeout, a rollback
// journal with extra syncs (the folder too), nothing stored in the file allowed to
// run (no triggers, no views, defensive mode). Throws the store's error naming the file.
ConnectionHandle openConnection(const QString& path, bool create);

// Opens the file for reading only, with foreign keys on, the busy timeout and the
// same guard against what is stored in the file. Nothing
// is written, created or removed: not the file, its header (a file in WAL mode stays
// so) nor any journal, WAL or shared-memory file beside it. When a crash left a
// journal that only a writer could play back, the file is read as it lies on disk.
ConnectionHandle openReadOnlyConnection(const QString& path);

// Runs SQL that returns no rows; throws the store's error on failure.
void execute(sqlite3* db, const QString& sql, const SqlErrorContext& context);

// Told before a write transaction on a table begins (not inside it), so that a copy
// of the file as it was can be taken first. It must not throw; the write goes ahead
// whatever it does. One for the whole program; an empty one tells nobody.
struct WriteStart {
    QString file;
    QString table;
    bool deleting = false;
};
using WriteWatch = std::function<void(const WriteStart&)>;
void setWriteWatch(WriteWatch watch);

// One write transaction (BEGIN IMMEDIATE): rolled back unless commit() succeeds.
class Transaction {
public:
    Transaction(sqlite3* db, const SqlErrorContext& context);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void commit();

private:
    sqlite3* m_db;
    SqlErrorContext m_context;
    bool m_open = true;
};

} // namespace store
