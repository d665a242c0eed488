#pragma once

#include "DueList.h"

#include <QByteArray>
#include <QDateTime>

namespace reminders {

// The reminders as an iCalendar file (RFC 5545) a calendar program can subscribe to:
// one all-day VEVENT per open reminder that has a day (its due date, its estimated
// date, or the day written for one due now by miles alone), named "Vehicle: Reminder", its description saying what is due; UIDs stable
// across writes, so a subscribed calendar updates rather than duplicates. Lines end in
// CRLF and fold at 75 octets; text is escaped.
QByteArray icsCalendar(const std::vector<ReminderLine>& lines, const QDateTime& stamp);

} // namespace reminders
