#include "exporting/StoredText.h"

#include "exporting/CsvText.h"
#include "store/ValueConversion.h"
#include "values/Currency.h"
#include "values/DateText.h"

#include <QDateTime>
#include <charconv>
#include <cmath>
#include <limits>
#include <sqlite3.h>

namespace exporting {

namespace {

QVariant storedValue(sqlite3_stmt* stmt, int column) {
    switch (sqlite3_column_type(stmt, column)) {
    case SQLITE_INTEGER:
        return QVariant(qint64(sqlite3_column_int64(stmt, column)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(stmt, column));
    case SQLITE_NULL:
        return QVariant();
    default:
        return QVariant(
            QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, column)),
                              sqlite3_column_bytes(stmt, column)));
    }
}

void appendSingle(QByteArray& out, float value) {
    if (value == 0.0f)
        value = 0.0f; // no "-0"
    char buffer[128];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    out.append(buffer, result.ptr - buffer);
}

void appendBytesAsText(QByteArray& out, const char* bytes, int length) {
    // Text that is not valid UTF-8 is written as the store reads it, so that the file
    // stays UTF-8 throughout and a reader takes it as such.
    for (int i = 0; i < length; ++i)
        if (static_cast<unsigned char>(bytes[i]) >= 0x80) {
            csv::appendText(out, QString::fromUtf8(bytes, length).toUtf8());
            return;
        }
    csv::appendText(out, bytes, length);
}

// A field value as the store gives it (see ValueConversion.h).
void appendFieldValue(QByteArray& out, const store::FieldDef& field, const QVariant& value) {
    if (value.isNull())
        return;
    switch (field.type) {
    case store::FieldType::Boolean:
        out.append(value.toBool() ? "-1" : "0");
        return;
    case store::FieldType::Integer:
    case store::FieldType::Long:
        appendInteger(out, value.toLongLong());
        return;
    case store::FieldType::Currency:
        out.append(value.value<values::Currency>().toString().toLatin1());
        return;
    case store::FieldType::Single:
        appendSingle(out, value.toFloat());
        return;
    case store::FieldType::Date:
        out.append(values::isoDateTimeText(value.toDateTime()).toLatin1());
        return;
    case store::FieldType::Text:
    case store::FieldType::Memo:
        csv::appendText(out, value.toString());
        return;
    }
}

bool fitsField(const store::FieldDef& field, qint64 number) {
    if (field.type == store::FieldType::Integer)
        return number >= std::numeric_limits<qint16>::min() &&
               number <= std::numeric_limits<qint16>::max();
    return number >= std::numeric_limits<qint32>::min() &&
           number <= std::numeric_limits<qint32>::max();
}

} // namespace

void appendInteger(QByteArray& out, qint64 value) {
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr - buffer);
}

void appendStoredText(QByteArray& out, sqlite3_stmt* stmt, int column) {
    if (sqlite3_column_type(stmt, column) == SQLITE_NULL)
        return;
    const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(stmt, column));
    appendBytesAsText(out, bytes, sqlite3_column_bytes(stmt, column));
}

void appendStoredField(QByteArray& out, sqlite3_stmt* stmt, int column,
                       const store::FieldDef& field) {
    const int kind = sqlite3_column_type(stmt, column);
    // The forms the store writes itself, taken as they are.
    switch (field.type) {
    case store::FieldType::Boolean:
        if (kind == SQLITE_NULL) {
            out.append('0');
            return;
        }
        if (kind == SQLITE_INTEGER) {
            out.append(sqlite3_column_int64(stmt, column) != 0 ? "-1" : "0");
            return;
        }
        break;
    case store::FieldType::Integer:
    case store::FieldType::Long:
        if (kind == SQLITE_INTEGER && fitsField(field, sqlite3_column_int64(stmt, column))) {
            appendInteger(out, sqlite3_column_int64(stmt, column));
            return;
        }
        break;
    case store::FieldType::Currency:
        if (kind == SQLITE_INTEGER) {
            out.append(values::Currency{sqlite3_column_int64(stmt, column)}.toString().toLatin1());
            return;
        }
        break;
    case store::FieldType::Single:
        if (kind == SQLITE_FLOAT) {
            const float single = float(sqlite3_column_double(stmt, column));
            if (std::isfinite(single)) {
                appendSingle(out, single);
                return;
            }
        }
        break;
    case store::FieldType::Date:
        if (kind == SQLITE_TEXT) {
            const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(stmt, column));
            const QLatin1String text(bytes, sqlite3_column_bytes(stmt, column));
            // The stored form read back writes the same text again.
            if (values::parseStoredDateText(text)) {
                out.append(bytes, text.size());
                return;
            }
        }
        break;
    case store::FieldType::Text:
    case store::FieldType::Memo:
        // Text as it is, '' kept apart from no value (which the store's reading merges).
        if (kind != SQLITE_BLOB) {
            appendStoredText(out, stmt, column);
            return;
        }
        break;
    }
    if (kind == SQLITE_NULL)
        return;
    appendFieldValue(out, field, store::fromStorage(field, storedValue(stmt, column)));
}

} // namespace exporting
