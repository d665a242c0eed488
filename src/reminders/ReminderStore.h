#pragma once

#include "Reminder.h"
#include "store/SqliteErrors.h"

#include <vector>

struct sqlite3;

namespace reminders {

// The reminders' table: made when the first reminder is stored; a file without it
// reads as having none. Each write is one transaction of the store (so the day's
// backup and the file's checks apply); each throws the store's error naming the file.
bool hasReminderTable(sqlite3* db);
// Makes the table when the file has none, inside the caller's write transaction (an
// import writes its rows and their reminders in one).
void createReminderTable(sqlite3* db, const store::SqlErrorContext& context);

// Open and closed reminders of one vehicle (every vehicle without one), by vehicle
// Look Up, then due date, due miles and name.
std::vector<Reminder> readReminders(sqlite3* db, std::optional<qint64> vehicleId = std::nullopt);
std::optional<Reminder> readReminder(sqlite3* db, qint64 reminderId);

// Stores a new reminder (refused with reminderProblem's text as the store's error when
// it has one) and gives its key.
qint64 addReminder(sqlite3* db, const Reminder& reminder);
// The same inside the caller's transaction, the table made if need be.
qint64 insertReminder(sqlite3* db, const Reminder& reminder, const store::SqlErrorContext& context);
void updateReminder(sqlite3* db, const Reminder& reminder);
void deleteReminder(sqlite3* db, qint64 reminderId);

// The Done button: done today (or the day given) at the vehicle's latest odometer.
Reminder markDone(sqlite3* db, qint64 reminderId, const QDate& date, std::optional<qint64> miles);

// After a work order's services are stored: each open reminder of its vehicle whose
// name is one of the order's services (letter case and spaces around aside) is done
// at the order's date and miles, once per order (saving the order again changes
// nothing). Gives the reminders so done; none when the file has no reminders.
std::vector<Reminder> recordServicesDone(sqlite3* db, qint64 workOrderId);

} // namespace reminders
