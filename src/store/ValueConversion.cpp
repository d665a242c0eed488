// Minimal conversions so the engine builds and runs on its own; the full value
// layer replaces this file.
#include "ValueConversion.h"

#include "Currency.h"
#include "StoreErrors.h"

#include <QDateTime>

namespace store {

namespace {

[[noreturn]] void mismatch(const FieldDef& field) {
    raise(errTypeMismatch, QStringLiteral("The value does not fit field '%1'.").arg(field.name));
}

qint64 toInteger(const FieldDef& field, const QVariant& input, qint64 low, qint64 high) {
    bool ok = false;
    const qint64 n = input.toString().trimmed().toLongLong(&ok);
    if (!ok)
        mismatch(field);
    if (n < low || n > high)
        raise(errOverflow,
              QStringLiteral("The number is too large for field '%1'.").arg(field.name));
    return n;
}

} // namespace

QVariant toFieldValue(const FieldDef& field, const QVariant& input) {
    if (input.isNull() || (input.typeId() == QMetaType::QString && input.toString().isEmpty()))
        return QVariant();
    switch (field.type) {
    case FieldType::Boolean:
        return input.typeId() == QMetaType::Bool ? input.toBool()
                                                 : toInteger(field, input, -1, 1) != 0;
    case FieldType::Integer:
        return int(toInteger(field, input, -32768, 32767));
    case FieldType::Long:
        return int(toInteger(field, input, INT32_MIN, INT32_MAX));
    case FieldType::Currency: {
        if (input.canConvert<Currency>() && input.typeId() == qMetaTypeId<Currency>())
            return input;
        bool ok = false;
        const double d =
            input.toString().remove(QLatin1Char('$')).remove(QLatin1Char(',')).toDouble(&ok);
        if (!ok)
            mismatch(field);
        return QVariant::fromValue(Currency{qRound64(d * Currency::kScale)});
    }
    case FieldType::Single: {
        bool ok = false;
        const float f = input.toString().toFloat(&ok);
        if (!ok)
            mismatch(field);
        return f;
    }
    case FieldType::Date: {
        const QDateTime dt = input.typeId() == QMetaType::QDateTime
                                 ? input.toDateTime()
                                 : QDateTime::fromString(input.toString(), Qt::ISODate);
        if (!dt.isValid())
            mismatch(field);
        return dt;
    }
    case FieldType::Text:
        if (input.toString().size() > field.size)
            raise(errFieldTooSmall,
                  QStringLiteral("The text is too long for field '%1'.").arg(field.name));
        return input.toString();
    case FieldType::Memo:
        return input.toString();
    }
    mismatch(field);
}

QVariant toStorage(const FieldDef& field, const QVariant& value) {
    if (value.isNull())
        return QVariant();
    switch (field.type) {
    case FieldType::Boolean:
        return qint64(value.toBool() ? -1 : 0);
    case FieldType::Integer:
    case FieldType::Long:
        return value.toLongLong();
    case FieldType::Currency:
        return value.value<Currency>().scaled;
    case FieldType::Single:
        return value.toDouble();
    case FieldType::Date:
        return value.toDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
    default:
        return value.toString();
    }
}

QVariant fromStorage(const FieldDef& field, const QVariant& stored) {
    if (stored.isNull())
        return QVariant();
    switch (field.type) {
    case FieldType::Boolean:
        return stored.toLongLong() != 0;
    case FieldType::Integer:
    case FieldType::Long:
        return int(stored.toLongLong());
    case FieldType::Currency:
        return QVariant::fromValue(Currency{stored.toLongLong()});
    case FieldType::Single:
        return float(stored.toDouble());
    case FieldType::Date:
        return QDateTime::fromString(stored.toString(), QStringLiteral("yyyy-MM-dd hh:mm:ss"));
    default:
        return stored.toString();
    }
}

QString displayText(const FieldDef&, const QVariant& value) {
    return value.toString();
}

QString sqlTypeName(const FieldDef& field) {
    switch (field.type) {
    case FieldType::Boolean:
        return QStringLiteral("BOOLEAN");
    case FieldType::Integer:
        return QStringLiteral("SMALLINT");
    case FieldType::Long:
        return QStringLiteral("INTEGER");
    case FieldType::Currency:
        return QStringLiteral("CURRENCY");
    case FieldType::Single:
        return QStringLiteral("SINGLE");
    case FieldType::Date:
        return QStringLiteral("DATETIME");
    case FieldType::Text:
        return QStringLiteral("VARCHAR(%1)").arg(field.size);
    case FieldType::Memo:
        return QStringLiteral("MEMO");
    }
    return QString();
}

bool fieldTypeFromSql(const QString& declared, FieldType* type, int* size) {
    const QString t = declared.trimmed().toUpper();
    static const QList<QPair<QString, QPair<FieldType, int>>> names = {
        {"BOOLEAN", {FieldType::Boolean, 1}}, {"SMALLINT", {FieldType::Integer, 2}},
        {"INTEGER", {FieldType::Long, 4}},    {"CURRENCY", {FieldType::Currency, 8}},
        {"SINGLE", {FieldType::Single, 4}},   {"DATETIME", {FieldType::Date, 8}},
        {"MEMO", {FieldType::Memo, 0}}};
    for (const auto& entry : names)
        if (t == entry.first) {
            *type = entry.second.first;
            *size = entry.second.second;
            return true;
        }
    if (t.startsWith(QLatin1String("VARCHAR(")) && t.endsWith(QLatin1Char(')'))) {
        *type = FieldType::Text;
        *size = t.mid(8, t.size() - 9).toInt();
        return true;
    }
    return false;
}

} // namespace store
