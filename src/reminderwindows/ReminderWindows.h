#pragma once

#include "reminders/DueState.h"

#include <QDate>
#include <QString>

namespace platform {
class RegistryStore;
}
namespace shell {
class MDIForm1;
}

namespace reminderwindows {

// Tells the main window how to make the Reminders its Window menu opens, and how to
// read the reminders due in a file for its status line.
void registerReminderWindow(shell::MDIForm1& frame);

// The Due Soon thresholds, kept in the program's settings; the defaults (30 days,
// 500 miles) when none are kept or what is kept is no number above 0.
reminders::DueThresholds readThresholds(platform::RegistryStore& settings);
void writeThresholds(platform::RegistryStore& settings, const reminders::DueThresholds& thresholds);

// The status line's text for the file at path: the Overdue and Due Soon reminders,
// read with a few selects over a read-only connection; empty when none is due or the
// file cannot be read (the windows report such a file when they open it).
QString dueRemindersText(const QString& path, const reminders::DueThresholds& thresholds,
                         const QDate& today);

} // namespace reminderwindows
