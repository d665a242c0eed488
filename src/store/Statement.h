#pragma once

#include "SqliteErrors.h"

#include <QString>
#include <QVariant>

struct sqlite3;
struct sqlite3_stmt;

namespace store {

// One prepared statement, finalized with its owner. Callers bind, step and then
// reset (ResetGuard) so that no read stays open between user actions.
class Statement {
public:
    Statement() = default;
    // Throws the store's error when the text does not compile (reading the
    // file's schema may fail here first, hence the context).
    Statement(sqlite3* db, const QString& sql, const SqlErrorContext& context = {});
    ~Statement();
    Statement(Statement&& other) noexcept;
    Statement& operator=(Statement&& other) noexcept;
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    // Binds a storage value: null, an integer, a double or text (one-based index).
    void bind(int index, const QVariant& value);
    // Returns SQLite's result code: SQLITE_ROW, SQLITE_DONE or an error code.
    int step();
    void reset();

    int columnCount() const;
    // The column as a storage value: null, qint64, double or QString.
    QVariant column(int index) const;
    qint64 columnInt64(int index) const;
    QString columnText(int index) const;

    sqlite3_stmt* get() const { return m_stmt; }

private:
    sqlite3_stmt* m_stmt = nullptr;
};

// Resets a statement when the scope ends, also on an exception.
class ResetGuard {
public:
    explicit ResetGuard(Statement& stmt) : m_stmt(stmt) {}
    ~ResetGuard() { m_stmt.reset(); }
    ResetGuard(const ResetGuard&) = delete;
    ResetGuard& operator=(const ResetGuard&) = delete;

private:
    Statement& m_stmt;
};

} // namespace store
