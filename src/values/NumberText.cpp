#include "NumberText.h"

#include <charconv>

namespace values {

QString shortestText(double value) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return QString::fromLatin1(buffer, result.ptr - buffer);
}

QString shortestFixedText(float value) {
    // The largest float written out in full has 39 digits before the point.
    char buffer[128];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    return QString::fromLatin1(buffer, result.ptr - buffer);
}

QString scaledDecimalText(WideInteger scaled, int decimals) {
    const bool negative = scaled < 0;
    // Built from the last digit up; the magnitude is taken digit by digit so that
    // even the most negative value has none of its digits lost.
    QString digits;
    WideInteger rest = scaled;
    do {
        const int digit = int(rest % 10);
        digits.prepend(QChar(u'0' + (digit < 0 ? -digit : digit)));
        rest /= 10;
    } while (rest != 0);
    if (digits.size() <= decimals)
        digits.prepend(QString(decimals + 1 - digits.size(), u'0'));
    if (decimals > 0)
        digits.insert(digits.size() - decimals, u'.');
    return negative ? u'-' + digits : digits;
}

} // namespace values
