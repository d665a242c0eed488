#include "ReminderWindows.h"

#include "frmReminders.h"
#include "platform/RegistryStore.h"
#include "reminders/DueList.h"
#include "reminders/ReminderStore.h"
#include "shell/MDIForm1.h"
#include "store/Database.h"

namespace reminderwindows {

namespace {
const QString kRemindersKey = QStringLiteral("Drivolex\\Reminders");
const QString kSoonDays = QStringLiteral("DueSoonDays");
const QString kSoonMiles = QStringLiteral("DueSoonMiles");

qint64 keptNumber(platform::RegistryStore& settings, const QString& name, qint64 otherwise) {
    bool ok = false;
    const qint64 kept = settings.readText(platform::HKEY_CURRENT_USER, kRemindersKey, name)
                            .trimmed()
                            .toLongLong(&ok);
    return ok && kept > 0 ? kept : otherwise;
}
} // namespace

reminders::DueThresholds readThresholds(platform::RegistryStore& settings) {
    reminders::DueThresholds thresholds;
    thresholds.days = int(std::min<qint64>(keptNumber(settings, kSoonDays, thresholds.days), 3650));
    thresholds.miles = keptNumber(settings, kSoonMiles, thresholds.miles);
    return thresholds;
}

void writeThresholds(platform::RegistryStore& settings,
                     const reminders::DueThresholds& thresholds) {
    settings.writeText(platform::HKEY_CURRENT_USER, kRemindersKey, kSoonDays,
                       QString::number(thresholds.days));
    settings.writeText(platform::HKEY_CURRENT_USER, kRemindersKey, kSoonMiles,
                       QString::number(thresholds.miles));
}

QString dueRemindersText(const QString& path, const reminders::DueThresholds& thresholds,
                         const QDate& today) {
    try {
        // Read-only: nothing is written to the file or beside it, and no check of
        // every page holds the start up.
        const auto db = store::Database::OpenDatabase(path, store::Database::Access::ReadOnly);
        if (!reminders::hasReminderTable(db->handle()))
            return QString();
        return reminders::dueStatusText(
            reminders::reminderLines(db->handle(), std::nullopt, today, thresholds));
    } catch (const std::exception&) {
        return QString();
    }
}

void registerReminderWindow(shell::MDIForm1& frame) {
    frame.setWindowFactory(shell::ChildWindow::Reminders, [](shell::MDIForm1& f) {
        return static_cast<QWidget*>(frmReminders::open(f));
    });
    frame.setDueReminders(
        [&frame](const QString& path) {
            return dueRemindersText(path, readThresholds(frame.registryStore()),
                                    QDate::currentDate());
        },
        [&frame] { frame.showChildWindow(shell::ChildWindow::Reminders, true); });
}

} // namespace reminderwindows
