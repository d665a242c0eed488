#pragma once

#include "Definitions.h"

#include <QString>
#include <QVariant>

namespace store {

// Conversions between what windows and callers give a field, the value the store
// keeps for it, and what SQLite holds. Every failure throws platform::AppError
// (errTypeMismatch, errOverflow, errFieldTooSmall) with a text naming the field.
//
// Field values (what Recordset::value returns): a null QVariant for no value; bool
// (Boolean), int (Integer, Long), values::Currency, float (Single), QDateTime (Date),
// QString (Text, Memo).
//
// Typed text: empty text is no value (null), except in a Boolean field, which is
// never null: no value there is false. Integer -32768..32767, Long 32-bit;
// Single; Currency with a leading "$" and thousands separators allowed, at most
// four decimals, never rounded silently; Date as ISO 8601 ("2024-03-15",
// "2024-03-15T08:30:00", "2024-03-15 08:30") or US month/day/year ("3/15/2024",
// "3/15/2024 8:30 PM"); Boolean as true/false, yes/no, -1/0/1; Text no longer than
// the field's size; Memo unbounded.
QVariant toFieldValue(const FieldDef& field, const QVariant& input);

// The value bound into SQLite for a field value: null, qint64 (Boolean -1/0,
// Integer, Long, Currency scaled by 10000), double (Single), QString (Date as
// "yyyy-MM-dd hh:mm:ss", Text, Memo).
QVariant toStorage(const FieldDef& field, const QVariant& fieldValue);

// The field value for what SQLite holds (as read with sqlite3_column_*: null,
// qint64, double or QString). A stored value of the wrong kind (written by another
// tool) is converted when it can be and otherwise throws errTypeMismatch.
QVariant fromStorage(const FieldDef& field, const QVariant& stored);

// Text for showing a field value in an entry box that toFieldValue reads back to
// the same value: dates as "M/d/yyyy" (with " h:mm:ss AP" when the time is not
// midnight), currency in its shortest exact form ("12.5"), booleans "True"/"False",
// numbers in plain decimal; null gives empty text.
QString displayText(const FieldDef& field, const QVariant& fieldValue);

// The SQL column type that declares the field, so that a file can be read back
// (and read by other SQLite tools): BOOLEAN, SMALLINT, INTEGER, CURRENCY, SINGLE,
// DATETIME TEXT, VARCHAR(n), MEMO TEXT. The declared type decides how SQLite
// converts what is stored: every column that holds text has a name with TEXT or
// CHAR in it, so that text which looks like a number ("00123") stays text.
QString sqlTypeName(const FieldDef& field);
// The field type and size for a declared column type; false when it is none of ours.
// The names of older files, DATETIME and MEMO, read as Date and Memo too.
bool fieldTypeFromSql(const QString& declaredType, FieldType* type, int* size);
// Whether SQLite gives a column declared so TEXT affinity (stores numbers as text and
// leaves text as it is), by SQLite's own rule on the declared type's name.
bool hasTextAffinity(const QString& declaredType);

} // namespace store
