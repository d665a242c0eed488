#pragma once

#include <QString>
#include <QtGlobal>
#include <optional>

namespace values {

// An exact decimal number: value = digits × 10^exponent. Money and typed numbers
// go through this form so that no binary rounding creeps in before we decide to
// round.
struct DecimalText {
    bool negative = false;
    QString digits; // ASCII digits without leading zeros; empty for zero
    int exponent = 0;

    bool isZero() const { return digits.isEmpty(); }
};

enum class NumberSyntax {
    Plain, // [sign] digits [. digits] [e [sign] digits]
    Money, // Plain, plus a "$" after the sign and parentheses for a negative amount
};

// Reads a number as a person types it: spaces around it, an optional sign,
// thousands separators in groups of three ("1,234,567"), a decimal point and an
// exponent ("1e9"). Nothing when the text is no number.
std::optional<DecimalText> parseDecimalText(const QString& text, NumberSyntax syntax);

// The shortest decimal that reads back as the same binary value, so 0.1 is 0.1
// and not 0.1000000000000000055...; nothing for infinities and NaN.
std::optional<DecimalText> decimalFromDouble(double value);
std::optional<DecimalText> decimalFromFloat(float value);
DecimalText decimalFromInteger(qint64 value);
DecimalText decimalFromUnsigned(quint64 value);

// A number cut to a fixed count of decimals, rounded half away from zero.
struct FixedDecimal {
    bool negative = false; // false when the rounded value is zero
    QString whole;         // digits before the point, no leading zeros ("" for zero)
    QString fraction;      // exactly the asked count of digits
    bool exact = true;     // false when non-zero digits were rounded away
};
FixedDecimal toFixed(const DecimalText& number, int decimals);

// The whole and fraction digits read as one integer (the value scaled by
// 10^decimals); false when that does not fit a qint64.
bool toInt64(const FixedDecimal& fixed, qint64* out);

// The nearest double; ±infinity beyond its range.
double toDouble(const DecimalText& number);

} // namespace values
