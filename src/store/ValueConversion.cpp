#include "ValueConversion.h"

#include "StoreErrors.h"
#include "values/CurrencyText.h"
#include "values/DateText.h"
#include "values/DecimalText.h"
#include "values/NumberText.h"

#include <QRegularExpression>
#include <cmath>
#include <limits>
#include <optional>

namespace store {

using namespace values;

namespace {

// ---- what a caller gave ----------------------------------------------------------

enum class Kind { Null, Text, Integer, Real, Money, Boolean, Date, DateTime, Other };

Kind kindOf(const QVariant& value) {
    if (!value.isValid() || value.isNull())
        return Kind::Null;
    switch (value.typeId()) {
    case QMetaType::QString:
    case QMetaType::QByteArray:
    case QMetaType::QChar:
        return Kind::Text;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
        return Kind::Integer;
    case QMetaType::Double:
    case QMetaType::Float:
        return Kind::Real;
    case QMetaType::Bool:
        return Kind::Boolean;
    case QMetaType::QDate:
        return Kind::Date;
    case QMetaType::QDateTime:
        return Kind::DateTime;
    default:
        return value.metaType() == QMetaType::fromType<Currency>() ? Kind::Money : Kind::Other;
    }
}

QString textOf(const QVariant& value) {
    return value.typeId() == QMetaType::QByteArray ? QString::fromUtf8(value.toByteArray())
                                                   : value.toString();
}

// A value of any kind as plain text.
QString plainText(const QVariant& value) {
    switch (kindOf(value)) {
    case Kind::Money:
        return value.value<Currency>().toString();
    case Kind::Real:
        return value.typeId() == QMetaType::Float ? shortestFixedText(value.toFloat())
                                                  : shortestText(value.toDouble());
    default:
        return textOf(value);
    }
}

// The value as the user would recognise it in a message; long texts are cut.
QString shown(const QVariant& value) {
    const QString text = plainText(value).trimmed();
    constexpr int kLongest = 40;
    return text.size() > kLongest ? text.left(kLongest) + QStringLiteral("...") : text;
}

// ---- errors ------------------------------------------------------------------------

[[noreturn]] void mismatch(const FieldDef& field, const QVariant& value, const QString& why) {
    raise(errTypeMismatch, QStringLiteral("The value '%1' is not valid for field '%2' (%3).")
                               .arg(shown(value), field.name, why));
}

[[noreturn]] void overflow(const FieldDef& field, const QVariant& value, bool negative,
                           const QString& range) {
    raise(errOverflow,
          QStringLiteral("The value %1 is too %2 for field '%3' (allowed %4).")
              .arg(shown(value), negative ? QStringLiteral("small") : QStringLiteral("large"),
                   field.name, range));
}

[[noreturn]] void dateOutOfRange(const FieldDef& field, const QVariant& value) {
    raise(errOverflow, QStringLiteral("The date %1 is outside the range of field '%2' "
                                      "(years %3 to %4).")
                           .arg(shown(value), field.name)
                           .arg(kFirstYear)
                           .arg(kLastYear));
}

QString expectedText(FieldType type) {
    switch (type) {
    case FieldType::Boolean:
        return QStringLiteral("True or False is expected");
    case FieldType::Integer:
    case FieldType::Long:
        return QStringLiteral("a whole number is expected");
    case FieldType::Currency:
        return QStringLiteral("an amount such as 1,234.50 is expected");
    case FieldType::Single:
        return QStringLiteral("a number is expected");
    case FieldType::Date:
        return QStringLiteral("a date such as 3/15/2024 or 2024-03-15 is expected");
    case FieldType::Text:
    case FieldType::Memo:
        break;
    }
    return QStringLiteral("text is expected");
}

// ---- numbers -----------------------------------------------------------------------

// Any numeric input as an exact decimal. Text is read with the given syntax; a
// binary number by its shortest decimal form. Infinity overflows, NaN and other
// kinds are no number.
DecimalText numberOf(const FieldDef& field, const QVariant& value, NumberSyntax syntax) {
    std::optional<DecimalText> number;
    switch (kindOf(value)) {
    case Kind::Text:
        number = parseDecimalText(textOf(value), syntax);
        break;
    case Kind::Integer:
        if (value.typeId() == QMetaType::ULongLong || value.typeId() == QMetaType::ULong)
            number = decimalFromUnsigned(value.toULongLong());
        else
            number = decimalFromInteger(value.toLongLong());
        break;
    case Kind::Real: {
        const double real = value.toDouble();
        if (std::isinf(real))
            overflow(field, value, real < 0, QStringLiteral("finite numbers"));
        number = value.typeId() == QMetaType::Float ? decimalFromFloat(value.toFloat())
                                                    : decimalFromDouble(real);
        break;
    }
    case Kind::Money:
        number = decimalFromCurrency(value.value<Currency>());
        break;
    case Kind::Boolean:
        number = decimalFromInteger(value.toBool() ? -1 : 0);
        break;
    default:
        break;
    }
    if (!number)
        mismatch(field, value, expectedText(field.type));
    return *number;
}

int toWholeNumber(const FieldDef& field, const QVariant& value, qint64 lowest, qint64 highest) {
    const DecimalText number = numberOf(field, value, NumberSyntax::Plain);
    const FixedDecimal whole = toFixed(number, 0);
    if (!whole.exact)
        mismatch(field, value, expectedText(field.type));
    qint64 result = 0;
    if (!toInt64(whole, &result) || result < lowest || result > highest)
        overflow(field, value, number.negative,
                 QStringLiteral("%1 to %2").arg(lowest).arg(highest));
    return int(result);
}

Currency toCurrency(const FieldDef& field, const QVariant& value) {
    CurrencyResult result;
    switch (kindOf(value)) {
    case Kind::Money:
        return value.value<Currency>();
    case Kind::Text:
        result = parseCurrencyText(textOf(value));
        break;
    case Kind::Real: {
        // Binary numbers cannot hold cents exactly; they are rounded to four decimals,
        // a float from its own shortest form (0.1f is 0.1, not 0.100000001).
        const std::optional<DecimalText> single =
            value.typeId() == QMetaType::Float ? decimalFromFloat(value.toFloat()) : std::nullopt;
        result = currencyFromDouble(single ? toDouble(*single) : value.toDouble());
        break;
    }
    default: {
        const DecimalText number = numberOf(field, value, NumberSyntax::Plain);
        if (!toInt64(toFixed(number, 4), &result.value.scaled))
            result.problem = CurrencyProblem::OutOfRange;
    }
    }
    switch (result.problem) {
    case CurrencyProblem::None:
        break;
    case CurrencyProblem::NotAnAmount:
        mismatch(field, value, expectedText(field.type));
    case CurrencyProblem::TooManyDecimals:
        mismatch(field, value, QStringLiteral("at most four decimal places are kept"));
    case CurrencyProblem::OutOfRange:
        overflow(field, value,
                 kindOf(value) == Kind::Real ? value.toDouble() < 0
                                             : numberOf(field, value, NumberSyntax::Money).negative,
                 currencyRangeText());
    }
    return result.value;
}

float toSingle(const FieldDef& field, const QVariant& value) {
    if (value.typeId() == QMetaType::Float && std::isfinite(value.toFloat()))
        return value.toFloat();
    const DecimalText number = numberOf(field, value, NumberSyntax::Plain);
    const double real = toDouble(number);
    const float single = float(real);
    if (!std::isfinite(single))
        overflow(field, value, number.negative,
                 QStringLiteral("-%1 to %1").arg(double(std::numeric_limits<float>::max())));
    return single;
}

bool toBoolean(const FieldDef& field, const QVariant& value) {
    if (kindOf(value) == Kind::Boolean)
        return value.toBool();
    if (kindOf(value) == Kind::Text) {
        static const QStringList yes = {QStringLiteral("true"), QStringLiteral("yes"),
                                        QStringLiteral("on")};
        static const QStringList no = {QStringLiteral("false"), QStringLiteral("no"),
                                       QStringLiteral("off")};
        const QString word = textOf(value).trimmed().toLower();
        if (yes.contains(word))
            return true;
        if (no.contains(word))
            return false;
    }
    return !numberOf(field, value, NumberSyntax::Plain).isZero();
}

QDateTime toDate(const FieldDef& field, const QVariant& value) {
    DateResult result;
    switch (kindOf(value)) {
    case Kind::Text:
        result = parseDateText(textOf(value));
        break;
    case Kind::Date:
        result = checkedDateTime(value.toDate(), QTime(0, 0));
        break;
    case Kind::DateTime: {
        // The wall-clock date and time as the caller holds them, whatever their zone.
        const QDateTime dateTime = value.toDateTime();
        result = checkedDateTime(dateTime.date(), dateTime.time());
        break;
    }
    default:
        result.problem = DateProblem::NotADate;
    }
    if (result.problem == DateProblem::OutOfRange)
        dateOutOfRange(field, value);
    if (!result.ok())
        mismatch(field, value, expectedText(field.type));
    return result.value;
}

// Characters as people count them: a pair of UTF-16 surrogates is one.
qsizetype characterCount(const QString& text) {
    qsizetype count = text.size();
    for (qsizetype i = 1; i < text.size(); ++i)
        if (text[i].isLowSurrogate() && text[i - 1].isHighSurrogate())
            --count;
    return count;
}

// A Text field declared without a size holds the longest text of the classic engines.
constexpr int kDefaultTextSize = 255;

int textSize(const FieldDef& field) {
    return field.size > 0 ? field.size : kDefaultTextSize;
}

QString toText(const FieldDef& field, const QVariant& value) {
    if (kindOf(value) == Kind::Other && !value.canConvert<QString>())
        mismatch(field, value, expectedText(field.type));
    const QString text = plainText(value);
    if (field.type == FieldType::Text) {
        const qsizetype length = characterCount(text);
        if (length > textSize(field))
            raise(errFieldTooSmall, QStringLiteral("The text for field '%1' is %2 characters "
                                                   "long; the field holds at most %3.")
                                        .arg(field.name)
                                        .arg(length)
                                        .arg(textSize(field)));
    }
    return text;
}

bool isBlank(const QVariant& value) {
    const Kind kind = kindOf(value);
    if (kind == Kind::Null)
        return true;
    if (kind != Kind::Text)
        return false;
    return textOf(value).trimmed().isEmpty();
}

} // namespace

QVariant toFieldValue(const FieldDef& field, const QVariant& input) {
    // Empty text is no value; for the non-text types so is text of spaces only. A
    // Yes/No field always holds one of its two values: no value is No.
    const bool textual = field.type == FieldType::Text || field.type == FieldType::Memo;
    const bool noValue =
        kindOf(input) == Kind::Null ||
        (textual ? textOf(input).isEmpty() && kindOf(input) == Kind::Text : isBlank(input));
    if (noValue)
        return field.type == FieldType::Boolean ? QVariant(false) : QVariant();

    switch (field.type) {
    case FieldType::Boolean:
        return toBoolean(field, input);
    case FieldType::Integer:
        return toWholeNumber(field, input, std::numeric_limits<qint16>::min(),
                             std::numeric_limits<qint16>::max());
    case FieldType::Long:
        return toWholeNumber(field, input, std::numeric_limits<qint32>::min(),
                             std::numeric_limits<qint32>::max());
    case FieldType::Currency:
        return QVariant::fromValue(toCurrency(field, input));
    case FieldType::Single:
        return toSingle(field, input);
    case FieldType::Date:
        return toDate(field, input);
    case FieldType::Text:
    case FieldType::Memo: {
        // Text fields hold no zero-length text: a value that shows as nothing (an
        // invalid date, say) is no value, like empty typed text.
        const QString text = toText(field, input);
        return text.isEmpty() ? QVariant() : QVariant(text);
    }
    }
    mismatch(field, input, expectedText(field.type));
}

QVariant toStorage(const FieldDef& field, const QVariant& fieldValue) {
    const QVariant value = toFieldValue(field, fieldValue);
    if (value.isNull())
        return QVariant();
    switch (field.type) {
    case FieldType::Boolean:
        return qint64(value.toBool() ? -1 : 0);
    case FieldType::Integer:
    case FieldType::Long:
        return qint64(value.toInt());
    case FieldType::Currency:
        return value.value<Currency>().scaled;
    case FieldType::Single:
        return double(value.toFloat());
    case FieldType::Date:
        return isoDateTimeText(value.toDateTime());
    case FieldType::Text:
    case FieldType::Memo:
        return value.toString();
    }
    return QVariant();
}

QVariant fromStorage(const FieldDef& field, const QVariant& stored) {
    const Kind kind = kindOf(stored);
    if (kind == Kind::Null) // a Yes/No field another tool left empty reads as No
        return field.type == FieldType::Boolean ? QVariant(false) : QVariant();
    // Every field of every row read comes through here: what the store itself wrote
    // is taken directly, and only other values go through the general conversion.
    switch (field.type) {
    case FieldType::Currency:
        // Our own files hold the amount scaled by 10000 as an integer; a real number
        // (written by another tool) is taken as the amount itself.
        if (kind == Kind::Integer)
            return QVariant::fromValue(Currency{stored.toLongLong()});
        return toFieldValue(field, stored);
    case FieldType::Date:
        if (kind == Kind::Text) {
            if (std::optional<QDateTime> own = parseStoredDateText(stored.toString()))
                return *own;
            const QString text = textOf(stored).trimmed();
            if (!parseDateText(text).ok()) {
                // Other tools write ISO 8601 with milliseconds or a zone letter.
                const QDateTime iso = parseIsoDateTimeText(text);
                if (iso.isValid())
                    return toFieldValue(field, iso);
            }
        }
        return toFieldValue(field, stored);
    case FieldType::Text:
    case FieldType::Memo: {
        // Text longer than the field (written by another tool) is still shown in full:
        // reading must never lose data.
        const QString text = plainText(stored);
        return text.isEmpty() ? QVariant() : QVariant(text);
    }
    case FieldType::Boolean:
        if (kind == Kind::Integer)
            return stored.toLongLong() != 0;
        break;
    case FieldType::Integer:
    case FieldType::Long:
        if (kind == Kind::Integer) {
            const qint64 number = stored.toLongLong();
            const bool fits = field.type == FieldType::Integer
                                  ? number >= std::numeric_limits<qint16>::min() &&
                                        number <= std::numeric_limits<qint16>::max()
                                  : number >= std::numeric_limits<qint32>::min() &&
                                        number <= std::numeric_limits<qint32>::max();
            if (fits)
                return int(number);
        }
        break; // out of range: the general conversion names the field and the range
    case FieldType::Single:
        if (kind == Kind::Real) {
            const float single = float(stored.toDouble());
            if (std::isfinite(single))
                return single == 0.0f ? 0.0f : single; // +0, as the general conversion gives
        }
        break;
    }
    return toFieldValue(field, stored);
}

QString displayText(const FieldDef& field, const QVariant& fieldValue) {
    if (kindOf(fieldValue) == Kind::Null)
        return QString();
    switch (field.type) {
    case FieldType::Boolean:
        return fieldValue.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case FieldType::Integer:
    case FieldType::Long:
        return QString::number(fieldValue.toLongLong());
    case FieldType::Currency:
        return toCurrency(field, fieldValue).toString();
    case FieldType::Single:
        return shortestFixedText(fieldValue.toFloat());
    case FieldType::Date:
        return usDateText(toDate(field, fieldValue));
    case FieldType::Text:
    case FieldType::Memo:
        break;
    }
    return fieldValue.toString();
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
        return QStringLiteral("DATETIME TEXT");
    case FieldType::Text:
        return QStringLiteral("VARCHAR(%1)").arg(textSize(field));
    case FieldType::Memo:
        return QStringLiteral("MEMO TEXT");
    }
    return QString();
}

