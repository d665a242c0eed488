#pragma once

#include <cstdint>
#include <string>

struct sqlite3;
struct sqlite3_stmt;

namespace bench {

// A plain SQLite connection set up as the record store sets up its own: foreign
// keys on, a rollback journal, extra syncs. Failures throw std::runtime_error.
class RawConnection {
public:
    explicit RawConnection(const std::string& path);
    ~RawConnection();
    RawConnection(const RawConnection&) = delete;
    RawConnection& operator=(const RawConnection&) = delete;

    sqlite3* get() const { return m_db; }
    void exec(const char* sql);

private:
    sqlite3* m_db = nullptr;
};

// One prepared statement; step() throws on an error, reset() readies it again.
class RawStatement {
public:
    RawStatement(sqlite3* db, const char* sql);
    ~RawStatement();
    RawStatement(const RawStatement&) = delete;
    RawStatement& operator=(const RawStatement&) = delete;

    sqlite3_stmt* get() const { return m_stmt; }
    bool step(); // true for a row
    void reset();
    void bind(int index, std::int64_t value);
    void bind(int index, double value);
    void bind(int index, const char* text);
    void bindNull(int index);

private:
    sqlite3* m_db;
    sqlite3_stmt* m_stmt = nullptr;
};

// Reads every column of the current row as its stored kind, as a program using
// SQLite directly would to show the row.
void readAllColumns(sqlite3_stmt* stmt);

} // namespace bench
