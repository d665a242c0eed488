// Feeds typed text (and raw numbers) to the conversions of every field type and
// checks the round trips the windows rely on: a value shown in an entry box reads
// back as the same value, and a stored value reads back as the value stored, both
// through the conversions and through a real database file, where SQLite's column
// types could change what is stored. Conversion errors are expected; anything else
// is a finding.
#include "platform/AppError.h"
#include "store/Database.h"
#include "store/Definitions.h"
#include "store/Recordset.h"
#include "store/StoreErrors.h"
#include "store/ValueConversion.h"
#include "values/Currency.h"
#include "values/DateText.h"

#include <QDateTime>
#include <QDir>
#include <QTemporaryDir>
#include <QVariant>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <sqlite3.h>

using namespace store;
using namespace values;

namespace {

constexpr FieldType kTypes[] = {FieldType::Boolean,  FieldType::Integer, FieldType::Long,
                                FieldType::Currency, FieldType::Single,  FieldType::Date,
                                FieldType::Text,     FieldType::Memo};

[[noreturn]] void finding(const char* what, const FieldDef& field, const QVariant& a,
                          const QVariant& b = QVariant()) {
    std::fprintf(stderr, "%s: field type %d size %d: '%s' / '%s'\n", what, int(field.type),
                 field.size, qPrintable(a.toString()), qPrintable(b.toString()));
    std::abort();
}

bool isConversionError(int number) {
    return number == errTypeMismatch || number == errOverflow || number == errFieldTooSmall;
}

// The value kind a field's values must have.
bool hasFieldKind(const FieldDef& field, const QVariant& value) {
    if (value.isNull())
        return field.type != FieldType::Boolean; // a Yes/No field is never empty
    switch (field.type) {
    case FieldType::Boolean:
        return value.typeId() == QMetaType::Bool;
    case FieldType::Integer:
        return value.typeId() == QMetaType::Int && value.toInt() >= -32768 &&
               value.toInt() <= 32767;
    case FieldType::Long:
        return value.typeId() == QMetaType::Int;
    case FieldType::Currency:
        return value.metaType() == QMetaType::fromType<Currency>();
    case FieldType::Single:
        return value.typeId() == QMetaType::Float && std::isfinite(value.toFloat());
    case FieldType::Date: {
        const QDateTime dateTime = value.toDateTime();
        return value.typeId() == QMetaType::QDateTime && dateTime.isValid() &&
               dateTime.date().year() >= kFirstYear && dateTime.date().year() <= kLastYear &&
               dateTime.time().msec() == 0;
    }
    case FieldType::Text:
    case FieldType::Memo:
        return value.typeId() == QMetaType::QString && !value.toString().isEmpty();
    }
    return false;
}

bool sameValue(const QVariant& a, const QVariant& b) {
    if (a.isNull() || b.isNull())
        return a.isNull() && b.isNull();
    if (a.metaType() != b.metaType())
        return false;
    if (a.metaType() == QMetaType::fromType<Currency>())
        return a.value<Currency>() == b.value<Currency>();
    if (a.typeId() == QMetaType::QDateTime)
        return a.toDateTime().date() == b.toDateTime().date() &&
               a.toDateTime().time() == b.toDateTime().time();
    if (a.typeId() == QMetaType::Float)
        return a.toFloat() == b.toFloat();
    return a == b;
}

// What the fuzzer's bytes stand for: a typed text, or a number of some kind as
// a caller could hand it over.
QVariant inputOf(unsigned kind, const uint8_t* data, size_t size) {
    const auto bytes = [&](void* out, size_t n) {
        std::memset(out, 0, n);
        std::memcpy(out, data, std::min(n, size));
    };
    switch (kind) {
    case 1: {
        double value;
        bytes(&value, sizeof value);
        return value;
    }
    case 2: {
        float value;
        bytes(&value, sizeof value);
        return value;
    }
    case 3: {
        qint64 value;
        bytes(&value, sizeof value);
        return value;
    }
    case 4: {
        qint64 value;
        bytes(&value, sizeof value);
        return QVariant::fromValue(Currency{value});
    }
    case 5: // a date and time handed over by a widget
        return QDateTime::fromString(
            QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size)), Qt::ISODate);
    default:
        return QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    }
}

