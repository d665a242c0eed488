#include "RawSqlite.h"

#include <sqlite3.h>
#include <stdexcept>

namespace bench {

namespace {

[[noreturn]] void fail(sqlite3* db, const std::string& what) {
    throw std::runtime_error(what + ": " + (db ? sqlite3_errmsg(db) : "out of memory"));
}

// Keeps the compiler from dropping reads whose results nobody uses.
volatile std::int64_t g_sink = 0;

} // namespace

RawConnection::RawConnection(const std::string& path) {
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX | SQLITE_OPEN_PRIVATECACHE;
    if (sqlite3_open_v2(path.c_str(), &m_db, flags, nullptr) != SQLITE_OK)
        fail(m_db, "open " + path);
    sqlite3_extended_result_codes(m_db, 1);
    sqlite3_busy_timeout(m_db, 2000);
    exec("PRAGMA foreign_keys = ON");
    exec("PRAGMA journal_mode = DELETE");
    exec("PRAGMA synchronous = EXTRA");
}

RawConnection::~RawConnection() {
    sqlite3_close_v2(m_db);
}

void RawConnection::exec(const char* sql) {
    if (sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        fail(m_db, sql);
}

RawStatement::RawStatement(sqlite3* db, const char* sql) : m_db(db) {
    if (sqlite3_prepare_v2(db, sql, -1, &m_stmt, nullptr) != SQLITE_OK)
        fail(db, sql);
}

RawStatement::~RawStatement() {
    sqlite3_finalize(m_stmt);
}

bool RawStatement::step() {
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc != SQLITE_DONE)
        fail(m_db, sqlite3_sql(m_stmt));
    return false;
}

void RawStatement::reset() {
    sqlite3_reset(m_stmt);
}

void RawStatement::bind(int index, std::int64_t value) {
    sqlite3_bind_int64(m_stmt, index, value);
}

void RawStatement::bind(int index, double value) {
    sqlite3_bind_double(m_stmt, index, value);
}

void RawStatement::bind(int index, const char* text) {
    sqlite3_bind_text(m_stmt, index, text, -1, SQLITE_TRANSIENT);
}

void RawStatement::bindNull(int index) {
    sqlite3_bind_null(m_stmt, index);
}

void readAllColumns(sqlite3_stmt* stmt) {
    std::int64_t sum = 0;
    for (int i = 0, n = sqlite3_column_count(stmt); i < n; ++i) {
        switch (sqlite3_column_type(stmt, i)) {
        case SQLITE_INTEGER:
            sum += sqlite3_column_int64(stmt, i);
            break;
        case SQLITE_FLOAT:
            sum += std::int64_t(sqlite3_column_double(stmt, i));
            break;
        case SQLITE_TEXT:
            sum += sqlite3_column_bytes(stmt, i) + *sqlite3_column_text(stmt, i);
            break;
        default:
            break;
        }
    }
    g_sink = g_sink + sum;
}

} // namespace bench
