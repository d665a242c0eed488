#pragma once

#include <QDate>
#include <QString>
#include <optional>

namespace reminders {

// A service reminder of a vehicle: due on a day, at an odometer reading, or at whichever
// of the two comes first; it may repeat every so many miles and/or months from the day
// and miles it was last done. Kept in the extra table drivolex_reminder, deleted with
// its vehicle by a cascading relation.
struct Reminder {
    qint64 reminderId = 0; // 0: not stored yet
    qint64 vehicleId = 0;
    QString name; // "Change Oil": matched against a work order's services, letter case aside
    std::optional<QDate> dueDate;
    std::optional<qint64> dueMiles;
    std::optional<qint64> repeatMiles; // above 0
    std::optional<int> repeatMonths;   // above 0
    QString note;
    // When it was last done, and by which work order (none when by its Done button).
    std::optional<QDate> doneDate;
    std::optional<qint64> doneMiles;
    std::optional<qint64> doneWorkOrderId;
    bool closed = false; // done and not repeating: kept, shown as Done

    bool repeats() const { return repeatMiles.has_value() || repeatMonths.has_value(); }
};

// What is wrong with a reminder as entered, naming the field ("Enter the reminder's
// name.", "Enter a due date, a due odometer, or both.", "Repeat every ... miles must be
// a whole number above 0.", "A reminder that repeats by miles needs a due odometer.");
// empty when it can be stored.
QString reminderProblem(const Reminder& reminder);

// The reminder done on date at miles (by the work order given, if any): a repeating one
// moves to its next due day (date plus its months) and miles (miles, or its due miles
// when the order has none, plus its miles); what it does not repeat by is no longer due.
// One without a repeat is closed.
Reminder doneAt(const Reminder& reminder, const QDate& date, std::optional<qint64> miles,
                std::optional<qint64> workOrderId = std::nullopt);

} // namespace reminders