// What another tool could have left in the file: null, an integer, a real or text.
QVariant storedOf(unsigned kind, const uint8_t* data, size_t size) {
    switch (kind % 4) {
    case 0: {
        qint64 value = 0;
        std::memcpy(&value, data, std::min(sizeof value, size));
        return value;
    }
    case 1: {
        double value = 0;
        std::memcpy(&value, data, std::min(sizeof value, size));
        return value;
    }
    case 2:
        return QVariant();
    default:
        return QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    }
}

// One database file for the whole run: a table with a field of every type and one
// row. Each accepted value is saved into that row through a record set, then read
// back from the file by the record store and by plain SQL.
class FileRoundTrip {
public:
    static FileRoundTrip& instance() {
        static FileRoundTrip file;
        return file;
    }

    // The value saved and read back again; plain SQL finds what toStorage gave.
    void check(const FieldDef& field, const QVariant& value) {
        const QString column = columnOf(field.type);
        m_rows->Edit();
        m_rows->setValue(column, value);
        m_rows->Update();
        const QVariant back = m_rows->value(column); // read from the file: the row changed
        if (!sameValue(back, value))
            finding("file round trip", field, value, back);
        if (!storedAsGiven(column, toStorage(field, value)))
            finding("the file holds another value", field, value, toStorage(field, value));
    }

    // A value another tool wrote with plain SQL reads as a value of the field or fails
    // with a conversion error. The row is left readable for the next value.
    QVariant readWritten(const FieldDef& field, const QVariant& stored) {
        const QString column = columnOf(field.type);
        struct Cleared {
            FileRoundTrip& file;
            QString column;
            ~Cleared() { file.write(column, QVariant()); }
        } cleared{*this, column};
        write(column, stored);
        m_rows->Requery();
        return m_rows->value(column);
    }

private:
    FileRoundTrip() {
        // Every save is a synced transaction: in memory-backed files when there are some.
        const QString base = QDir(QStringLiteral("/dev/shm")).exists()
                                 ? QStringLiteral("/dev/shm/drivolex-fuzz-XXXXXX")
                                 : QDir::tempPath() + QStringLiteral("/drivolex-fuzz-XXXXXX");
        m_dir = std::make_unique<QTemporaryDir>(base);
        m_db = Database::CreateDatabase(m_dir->filePath(QStringLiteral("values.mdb")),
                                        QLatin1String(dbLangGeneral));
        TableDef table = m_db->CreateTableDef(QStringLiteral("Kinds"));
        // The Text field is as long as the longest the fuzzer makes.
        for (FieldType type : kTypes)
            table.fields << table.CreateField(columnOf(type), type,
                                              type == FieldType::Text ? 255 : 0);
        m_db->appendTableDef(table);
        m_rows = m_db->OpenRecordset(QStringLiteral("Kinds"));
        m_rows->AddNew();
        m_rows->Update();
        m_rows->MoveFirst();
    }

    static QString columnOf(FieldType type) { return QStringLiteral("F%1").arg(int(type)); }

    void write(const QString& column, const QVariant& stored) {
        sqlite3_stmt* stmt = prepare(QStringLiteral("UPDATE Kinds SET %1 = ?").arg(column));
        bind(stmt, stored);
        if (sqlite3_step(stmt) != SQLITE_DONE)
            std::abort();
        sqlite3_finalize(stmt);
    }

    sqlite3_stmt* prepare(const QString& sql) const {
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(m_db->handle(), sql.toUtf8().constData(), -1, &stmt, nullptr) !=
            SQLITE_OK)
            std::abort();
        return stmt;
    }

    static void bind(sqlite3_stmt* stmt, const QVariant& value) {
        if (value.isNull()) {
            sqlite3_bind_null(stmt, 1);
        } else if (value.typeId() == QMetaType::LongLong) {
            sqlite3_bind_int64(stmt, 1, value.toLongLong());
        } else if (value.typeId() == QMetaType::Double) {
            sqlite3_bind_double(stmt, 1, value.toDouble());
        } else {
            const QByteArray text = value.toString().toUtf8();
            sqlite3_bind_text(stmt, 1, text.constData(), int(text.size()), SQLITE_TRANSIENT);
        }
    }

    // Text byte for byte as text, whole numbers as integers, a Single's number as a
    // number (SQLite may keep a whole one as an integer), no value as NULL.
    bool storedAsGiven(const QString& column, const QVariant& expected) const {
        sqlite3_stmt* stmt = prepare(QStringLiteral("SELECT %1 FROM Kinds").arg(column));
        bool same = false;
        if (sqlite3_step(stmt) == SQLITE_ROW) {
            const int kind = sqlite3_column_type(stmt, 0);
            if (expected.isNull()) {
                same = kind == SQLITE_NULL;
            } else if (expected.typeId() == QMetaType::QString) {
                const QByteArray text = expected.toString().toUtf8();
                same = kind == SQLITE_TEXT && sqlite3_column_bytes(stmt, 0) == text.size() &&
                       std::memcmp(sqlite3_column_text(stmt, 0), text.constData(),
                                   std::size_t(text.size())) == 0;
            } else if (expected.typeId() == QMetaType::LongLong) {
                same = kind == SQLITE_INTEGER &&
                       sqlite3_column_int64(stmt, 0) == expected.toLongLong();
            } else {
                same = (kind == SQLITE_FLOAT || kind == SQLITE_INTEGER) &&
                       sqlite3_column_double(stmt, 0) == expected.toDouble();
            }
        }
        sqlite3_finalize(stmt);
        return same;
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::shared_ptr<Database> m_db;
    std::unique_ptr<Recordset> m_rows;
};

