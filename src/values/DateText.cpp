#include "DateText.h"

#include <QRegularExpression>

namespace values {

namespace {

// Hour 0..23 and minutes and seconds 0..59; with AM/PM the hour must be 1..12.
bool makeTime(int hour, int minute, int second, const QString& meridiem, QTime* time) {
    if (!meridiem.isEmpty()) {
        if (hour < 1 || hour > 12)
            return false;
        const bool pm = meridiem.startsWith(u'p', Qt::CaseInsensitive);
        hour = hour % 12 + (pm ? 12 : 0);
    }
    if (!QTime::isValid(hour, minute, second, 0))
        return false;
    *time = QTime(hour, minute, second);
    return true;
}

int number(const QRegularExpressionMatch& match, int group) {
    return match.captured(group).toInt();
}

// Years of one or two digits: the classic desktop window, 30..99 as 1930..1999 and
// 00..29 as 2000..2029.
int expandYear(const QString& yearText) {
    const int year = yearText.toInt();
    if (yearText.size() > 2)
        return year;
    return year < 30 ? 2000 + year : 1900 + year;
}

DateResult fromParts(int year, int month, int day, const QTime& time) {
    if (!QDate::isValid(year, month, day))
        return {QDateTime(), DateProblem::NotADate};
    return checkedDateTime(QDate(year, month, day), time);
}

} // namespace

DateResult parseDateText(const QString& text) {
    // [0-9] rather than \d: Qt's \d also matches digits of other scripts.
    static const QRegularExpression iso(QStringLiteral(
        R"(^([0-9]{4})-([0-9]{1,2})-([0-9]{1,2})(?:[T ]([0-9]{1,2}):([0-9]{2})(?::([0-9]{2}))?)?$)"));
    static const QRegularExpression us(QStringLiteral(
        R"(^([0-9]{1,2})/([0-9]{1,2})/([0-9]{1,4})(?: +([0-9]{1,2}):([0-9]{2})(?::([0-9]{2}))? *([AaPp][Mm])?)?$)"));

    const QString trimmed = text.trimmed();
    QTime time(0, 0);
    QRegularExpressionMatch match = iso.match(trimmed);
    if (match.hasMatch()) {
        if (match.hasCaptured(4) &&
            !makeTime(number(match, 4), number(match, 5), number(match, 6), QString(), &time))
            return {QDateTime(), DateProblem::NotADate};
        return fromParts(number(match, 1), number(match, 2), number(match, 3), time);
    }
    match = us.match(trimmed);
    if (match.hasMatch()) {
        if (match.hasCaptured(4) && !makeTime(number(match, 4), number(match, 5), number(match, 6),
                                              match.captured(7), &time))
            return {QDateTime(), DateProblem::NotADate};
        return fromParts(expandYear(match.captured(3)), number(match, 1), number(match, 2), time);
    }
    return {QDateTime(), DateProblem::NotADate};
}

namespace {

// One code unit of stored text, as UTF-16 or as the bytes SQLite gives.
char16_t unitAt(QStringView text, qsizetype i) {
    return text[i].unicode();
}
char16_t unitAt(QLatin1String text, qsizetype i) {
    return char16_t(uchar(text.data()[i]));
}

// The number written by count digits at text[start], or -1 when one is no digit.
template <class View> int digitsAt(View text, qsizetype start, int count) {
    int value = 0;
    for (qsizetype i = start; i < start + count; ++i) {
        const char16_t c = unitAt(text, i);
        if (c < u'0' || c > u'9')
            return -1;
        value = value * 10 + (c - u'0');
    }
    return value;
}

template <class View> std::optional<QDateTime> storedDate(View text) {
    // yyyy-MM-dd hh:mm:ss
    // 0123456789012345678
    if (text.size() != 19 || unitAt(text, 4) != u'-' || unitAt(text, 7) != u'-' ||
        unitAt(text, 10) != u' ' || unitAt(text, 13) != u':' || unitAt(text, 16) != u':')
        return std::nullopt;
    const int year = digitsAt(text, 0, 4);
    const int month = digitsAt(text, 5, 2);
    const int day = digitsAt(text, 8, 2);
    const int hour = digitsAt(text, 11, 2);
    const int minute = digitsAt(text, 14, 2);
    const int second = digitsAt(text, 17, 2);
    if (year < kFirstYear || year > kLastYear || !QDate::isValid(year, month, day) ||
        !QTime::isValid(hour, minute, second, 0))
        return std::nullopt;
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second), Qt::UTC);
}

} // namespace

std::optional<QDateTime> parseStoredDateText(QStringView text) {
    return storedDate(text);
}

std::optional<QDateTime> parseStoredDateText(QLatin1String bytes) {
    return storedDate(bytes);
}

DateResult checkedDateTime(const QDate& date, const QTime& time) {
    if (!date.isValid())
        return {QDateTime(), DateProblem::NotADate};
    if (date.year() < kFirstYear || date.year() > kLastYear)
        return {QDateTime(), DateProblem::OutOfRange};
    const QTime wholeSeconds =
        time.isValid() ? QTime(time.hour(), time.minute(), time.second()) : QTime(0, 0);
    return {QDateTime(date, wholeSeconds, Qt::UTC), DateProblem::None};
}

QDateTime parseIsoDateTimeText(const QString& text) {
    return QDateTime::fromString(text, Qt::ISODateWithMs);
}

QString isoDateTimeText(const QDateTime& dateTime) {
    const QDate date = dateTime.date();
    const QTime time = dateTime.time();
    return QString::asprintf("%04d-%02d-%02d %02d:%02d:%02d", date.year(), date.month(), date.day(),
                             time.hour(), time.minute(), time.second());
}

QString usDateText(const QDateTime& dateTime) {
    const QDate date = dateTime.date();
    const QTime time = dateTime.time();
    QString text = QStringLiteral("%1/%2/%3").arg(date.month()).arg(date.day()).arg(date.year());
    if (time != QTime(0, 0))
        text += QString::asprintf(" %d:%02d:%02d %s", (time.hour() + 11) % 12 + 1, time.minute(),
                                  time.second(), time.hour() < 12 ? "AM" : "PM");
    return text;
}

} // namespace values
