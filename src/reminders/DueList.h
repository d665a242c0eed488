#pragma once

#include "DueState.h"

#include <QStringList>

struct sqlite3;

namespace reminders {

// A reminder with its vehicle's Look Up and its status today.
struct ReminderLine {
    Reminder reminder;
    QString vehicle;
    ReminderStatus status;
};

// Every reminder of the vehicle (every vehicle without one) with its status, in the
// order readReminders gives, each vehicle's driving read once.
std::vector<ReminderLine> reminderLines(sqlite3* db, std::optional<qint64> vehicleId,
                                        const QDate& today, const DueThresholds& thresholds);

// The status line when a file is taken into use: "2 reminders due: Civic - Change Oil
// (overdue by 320 miles), Pickup - Tune Up (due in 12 days)" for the Overdue and Due
// Soon ones, overdue first; empty when none is.
QString dueStatusText(const std::vector<ReminderLine>& lines);

} // namespace reminders
