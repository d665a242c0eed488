#include "DecimalText.h"

#include <charconv>
#include <cstdlib>
#include <limits>

namespace values {

namespace {

// Keeps exponent arithmetic far from int overflow; no number that big or small
// fits any field, and the result (overflow, zero) stays the same.
constexpr int kExponentLimit = 100000;

bool isAsciiDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// A cursor over the text of one number.
class Reader {
public:
    explicit Reader(QStringView text) : m_text(text) {}

    bool atEnd() const { return m_pos >= m_text.size(); }
    QChar peek() const { return atEnd() ? QChar() : m_text[m_pos]; }
    bool take(QChar c) {
        if (peek() != c || atEnd())
            return false;
        ++m_pos;
        return true;
    }
    QString takeDigits() {
        const qsizetype start = m_pos;
        while (!atEnd() && isAsciiDigit(m_text[m_pos]))
            ++m_pos;
        return m_text.mid(start, m_pos - start).toString();
    }

private:
    QStringView m_text;
    qsizetype m_pos = 0;
};

// The digits before the point: plain, or grouped by commas in threes.
std::optional<QString> readWholeDigits(Reader& in) {
    QString whole = in.takeDigits();
    if (in.peek() != u',')
        return whole;
    if (whole.isEmpty() || whole.size() > 3)
        return std::nullopt;
    while (in.take(u',')) {
        const QString group = in.takeDigits();
        if (group.size() != 3)
            return std::nullopt;
        whole += group;
    }
    return whole;
}

// The body of a number with no sign: digits, point, exponent.
std::optional<DecimalText> readUnsigned(Reader& in) {
    const std::optional<QString> whole = readWholeDigits(in);
    if (!whole)
        return std::nullopt;
    QString fraction;
    if (in.take(u'.'))
        fraction = in.takeDigits();
    if (whole->isEmpty() && fraction.isEmpty())
        return std::nullopt;

    long long exponent = 0;
    if (in.take(u'e') || in.take(u'E')) {
        const bool negativeExponent = in.take(u'-');
        if (!negativeExponent)
            in.take(u'+');
        const QString expDigits = in.takeDigits();
        if (expDigits.isEmpty())
            return std::nullopt;
        for (QChar c : expDigits) {
            exponent = exponent * 10 + (c.unicode() - u'0');
            if (exponent > kExponentLimit) {
                exponent = kExponentLimit;
                break;
            }
        }
        if (negativeExponent)
            exponent = -exponent;
    }

    DecimalText number;
    number.digits = *whole + fraction;
    number.exponent = int(exponent) - int(fraction.size());
    // Trailing zeros move into the exponent, leading zeros go.
    while (number.digits.endsWith(u'0')) {
        number.digits.chop(1);
        ++number.exponent;
    }
    qsizetype lead = 0;
    while (lead < number.digits.size() && number.digits[lead] == u'0')
        ++lead;
    number.digits.remove(0, lead);
    if (number.digits.isEmpty())
        number.exponent = 0;
    return number;
}

void incrementDigits(QString& digits) {
    for (qsizetype i = digits.size() - 1; i >= 0; --i) {
        if (digits[i] != u'9') {
            digits[i] = QChar(digits[i].unicode() + 1);
            return;
        }
        digits[i] = u'0';
    }
    digits.prepend(u'1');
}

} // namespace

std::optional<DecimalText> parseDecimalText(const QString& text, NumberSyntax syntax) {
    QStringView body = QStringView(text).trimmed();
    bool negative = false;
    const bool money = syntax == NumberSyntax::Money;
    if (money && body.startsWith(u'(') && body.endsWith(u')') && body.size() > 2) {
        negative = true;
        body = body.mid(1, body.size() - 2);
    }

    const bool parenthesised = negative;
    Reader in(body);
    bool minus = false;
    auto takeSign = [&] {
        minus = in.take(u'-');
        return minus || in.take(u'+');
    };
    bool signSeen = takeSign();
    if (money && in.take(u'$') && !signSeen)
        signSeen = takeSign(); // "$-5" as well as "-$5"
    if (parenthesised && signSeen)
        return std::nullopt; // "(-5)" says minus twice
    negative = parenthesised || minus;

    std::optional<DecimalText> number = readUnsigned(in);
    if (!number || !in.atEnd())
        return std::nullopt;
    number->negative = negative && !number->isZero();
    return number;
}

namespace {

template <typename Float> std::optional<DecimalText> decimalFromBinary(Float value) {
    if (!(value == value) || value == std::numeric_limits<Float>::infinity() ||
        value == -std::numeric_limits<Float>::infinity())
        return std::nullopt;
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific);
    return parseDecimalText(QString::fromLatin1(buffer, result.ptr - buffer), NumberSyntax::Plain);
}

} // namespace

