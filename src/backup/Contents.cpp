#include "Contents.h"

#include "platform/AppError.h"
#include "store/Connection.h"

#include <sqlite3.h>

namespace backup {

namespace {

bool countRows(sqlite3* db, const char* sql, qint64* count) {
    sqlite3_stmt* stmt = nullptr;
    const bool ok = sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr) == SQLITE_OK &&
                    sqlite3_step(stmt) == SQLITE_ROW;
    if (ok)
        *count = sqlite3_column_int64(stmt, 0);
    sqlite3_finalize(stmt);
    return ok;
}

} // namespace

Contents contentsOf(const QString& path) {
    Contents contents;
    try {
        const store::ConnectionHandle db = store::openReadOnlyConnection(path);
        contents.readable =
            countRows(db.get(), "SELECT count(*) FROM VehicleInfo", &contents.vehicles) &&
            countRows(db.get(), "SELECT count(*) FROM Fuel", &contents.fuelPurchases) &&
            countRows(db.get(), "SELECT count(*) FROM WorkOrder", &contents.workOrders);
    } catch (const platform::AppError&) {
        contents.readable = false;
    }
    return contents;
}

} // namespace backup
