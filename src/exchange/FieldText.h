#pragma once

#include "values/Currency.h"

#include <QDateTime>
#include <QString>
#include <QStringView>
#include <optional>

// The values inside other programs' CSV fields, as those programs write them: numbers
// with thousands separators or a decimal comma, money with its currency sign, yes/no
// flags in several languages, and dates in each format's order.
namespace exchange {

// Which mark a format's numbers use for decimals when a field alone cannot tell:
// "1,234" is 1234 with Point and 1.234 with Comma. Fields with both marks, a mark
// repeated, or a mark not followed by exactly three digits tell by themselves.
enum class DecimalMark { Point, Comma };

// "106,421", "45,30", "1.234,56", " 12.5 ", "-3"; nothing for any other text.
std::optional<double> parseFieldNumber(QStringView text, DecimalMark mark);

// "$79.78", "1.234,56 €", "EUR 12,50", "(5.00)"; nothing for any other text and for
// an amount with more than four non-zero decimals (never rounded).
std::optional<values::Currency> parseFieldMoney(QStringView text, DecimalMark mark);

// 1/0, true/false, yes/no, y/n, on/off, full, and the yes/no of the languages the
// peers export in (si/sí/não, tak/nie, ja/nein, oui/non); nothing for anything else.
std::optional<bool> parseFieldFlag(QStringView text);

// The order of day and month in a format's dates. A date whose first number has four
// digits is year-first ("2021-06-12") whatever the order.
enum class DateOrder { MonthFirst, DayFirst };

enum class FieldDateProblem { None, NotADate, NotADay, OutOfRange };

struct FieldDate {
    QDateTime value; // the store's wall-clock value (Qt::UTC)
    FieldDateProblem problem = FieldDateProblem::None;
};

// Numeric dates separated by '/', '.' or '-', then an optional time "H:mm[:ss]" with
// an optional AM/PM, after a space or 'T' ("06/12/2021 0:00", "12.06.2021",
// "2021-06-12 08:30:00", "6/12/2021 8:30 PM"). A two-digit year falls in 1930..2029.
FieldDate parseFieldDate(QStringView text, DateOrder order);

// A time alone, for formats that keep it in its own column ("8:30 PM", "20:30:05").
std::optional<QTime> parseFieldTime(QStringView text);

} // namespace exchange
