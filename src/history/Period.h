#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <optional>

namespace history {

// The period the window shows, as inclusive dates; an open end takes everything.
struct DateRange {
    std::optional<QDate> from;
    std::optional<QDate> to;
    bool contains(const QDateTime& when) const; // an undated row lies only in All Time
    bool isAllTime() const { return !from && !to; }
};

enum class PeriodKind { AllTime, Last12Months, ThisYear, LastYear, Range };

// Last 12 Months: the day after the same date a year ago through today; This Year:
// 1 January through today; Last Year: the whole previous calendar year; Range: the
// given dates (either may be empty). A range whose From is after its To is empty.
DateRange periodRange(PeriodKind kind, const QDate& today, const std::optional<QDate>& from = {},
                      const std::optional<QDate>& to = {});

// The captions of the Period selector, in its order: "All Time", "Last 12 Months",
// "This Year", "Last Year", "From/To".
QString periodCaption(PeriodKind kind);

} // namespace history
