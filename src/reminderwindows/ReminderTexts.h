#pragma once

#include "reminders/Reminder.h"

#include <QString>

namespace reminderwindows {

// What the Reminders list shows of a reminder.
QString dateText(const std::optional<QDate>& date); // "3/15/2026"; empty for none
QString milesText(qint64 miles);                    // "55,500"
QString milesText(const std::optional<qint64>& miles);
// "every 5,000 miles or 6 months", "every 5,000 miles", "every 1 month"; empty without.
QString repeatText(const reminders::Reminder& reminder);

} // namespace reminderwindows
