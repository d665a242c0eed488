#include "Format.h"

#include "CurrencyText.h"

#include <algorithm>
#include <optional>

namespace values {

namespace {

// The parts of a number pattern such as "$##.00" or "#,##0.00".
struct NumberPattern {
    QString prefix;
    QString suffix;
    int minWholeDigits = 0;
    int decimals = 0;
    bool grouped = false;
    bool negativeInParentheses = false;
};

bool isPlaceholder(QChar c) {
    return c == u'#' || c == u'0';
}

std::optional<NumberPattern> readPattern(const QString& pattern) {
    if (pattern.compare(QLatin1String("Currency"), Qt::CaseInsensitive) == 0)
        return NumberPattern{QStringLiteral("$"), QString(), 1, 2, true, true};

    qsizetype start = 0;
    while (start < pattern.size() && !isPlaceholder(pattern[start]) && pattern[start] != u'.')
        ++start;
    if (start == pattern.size())
        return std::nullopt;
    NumberPattern parsed;
    parsed.prefix = pattern.left(start);
    qsizetype pos = start;
    for (; pos < pattern.size() && (isPlaceholder(pattern[pos]) || pattern[pos] == u','); ++pos) {
        parsed.minWholeDigits += pattern[pos] == u'0';
        parsed.grouped = parsed.grouped || pattern[pos] == u',';
    }
    if (pos < pattern.size() && pattern[pos] == u'.') {
        for (++pos; pos < pattern.size() && isPlaceholder(pattern[pos]); ++pos)
            ++parsed.decimals;
    }
    parsed.suffix = pattern.mid(pos);
    return parsed;
}

QString groupThousands(const QString& digits) {
    QString grouped = digits;
    for (qsizetype at = grouped.size() - 3; at > 0; at -= 3)
        grouped.insert(at, u',');
    return grouped;
}

// The exact decimal for a value; nothing when it is no number.
std::optional<DecimalText> numberOf(const QVariant& value) {
    switch (value.typeId()) {
    case QMetaType::QString:
    case QMetaType::QByteArray:
        return parseDecimalText(value.toString(), NumberSyntax::Money);
    case QMetaType::Double:
        return decimalFromDouble(value.toDouble());
    case QMetaType::Float:
        return decimalFromFloat(value.toFloat());
    case QMetaType::Bool:
        return decimalFromInteger(value.toBool() ? -1 : 0);
    case QMetaType::ULongLong:
    case QMetaType::ULong:
        return decimalFromUnsigned(value.toULongLong());
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::Long:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
        return decimalFromInteger(value.toLongLong());
    default:
        break;
    }
    if (value.metaType() == QMetaType::fromType<Currency>())
        return decimalFromCurrency(value.value<Currency>());
    return std::nullopt;
}

} // namespace

QString Format(const QVariant& value, const QString& pattern) {
    if (!value.isValid() || value.isNull())
        return QString();
    const std::optional<DecimalText> number = numberOf(value);
    if (!number)
        return value.toString(); // text that is no number stays as it was typed
    std::optional<NumberPattern> parsed = readPattern(pattern);
    if (!parsed) // no placeholders: the plain number, every decimal kept
        parsed =
            NumberPattern{QString(), QString(), 1, std::max(0, -number->exponent), false, false};

    const FixedDecimal fixed = toFixed(*number, parsed->decimals);
    QString whole = fixed.whole.rightJustified(parsed->minWholeDigits, u'0');
    if (parsed->grouped)
        whole = groupThousands(whole);
    QString text = parsed->prefix + whole;
    if (parsed->decimals > 0)
        text += u'.' + fixed.fraction;
    text += parsed->suffix;
    if (!fixed.negative)
        return text;
    return parsed->negativeInParentheses ? u'(' + text + u')' : u'-' + text;
}

} // namespace values