bool fieldTypeFromSql(const QString& declaredType, FieldType* type, int* size) {
    struct Named {
        const char* name;
        FieldType type;
        int size; // the byte size the store reports for the type
    };
    static const Named kTypes[] = {
        {"BOOLEAN", FieldType::Boolean, 1}, {"SMALLINT", FieldType::Integer, 2},
        {"INTEGER", FieldType::Long, 4},    {"CURRENCY", FieldType::Currency, 8},
        {"SINGLE", FieldType::Single, 4},   {"DATETIME TEXT", FieldType::Date, 8},
        {"MEMO TEXT", FieldType::Memo, 0},  {"DATETIME", FieldType::Date, 8},
        {"MEMO", FieldType::Memo, 0},
    };
    // One space between words, as the names above are spelled.
    const QString declared = declaredType.simplified();
    FieldType foundType = FieldType::Text;
    int foundSize = 0;
    bool found = false;
    for (const Named& named : kTypes) {
        if (declared.compare(QLatin1String(named.name), Qt::CaseInsensitive) == 0) {
            foundType = named.type;
            foundSize = named.size;
            found = true;
        }
    }
    if (!found) {
        static const QRegularExpression varchar(
            QStringLiteral(R"(^VARCHAR\s*\(\s*([0-9]{1,5})\s*\)$)"),
            QRegularExpression::CaseInsensitiveOption);
        const QRegularExpressionMatch match = varchar.match(declared);
        foundSize = match.hasMatch() ? match.captured(1).toInt() : 0;
        found = foundSize > 0;
    }
    if (!found)
        return false;
    if (type)
        *type = foundType;
    if (size)
        *size = foundSize;
    return true;
}

bool hasTextAffinity(const QString& declaredType) {
    // A name with INT in it gives INTEGER affinity before CHAR, CLOB or TEXT count.
    const QString name = declaredType.toUpper();
    if (name.contains(QLatin1String("INT")))
        return false;
    return name.contains(QLatin1String("CHAR")) || name.contains(QLatin1String("CLOB")) ||
           name.contains(QLatin1String("TEXT"));
}

} // namespace store
