#include "CurrencyText.h"

#include "DecimalText.h"

#include <limits>

namespace values {

namespace {

constexpr int kDecimals = 4;

CurrencyResult fromFixed(const FixedDecimal& fixed, bool mustBeExact) {
    CurrencyResult result;
    if (mustBeExact && !fixed.exact)
        result.problem = CurrencyProblem::TooManyDecimals;
    else if (!toInt64(fixed, &result.value.scaled))
        result.problem = CurrencyProblem::OutOfRange;
    return result;
}

} // namespace

CurrencyResult parseCurrencyText(const QString& text) {
    const std::optional<DecimalText> number = parseDecimalText(text, NumberSyntax::Money);
    if (!number)
        return {Currency{}, CurrencyProblem::NotAnAmount};
    return fromFixed(toFixed(*number, kDecimals), true);
}

CurrencyResult currencyFromDouble(double value) {
    const std::optional<DecimalText> number = decimalFromDouble(value);
    if (!number)
        return {Currency{},
                value == value ? CurrencyProblem::OutOfRange : CurrencyProblem::NotAnAmount};
    return fromFixed(toFixed(*number, kDecimals), false);
}

DecimalText decimalFromCurrency(Currency value) {
    DecimalText number = decimalFromInteger(value.scaled);
    number.exponent -= kDecimals;
    return number;
}

CurrencyResult currencyFromInteger(qint64 value) {
    return fromFixed(toFixed(decimalFromInteger(value), kDecimals), true);
}

QString currencyRangeText() {
    return Currency{std::numeric_limits<qint64>::min()}.toString() + QStringLiteral(" to ") +
           Currency{std::numeric_limits<qint64>::max()}.toString();
}

} // namespace values
