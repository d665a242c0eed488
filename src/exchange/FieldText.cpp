#include "FieldText.h"

#include "values/DateText.h"

#include <charconv>
#include <string>

namespace exchange {

namespace {

bool isSpace(QChar c) {
    return c == u' ' || c == u'\t' || c == QChar(0x00A0) || c == QChar(0x202F) ||
           c == QChar(0x2009);
}

bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// Currency signs and codes around an amount: "$", "€", "EUR", "zł", "kr".
bool isMoneyDecoration(QChar c) {
    return isSpace(c) || c.category() == QChar::Symbol_Currency || c.isLetter();
}

QStringView trimmedBy(QStringView text, bool (*drop)(QChar)) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && drop(text[begin]))
        ++begin;
    while (end > begin && drop(text[end - 1]))
        --end;
    return text.mid(begin, end - begin);
}

// A number's digits with its separators read: "1.234,56" is whole "1234", fraction "56".
struct PlainNumber {
    bool negative = false;
    std::string whole;
    std::string fraction;
};

bool isSeparator(QChar c) {
    return c == u'.' || c == u',';
}

// The digits between separators, each group after the first exactly three long.
bool appendGroups(QStringView part, QChar decimal, std::string* out) {
    bool grouped = false;
    qsizetype groupLength = 0;
    for (QChar c : part) {
        if (isDigit(c)) {
            out->push_back(char(c.unicode()));
            ++groupLength;
        } else if ((isSeparator(c) && c != decimal) || isSpace(c)) {
            if (groupLength == 0 || groupLength > 3 || (grouped && groupLength != 3))
                return false;
            grouped = true;
            groupLength = 0;
        } else {
            return false;
        }
    }
    return !grouped || groupLength == 3;
}

std::optional<PlainNumber> readPlainNumber(QStringView text, DecimalMark mark, bool money) {
    PlainNumber number;
    QStringView body = trimmedBy(text, isSpace);
    if (money && body.size() >= 2 && body.front() == u'(' && body.back() == u')') {
        number.negative = true;
        body = body.mid(1, body.size() - 2);
    }
    if (money)
        body = trimmedBy(body, isMoneyDecoration);
    if (!body.isEmpty() && (body.front() == u'-' || body.front() == u'+')) {
        if (number.negative)
            return std::nullopt;
        number.negative = body.front() == u'-';
        body = body.mid(1);
        body = money ? trimmedBy(body, isMoneyDecoration) : trimmedBy(body, isSpace);
    }
    if (body.isEmpty())
        return std::nullopt;

    const qsizetype lastPoint = body.lastIndexOf(u'.');
    const qsizetype lastComma = body.lastIndexOf(u',');
    QChar decimal; // none when every separator groups thousands
    if (lastPoint >= 0 && lastComma >= 0) {
        decimal = lastPoint > lastComma ? QChar(u'.') : QChar(u',');
    } else if (lastPoint >= 0 || lastComma >= 0) {
        const QChar only = lastPoint >= 0 ? QChar(u'.') : QChar(u',');
        const qsizetype at = std::max(lastPoint, lastComma);
        const bool once = body.indexOf(only) == at;
        const qsizetype digitsAfter = body.size() - at - 1;
        if (!once)
            decimal = QChar();
        else if (digitsAfter != 3 || at == 0)
            decimal = only;
        else
            decimal = (mark == DecimalMark::Point) == (only == u'.') ? only : QChar();
    }
    const qsizetype decimalAt = decimal.isNull() ? -1 : body.lastIndexOf(decimal);
    if (decimalAt >= 0 && body.indexOf(decimal) != decimalAt)
        return std::nullopt;
    const QStringView wholePart = decimalAt >= 0 ? body.left(decimalAt) : body;
    if (!appendGroups(wholePart, decimal, &number.whole))
        return std::nullopt;
    if (decimalAt >= 0) {
        for (QChar c : body.mid(decimalAt + 1)) {
            if (!isDigit(c))
                return std::nullopt;
            number.fraction.push_back(char(c.unicode()));
        }
    }
    if (number.whole.empty() && number.fraction.empty())
        return std::nullopt;
    return number;
}

int digitsValue(QStringView digits) {
    int value = 0;
    for (QChar c : digits)
        value = value * 10 + (c.unicode() - u'0');
    return value;
}

// Reads up to maxDigits digits at pos; their count (0 when none).
qsizetype readDigits(QStringView text, qsizetype pos, qsizetype maxDigits) {
    qsizetype n = 0;
    while (pos + n < text.size() && n < maxDigits + 1 && isDigit(text[pos + n]))
        ++n;
    return n > maxDigits ? 0 : n;
}

// "H:mm[:ss] [AM|PM]" from pos to the end; false when it is not a time.
bool readTime(QStringView text, qsizetype pos, QTime* time) {
    const qsizetype hourDigits = readDigits(text, pos, 2);
    if (hourDigits == 0 || pos + hourDigits >= text.size() || text[pos + hourDigits] != u':')
        return false;
    int hour = digitsValue(text.mid(pos, hourDigits));
    pos += hourDigits + 1;
    if (readDigits(text, pos, 2) != 2)
        return false;
    const int minute = digitsValue(text.mid(pos, 2));
    pos += 2;
    int second = 0;
    if (pos < text.size() && text[pos] == u':') {
        if (readDigits(text, pos + 1, 2) != 2)
            return false;
        second = digitsValue(text.mid(pos + 1, 2));
        pos += 3;
        if (pos < text.size() && text[pos] == u'.') { // milliseconds: the store keeps seconds
            ++pos;
            while (pos < text.size() && isDigit(text[pos]))
                ++pos;
        }
    }
    const QStringView rest = trimmedBy(text.mid(pos), isSpace);
    if (!rest.isEmpty()) {
        const bool pm = rest.compare(u"pm", Qt::CaseInsensitive) == 0;
        if (!pm && rest.compare(u"am", Qt::CaseInsensitive) != 0)
            return false;
        if (hour < 1 || hour > 12)
            return false;
        hour = hour % 12 + (pm ? 12 : 0);
    }
    if (hour > 23 || minute > 59 || second > 59)
        return false;
    *time = QTime(hour, minute, second);
    return true;
}

} // namespace

