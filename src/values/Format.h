#pragma once

#include <QString>
#include <QVariant>

namespace values {

// Shows a number with one of the program's display patterns:
//   "0000"      at least four digits, leading zeros (42 -> "0042", 12345 in full)
//   "##.00"     two decimals, no leading zero below one (0.75 -> ".75")
//   "$##.00"    a dollar sign, then as "##.00" (0.5 -> "$.50", 1234.5 -> "$1234.50")
//   "Currency"  "$1,234.50"; a negative amount in parentheses, "($1,234.50)"
// Any other pattern is read the same way: literal text around a run of '#' and '0'
// placeholders (a ',' among them groups thousands), a '.' and the decimal places;
// a pattern without placeholders shows the plain number with all its decimals.
// A negative number other than in "Currency" gets a leading minus ("-$5.00"); one
// that rounds to zero shows no sign.
//
// Rounding is half away from zero on the exact decimal value: a values::Currency is
// exact (0.125 -> ".13", 2.675 -> "2.68"); a double or float is taken by its
// shortest decimal form, the way it reads (2.675 -> "2.68" although its binary value
// lies a hair below). Numeric text ("1234.5", "$1,234.50", "(5.00)", "1e3") is read
// as a number; other text is returned unchanged, and no value gives empty text.
QString Format(const QVariant& value, const QString& pattern);

} // namespace values