void checkRoundTrips(const FieldDef& field, const QVariant& input) {
    QVariant value;
    try {
        value = toFieldValue(field, input);
    } catch (const platform::AppError& error) {
        if (!isConversionError(error.number()))
            finding("unexpected error number", field, input);
        return;
    }
    if (!hasFieldKind(field, value))
        finding("value of the wrong kind", field, input, value);
    if (field.type == FieldType::Text && !value.isNull() &&
        value.toString().toUcs4().size() > (field.size > 0 ? field.size : 255))
        finding("text longer than its field", field, input, value);

    try {
        if (!sameValue(toFieldValue(field, value), value))
            finding("a field value converts to another", field, input, value);
        const QVariant stored = toStorage(field, value);
        const QVariant back = fromStorage(field, stored);
        if (!sameValue(back, value))
            finding("storage round trip", field, value, back);
        const QString shown = displayText(field, value);
        const QVariant typed = toFieldValue(field, shown);
        if (!sameValue(typed, value))
            finding("display round trip", field, value, shown);
        FileRoundTrip::instance().check(field, value);
    } catch (const platform::AppError& error) {
        std::fprintf(stderr, "error %d: %s\n", error.number(), qPrintable(error.text()));
        finding("an accepted value fails a round trip", field, input, value);
    }
}

void checkStoredValue(const FieldDef& field, const QVariant& stored) {
    // Read as given, and as SQLite keeps it once written into the field's column.
    for (bool throughFile : {false, true}) {
        try {
            const QVariant value = throughFile
                                       ? FileRoundTrip::instance().readWritten(field, stored)
                                       : fromStorage(field, stored);
            // Text a foreign tool left longer than the field is still shown in full.
            if (field.type != FieldType::Text && !hasFieldKind(field, value))
                finding("stored value read as the wrong kind", field, stored, value);
        } catch (const platform::AppError& error) {
            if (!isConversionError(error.number())) {
                std::fprintf(stderr, "error %d: %s\n", error.number(), qPrintable(error.text()));
                finding("unexpected error number reading a stored value", field, stored);
            }
        }
    }
}

void checkDeclaredType(const uint8_t* data, size_t size) {
    const QString declared =
        QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    FieldType type;
    int fieldSize = 0;
    if (!fieldTypeFromSql(declared, &type, &fieldSize))
        return;
    FieldType again;
    int againSize = 0;
    const FieldDef field(QStringLiteral("F"), type, type == FieldType::Text ? fieldSize : 0);
    if (!fieldTypeFromSql(sqlTypeName(field), &again, &againSize) || again != type ||
        (type == FieldType::Text && againSize != fieldSize))
        finding("declared type does not read back", field, declared, sqlTypeName(field));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2)
        return 0;
    // First byte: field type and input kind; second: the Text field's size.
    const FieldType type = kTypes[data[0] % 8];
    const unsigned kind = (data[0] >> 3) % 8;
    const int textSize = type == FieldType::Text ? data[1] : 0;
    const FieldDef field(QStringLiteral("Field"), type, textSize);
    data += 2;
    size -= 2;

    if (kind == 7)
        checkDeclaredType(data, size);
    else if (kind == 6)
        checkStoredValue(field,
                         storedOf(size ? data[0] : 0, data + (size ? 1 : 0), size ? size - 1 : 0));
    else
        checkRoundTrips(field, inputOf(kind, data, size));
    return 0;
}
