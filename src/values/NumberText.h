#pragma once

#include <QString>

namespace values {

// The shortest text that reads back as the same binary number: 12.3, not
// 12.300000190734863, with an exponent where that is shorter (1e+20).
QString shortestText(double value);

// As shortestText, never with an exponent, for entry boxes (100000000000000000000).
QString shortestFixedText(float value);

} // namespace values