std::optional<double> parseFieldNumber(QStringView text, DecimalMark mark) {
    const std::optional<PlainNumber> number = readPlainNumber(text, mark, false);
    if (!number)
        return std::nullopt;
    std::string plain =
        (number->negative ? "-" : "") + (number->whole.empty() ? "0" : number->whole);
    if (!number->fraction.empty())
        plain += "." + number->fraction;
    double value = 0;
    const auto [end, error] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    if (error != std::errc() || end != plain.data() + plain.size())
        return std::nullopt;
    return value;
}

std::optional<values::Currency> parseFieldMoney(QStringView text, DecimalMark mark) {
    const std::optional<PlainNumber> number = readPlainNumber(text, mark, true);
    if (!number)
        return std::nullopt;
    std::string whole = number->whole;
    whole.erase(0, std::min(whole.find_first_not_of('0'), whole.size()));
    if (whole.size() > 14)
        return std::nullopt;
    for (size_t i = 4; i < number->fraction.size(); ++i) {
        if (number->fraction[i] != '0')
            return std::nullopt;
    }
    qint64 scaled = 0;
    for (char c : whole)
        scaled = scaled * 10 + (c - '0');
    for (size_t i = 0; i < 4; ++i)
        scaled = scaled * 10 + (i < number->fraction.size() ? number->fraction[i] - '0' : 0);
    return values::Currency{number->negative ? -scaled : scaled};
}

std::optional<bool> parseFieldFlag(QStringView text) {
    const QString word = trimmedBy(text, isSpace).toString().toLower();
    static const QStringList yes = {"1",  "true", "yes", "y",   "on", "full",
                                    "si", "sí",   "sim", "tak", "ja", "oui"};
    static const QStringList no = {"0",   "false", "no",   "n",   "off", "não",
                                   "nao", "nie",   "nein", "non", ""};
    if (word.isEmpty())
        return std::nullopt;
    if (yes.contains(word))
        return true;
    if (no.contains(word))
        return false;
    return std::nullopt;
}

FieldDate parseFieldDate(QStringView text, DateOrder order) {
    const QStringView date = trimmedBy(text, isSpace);
    int numbers[3] = {0, 0, 0};
    qsizetype lengths[3] = {0, 0, 0};
    qsizetype pos = 0;
    QChar separator;
    for (int i = 0; i < 3; ++i) {
        if (i > 0) {
            if (pos >= date.size())
                return {{}, FieldDateProblem::NotADate};
            const QChar c = date[pos];
            if (i == 1 && (c == u'/' || c == u'.' || c == u'-'))
                separator = c;
            else if (c != separator)
                return {{}, FieldDateProblem::NotADate};
            ++pos;
        }
        lengths[i] = readDigits(date, pos, 4);
        if (lengths[i] == 0)
            return {{}, FieldDateProblem::NotADate};
        numbers[i] = digitsValue(date.mid(pos, lengths[i]));
        pos += lengths[i];
    }
    QTime time(0, 0);
    if (pos < date.size()) {
        if (date[pos] == u'T') {
            ++pos;
        } else if (isSpace(date[pos])) {
            while (pos < date.size() && isSpace(date[pos]))
                ++pos;
        } else {
            return {{}, FieldDateProblem::NotADate};
        }
        if (!readTime(date, pos, &time))
            return {{}, FieldDateProblem::NotADate};
    }
    int year = 0;
    int month = 0;
    int day = 0;
    qsizetype yearLength = 0;
    if (lengths[0] == 4) {
        year = numbers[0], month = numbers[1], day = numbers[2];
        yearLength = 4;
        if (lengths[1] > 2 || lengths[2] > 2)
            return {{}, FieldDateProblem::NotADate};
    } else {
        if (lengths[0] > 2 || lengths[1] > 2)
            return {{}, FieldDateProblem::NotADate};
        const bool monthFirst = order == DateOrder::MonthFirst;
        month = monthFirst ? numbers[0] : numbers[1];
        day = monthFirst ? numbers[1] : numbers[0];
        year = numbers[2];
        yearLength = lengths[2];
    }
    if (yearLength <= 2)
        year += year < 30 ? 2000 : 1900;
    const QDate calendarDay(year, month, day);
    if (!calendarDay.isValid())
        return {{}, FieldDateProblem::NotADay};
    const values::DateResult checked = values::checkedDateTime(calendarDay, time);
    if (!checked.ok())
        return {{}, FieldDateProblem::OutOfRange};
    return {checked.value, FieldDateProblem::None};
}

std::optional<QTime> parseFieldTime(QStringView text) {
    const QStringView trimmed = trimmedBy(text, isSpace);
    QTime time;
    if (trimmed.isEmpty() || !readTime(trimmed, 0, &time))
        return std::nullopt;
    return time;
}

} // namespace exchange
