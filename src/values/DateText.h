#pragma once

#include <QDateTime>
#include <QString>
#include <QStringView>
#include <optional>

namespace values {

// Dates of the record store run from year 100 to year 9999.
inline constexpr int kFirstYear = 100;
inline constexpr int kLastYear = 9999;

enum class DateProblem {
    None,
    NotADate,   // no date of any accepted form, or no such day ("2/30/2024")
    OutOfRange, // a real date outside the years 100 to 9999
};

struct DateResult {
    QDateTime value; // wall-clock date and time in Qt::UTC, so no daylight-saving gap shifts it
    DateProblem problem = DateProblem::None;

    bool ok() const { return problem == DateProblem::None; }
};

// Typed dates, with spaces around allowed:
//   ISO 8601   "2024-03-15", "2024-03-15T08:30", "2024-03-15 08:30:15"
//   US         "3/15/2024", "03/15/2024 8:30", "3/15/2024 8:30:15 PM", "3/15/2024 12:05am"
// A US year of one or two digits falls in 1930..2029 ("3/15/24" is 2024, "3/15/45"
// is 1945); three or four digits are taken as written. Without AM/PM the hour
// runs 0..23, with it 1..12.
DateResult parseDateText(const QString& text);

// The store's own stored form "yyyy-MM-dd hh:mm:ss", read without the general
// parser: every row read goes through here. Gives nothing for any other text (or
// an impossible or out-of-range date), which parseDateText then reads or refuses;
// whatever it gives is what parseDateText gives for the same text.
std::optional<QDateTime> parseStoredDateText(QStringView text);
// The same for the bytes of stored text as SQLite gives them, without making a
// QString first (a text that is not of that form is none, whatever its encoding).
std::optional<QDateTime> parseStoredDateText(QLatin1String bytes);

// Checks the year range of a date and time from elsewhere (seconds kept, milliseconds
// dropped) and gives it as the store's wall-clock value.
DateResult checkedDateTime(const QDate& date, const QTime& time);

// ISO 8601 as other tools write it, with milliseconds or a zone ("2024-03-15T08:30:00.250Z");
// an invalid QDateTime for anything else.
QDateTime parseIsoDateTimeText(const QString& text);

// "2024-03-15 08:30:00": the form the store keeps, which parseStoredDateText reads,
// and the one lists of times show.
QString isoDateTimeText(const QDateTime& dateTime);

// "3/15/2024", with " 8:30:15 PM" when the time is not midnight: the form an entry box
// shows and parseDateText reads back to the same value.
QString usDateText(const QDateTime& dateTime);

} // namespace values
