#include "RemindersCommand.h"

#include "ArgumentList.h"
#include "CliCommands.h"
#include "exporting/ExportFile.h"
#include "history/HistoryReader.h"
#include "platform/AppError.h"
#include "reminders/IcsCalendar.h"
#include "store/Connection.h"
#include "store/DatabaseFiles.h"

#include <QDir>
#include <optional>

namespace cli {

int listReminders(const QStringList& arguments, QTextStream& out, QTextStream& err) {
    const QString vehicleOption = QStringLiteral("--vehicle");
    const QString icsOption = QStringLiteral("--ics");
    const ArgumentList args = parseArguments(arguments, {vehicleOption, icsOption}, {});
    if (!args.error.isEmpty())
        return refuseUsage(err, args.error);
    if (args.words.size() != 1)
        return refuseUsage(err, QStringLiteral("reminders needs one database file"));
    if (args.hasValue(icsOption) && args.value(icsOption).isEmpty())
        return refuseUsage(err, QStringLiteral("--ics needs the calendar file to write"));
    const QString database = args.words[0];

    std::vector<reminders::ReminderLine> lines;
    try {
        store::checkExistingDatabasePath(database, false);
        store::ConnectionHandle connection = store::openReadOnlyConnection(database);
        std::optional<qint64> vehicleId;
        if (args.hasValue(vehicleOption)) {
            // The Look Up as the import and the report find it: letter case aside.
            const QString lookUp = args.value(vehicleOption).trimmed().toCaseFolded();
            for (const history::VehicleName& vehicle :
                 history::HistoryReader(connection.get()).vehicles())
                if (vehicle.lookUp.trimmed().toCaseFolded() == lookUp)
                    vehicleId = vehicle.vehicleId;
            if (!vehicleId)
                return refuseUsage(err, QStringLiteral("%1: no vehicle has the Look Up '%2'")
                                            .arg(database, args.value(vehicleOption)));
        }
        lines = reminders::reminderLines(connection.get(), vehicleId, QDate::currentDate(),
                                         reminders::DueThresholds{});
    } catch (const platform::AppError& failure) {
        err << failure.text() << "\n";
        return kUsage;
    }

    for (const reminders::ReminderLine& line : lines)
        out << line.vehicle << ": " << line.reminder.name << ": "
            << reminders::stateText(line.status.state) << ": " << line.status.dueText << "\n";
    if (lines.empty())
        out << QDir::toNativeSeparators(database) << ": no reminders\n";

    if (!args.hasValue(icsOption))
        return kSound;
    const QString ics = args.value(icsOption);
    const QByteArray calendar = reminders::icsCalendar(lines, QDateTime::currentDateTimeUtc());
    try {
        // Written beside the file and moved into place whole: a calendar program
        // reading it meanwhile sees the old one or the new one.
        exporting::ExportFile file(ics);
        file.text() = calendar;
        file.finish();
        file.commit();
    } catch (const platform::AppError& failure) {
        const QString shown = QDir::toNativeSeparators(ics);
        err << (failure.text().contains(shown)
                    ? failure.text()
                    : QStringLiteral("%1: %2").arg(shown, failure.text()))
            << "\n";
        return kNotSound;
    }
    const qsizetype events = calendar.count("BEGIN:VEVENT");
    out << QDir::toNativeSeparators(ics) << ": " << events << (events == 1 ? " event" : " events")
        << "\n";
    return kSound;
}

} // namespace cli
