#include "Period.h"

namespace history {

bool DateRange::contains(const QDateTime& when) const {
    if (isAllTime())
        return true;
    if (!when.isValid())
        return false;
    const QDate day = when.date();
    return (!from || day >= *from) && (!to || day <= *to);
}

DateRange periodRange(PeriodKind kind, const QDate& today, const std::optional<QDate>& from,
                      const std::optional<QDate>& to) {
    switch (kind) {
    case PeriodKind::AllTime:
        break;
    case PeriodKind::Last12Months:
        return DateRange{today.addYears(-1).addDays(1), today};
    case PeriodKind::ThisYear:
        return DateRange{QDate(today.year(), 1, 1), today};
    case PeriodKind::LastYear:
        return DateRange{QDate(today.year() - 1, 1, 1), QDate(today.year() - 1, 12, 31)};
    case PeriodKind::Range:
        return DateRange{from, to};
    }
    return DateRange{};
}

QString periodCaption(PeriodKind kind) {
    switch (kind) {
    case PeriodKind::AllTime:
        break;
    case PeriodKind::Last12Months:
        return QStringLiteral("Last 12 Months");
    case PeriodKind::ThisYear:
        return QStringLiteral("This Year");
    case PeriodKind::LastYear:
        return QStringLiteral("Last Year");
    case PeriodKind::Range:
        return QStringLiteral("From/To");
    }
    return QStringLiteral("All Time");
}

} // namespace history
