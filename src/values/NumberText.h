#pragma once

#include <QString>

namespace values {

// The shortest text that reads back as the same binary number: 12.3, not
// 12.300000190734863, with an exponent where that is shorter (1e+20).
QString shortestText(double value);

// As shortestText, never with an exponent, for entry boxes (0.00001, not 1e-05).
QString shortestFixedText(float value);

// The exact decimal text of a count of 1/10^decimals, wider than 64 bits so that
// sums of money never overflow: -1234.5600 for -12345600 and 4, 0.05 for 5 and 2.
__extension__ typedef __int128 WideInteger;
QString scaledDecimalText(WideInteger scaled, int decimals);

} // namespace values
