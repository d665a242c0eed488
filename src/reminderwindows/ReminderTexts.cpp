#include "ReminderTexts.h"

#include <QLocale>

namespace reminderwindows {

QString dateText(const std::optional<QDate>& date) {
    return date && date->isValid() ? date->toString(QStringLiteral("M/d/yyyy")) : QString();
}

QString milesText(qint64 miles) {
    // Grouped as the program's other figures are, whatever the desktop's language.
    return QLocale(QLocale::English, QLocale::UnitedStates).toString(miles);
}

QString milesText(const std::optional<qint64>& miles) {
    return miles ? milesText(*miles) : QString();
}

QString repeatText(const reminders::Reminder& reminder) {
    QStringList parts;
    if (reminder.repeatMiles)
        parts << milesText(*reminder.repeatMiles) + (*reminder.repeatMiles == 1
                                                         ? QStringLiteral(" mile")
                                                         : QStringLiteral(" miles"));
    if (reminder.repeatMonths)
        parts << QStringLiteral("%1 %2")
                     .arg(*reminder.repeatMonths)
                     .arg(*reminder.repeatMonths == 1 ? QStringLiteral("month")
                                                      : QStringLiteral("months"));
    if (parts.isEmpty())
        return QString();
    return QStringLiteral("every ") + parts.join(QStringLiteral(" or "));
}

} // namespace reminderwindows
