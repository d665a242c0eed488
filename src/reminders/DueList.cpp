#include "DueList.h"

#include "ReminderStore.h"
#include "history/HistoryReader.h"

#include <QHash>
#include <algorithm>

namespace reminders {

std::vector<ReminderLine> reminderLines(sqlite3* db, std::optional<qint64> vehicleId,
                                        const QDate& today, const DueThresholds& thresholds) {
    std::vector<ReminderLine> lines;
    const std::vector<Reminder> stored = readReminders(db, vehicleId);
    if (stored.empty())
        return lines;
    QHash<qint64, QString> names;
    for (const history::VehicleName& vehicle : history::HistoryReader(db).vehicles())
        names.insert(vehicle.vehicleId, vehicle.lookUp);
    QHash<qint64, Driving> driving;
    for (const Reminder& reminder : stored) {
        if (!driving.contains(reminder.vehicleId))
            driving.insert(reminder.vehicleId, readDriving(db, reminder.vehicleId, today));
        lines.push_back(
            ReminderLine{reminder, names.value(reminder.vehicleId),
                         statusOf(reminder, driving.value(reminder.vehicleId), today, thresholds)});
    }
    return lines;
}

QString dueStatusText(const std::vector<ReminderLine>& lines) {
    std::vector<const ReminderLine*> due;
    for (const ReminderLine& line : lines)
        if (line.status.state == DueState::Overdue || line.status.state == DueState::DueSoon)
            due.push_back(&line);
    if (due.empty())
        return QString();
    std::stable_sort(due.begin(), due.end(), [](const ReminderLine* a, const ReminderLine* b) {
        return a->status.state == DueState::Overdue && b->status.state != DueState::Overdue;
    });
    QStringList items;
    for (const ReminderLine* line : due)
        items << QStringLiteral("%1 - %2 (%3)")
                     .arg(line->vehicle, line->reminder.name, line->status.dueText);
    return QStringLiteral("%1 reminder%2 due: ")
               .arg(due.size())
               .arg(due.size() == 1 ? QString() : QStringLiteral("s")) +
           items.join(QStringLiteral(", "));
}

} // namespace reminders
