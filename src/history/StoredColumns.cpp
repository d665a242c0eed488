#include "StoredColumns.h"

#include "platform/AppError.h"
#include "store/Statement.h"
#include "store/ValueConversion.h"
#include "values/DateText.h"

#include <cmath>
#include <sqlite3.h>

namespace history::stored {

namespace {

int kindAt(const store::Statement& stmt, int column) {
    return sqlite3_column_type(stmt.get(), column);
}

// The store's conversion of an odd stored value; no value when it refuses it.
QVariant converted(const store::Statement& stmt, int column, store::FieldType type) {
    try {
        return store::fromStorage(store::FieldDef(QString(), type), stmt.column(column));
    } catch (const platform::AppError&) {
        return QVariant();
    }
}

} // namespace

QDateTime dateAt(const store::Statement& stmt, int column) {
    const int kind = kindAt(stmt, column);
    if (kind == SQLITE_NULL)
        return QDateTime();
    if (kind == SQLITE_TEXT) {
        const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(stmt.get(), column));
        const QLatin1String text(bytes, sqlite3_column_bytes(stmt.get(), column));
        if (std::optional<QDateTime> own = values::parseStoredDateText(text))
            return *own;
    }
    return converted(stmt, column, store::FieldType::Date).toDateTime();
}

std::optional<float> singleAt(const store::Statement& stmt, int column) {
    const int kind = kindAt(stmt, column);
    if (kind == SQLITE_NULL)
        return std::nullopt;
    if (kind == SQLITE_FLOAT || kind == SQLITE_INTEGER) {
        const float single = float(sqlite3_column_double(stmt.get(), column));
        if (std::isfinite(single))
            return single == 0.0f ? 0.0f : single;
        return std::nullopt;
    }
    const QVariant value = converted(stmt, column, store::FieldType::Single);
    if (value.isNull())
        return std::nullopt;
    return value.toFloat();
}

bool booleanAt(const store::Statement& stmt, int column) {
    const int kind = kindAt(stmt, column);
    if (kind == SQLITE_NULL)
        return false;
    if (kind == SQLITE_INTEGER)
        return sqlite3_column_int64(stmt.get(), column) != 0;
    return converted(stmt, column, store::FieldType::Boolean).toBool();
}

std::optional<values::Currency> currencyAt(const store::Statement& stmt, int column) {
    const int kind = kindAt(stmt, column);
    if (kind == SQLITE_NULL)
        return std::nullopt;
    if (kind == SQLITE_INTEGER)
        return values::Currency{sqlite3_column_int64(stmt.get(), column)};
    const QVariant value = converted(stmt, column, store::FieldType::Currency);
    if (value.isNull())
        return std::nullopt;
    return value.value<values::Currency>();
}

std::optional<qint64> integerAt(const store::Statement& stmt, int column) {
    const int kind = kindAt(stmt, column);
    if (kind == SQLITE_NULL)
        return std::nullopt;
    if (kind == SQLITE_INTEGER)
        return sqlite3_column_int64(stmt.get(), column);
    const QVariant value = converted(stmt, column, store::FieldType::Long);
    if (value.isNull())
        return std::nullopt;
    return value.toLongLong();
}

QString textAt(const store::Statement& stmt, int column) {
    const int kind = kindAt(stmt, column);
    if (kind == SQLITE_NULL)
        return QString();
    if (kind == SQLITE_TEXT)
        return stmt.columnText(column);
    return converted(stmt, column, store::FieldType::Memo).toString();
}

store::SqlErrorContext contextOf(sqlite3* db, const char* table) {
    return store::SqlErrorContext{
        QString::fromUtf8(sqlite3_db_filename(db, "main")), QLatin1String(table), false, {}};
}

bool nextRow(sqlite3* db, store::Statement& stmt, const char* table) {
    const int rc = stmt.step();
    if (rc == SQLITE_ROW)
        return true;
    store::checkSqlite(db, rc, contextOf(db, table));
    return false;
}

} // namespace history::stored