std::optional<DecimalText> decimalFromDouble(double value) {
    return decimalFromBinary(value);
}
std::optional<DecimalText> decimalFromFloat(float value) {
    return decimalFromBinary(value);
}

DecimalText decimalFromInteger(qint64 value) {
    const bool negative = value < 0;
    // The magnitude as unsigned, so that the most negative value has one too.
    const quint64 magnitude = negative ? quint64(0) - quint64(value) : quint64(value);
    return *parseDecimalText((negative ? QStringLiteral("-") : QString()) +
                                 QString::number(magnitude),
                             NumberSyntax::Plain);
}

DecimalText decimalFromUnsigned(quint64 value) {
    return *parseDecimalText(QString::number(value), NumberSyntax::Plain);
}

FixedDecimal toFixed(const DecimalText& number, int decimals) {
    FixedDecimal fixed;
    QString digits = number.digits; // the value × 10^decimals, once adjusted below
    const int shift = number.exponent + decimals;
    if (number.isZero()) {
        // nothing to shift
    } else if (shift >= 0) {
        digits += QString(shift, u'0');
    } else {
        const int drop = -shift;
        if (drop > digits.size())
            digits.prepend(QString(drop - digits.size(), u'0'));
        const QString dropped = digits.right(drop);
        digits.chop(drop);
        fixed.exact = dropped.count(u'0') == dropped.size();
        if (dropped[0] >= u'5')
            incrementDigits(digits);
    }
    if (digits.size() < decimals + 1)
        digits.prepend(QString(decimals + 1 - digits.size(), u'0'));
    fixed.fraction = digits.right(decimals);
    fixed.whole = digits.left(digits.size() - decimals);
    qsizetype lead = 0;
    while (lead < fixed.whole.size() && fixed.whole[lead] == u'0')
        ++lead;
    fixed.whole.remove(0, lead);
    const bool zero = fixed.whole.isEmpty() && fixed.fraction.count(u'0') == decimals;
    fixed.negative = number.negative && !zero;
    return fixed;
}

bool toInt64(const FixedDecimal& fixed, qint64* out) {
    QString digits = fixed.whole + fixed.fraction;
    qsizetype lead = 0;
    while (lead < digits.size() && digits[lead] == u'0')
        ++lead;
    digits.remove(0, lead);
    if (digits.size() > 19)
        return false;
    const quint64 limit = fixed.negative ? quint64(1) << 63 : (quint64(1) << 63) - 1;
    quint64 magnitude = 0;
    for (QChar c : digits) {
        const quint64 digit = c.unicode() - u'0';
        if (magnitude > (limit - digit) / 10)
            return false;
        magnitude = magnitude * 10 + digit;
    }
    *out = fixed.negative ? qint64(quint64(0) - magnitude) : qint64(magnitude);
    return true;
}

double toDouble(const DecimalText& number) {
    if (number.isZero())
        return 0.0;
    const QByteArray text = (number.negative ? QByteArray("-") : QByteArray()) +
                            number.digits.toLatin1() + 'e' + QByteArray::number(number.exponent);
    // No decimal point in the text, so the C library's locale cannot misread it.
    return std::strtod(text.constData(), nullptr);
}

} // namespace values
