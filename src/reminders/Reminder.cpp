#include "Reminder.h"

namespace reminders {

QString reminderProblem(const Reminder& reminder) {
    if (reminder.vehicleId <= 0)
        return QStringLiteral("Choose the vehicle the reminder is for.");
    if (reminder.name.trimmed().isEmpty())
        return QStringLiteral("Enter the reminder's name.");
    if (!reminder.dueDate && !reminder.dueMiles && !reminder.closed)
        return QStringLiteral("Enter a due date, a due odometer, or both.");
    if (reminder.dueMiles && *reminder.dueMiles < 0)
        return QStringLiteral("The due odometer must be a whole number of miles, 0 or above.");
    if (reminder.repeatMiles && *reminder.repeatMiles <= 0)
        return QStringLiteral("Repeat every ... miles must be a whole number above 0.");
    if (reminder.repeatMonths && *reminder.repeatMonths <= 0)
        return QStringLiteral("Repeat every ... months must be a whole number above 0.");
    // The next due miles are counted from these when it is done without an odometer.
    if (reminder.repeatMiles && !reminder.dueMiles && !reminder.closed)
        return QStringLiteral("A reminder that repeats by miles needs a due odometer.");
    if (reminder.dueDate && !reminder.dueDate->isValid())
        return QStringLiteral("The due date is not a day.");
    return QString();
}

Reminder doneAt(const Reminder& reminder, const QDate& date, std::optional<qint64> miles,
                std::optional<qint64> workOrderId) {
    Reminder done = reminder;
    done.doneDate = date;
    done.doneMiles = miles;
    done.doneWorkOrderId = workOrderId;
    if (!reminder.repeats()) {
        done.closed = true;
        return done;
    }
    // The next time is counted from when it was done; without the miles of that day,
    // from where it was due.
    done.dueMiles.reset();
    if (reminder.repeatMiles) {
        const std::optional<qint64> from = miles ? miles : reminder.dueMiles;
        if (from)
            done.dueMiles = *from + *reminder.repeatMiles;
    }
    done.dueDate.reset();
    if (reminder.repeatMonths)
        done.dueDate = date.addMonths(*reminder.repeatMonths);
    done.closed = false;
    return done;
}

} // namespace reminders
