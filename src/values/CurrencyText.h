#pragma once

#include "Currency.h"
#include "DecimalText.h"

#include <QString>

namespace values {

// Why a text or number is no currency value.
enum class CurrencyProblem {
    None,
    NotAnAmount,     // not a number at all
    TooManyDecimals, // a non-zero digit after the fourth decimal: refused, never rounded
    OutOfRange,      // beyond what four decimals in 64 bits hold
};

struct CurrencyResult {
    Currency value;
    CurrencyProblem problem = CurrencyProblem::None;

    bool ok() const { return problem == CurrencyProblem::None; }
};

// Typed money: "1234.5", "$1,234.5678", "-$5", "$-5", "(5.00)" and "($5.00)" for a
// negative amount, spaces around. Exact: digits beyond the fourth decimal are
// accepted only when they are zeros.
CurrencyResult parseCurrencyText(const QString& text);

// A binary number as money: its shortest decimal form rounded half away from zero
// to four decimals (0.1 + 0.2 gives 0.3). Not finite is NotAnAmount.
CurrencyResult currencyFromDouble(double value);

// An amount as an exact decimal, for the number readers and the display patterns.
DecimalText decimalFromCurrency(Currency value);

// A whole number of dollars; OutOfRange beyond what the scaled form holds.
CurrencyResult currencyFromInteger(qint64 value);

// The smallest and largest amounts, as text for messages.
QString currencyRangeText();

} // namespace values
