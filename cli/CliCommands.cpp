#include "CliCommands.h"

#include "AppVersion.h"
#include "ExchangeCommands.h"
#include "RemindersCommand.h"
#include "ReportCommand.h"
#include "backup/FileCheck.h"
#include "backup/OnlineBackup.h"
#include "platform/AppError.h"
#include "store/DatabaseFiles.h"

namespace cli {

namespace {

const char* const kUsageText =
    "Usage: drivolex-cli new DB           make DB a new, empty database\n"
    "       drivolex-cli import FILE --into DB [--format F] [--vehicle NAME]\n"
    "                    [--dry-run] [--skip-refused] [--cut-names]\n"
    "                                     read another program's file (or our own export)\n"
    "                                     into DB, after a copy of DB is taken\n"
    "       drivolex-cli export DB --format F [--vehicle NAME] --out PATH\n"
    "                                     write DB's rows in the format F\n"
    "       drivolex-cli formats          list the formats import and export know\n"
    "       drivolex-cli report DB [--vehicle NAME] [--from DATE] [--to DATE]\n"
    "                    [--fuel-log] --pdf OUT.pdf\n"
    "                                     write the service record of the vehicle (of each\n"
    "                                     without --vehicle) as a PDF file; DATE is M/d/yyyy\n"
    "                                     or yyyy-MM-dd, --fuel-log adds every fill-up\n"
    "       drivolex-cli reminders DB [--vehicle NAME] [--ics OUT.ics]\n"
    "                                     list the reminders of the vehicle (of each without\n"
    "                                     --vehicle): vehicle, name, state, what is due;\n"
    "                                     --ics also writes them as an iCalendar file\n"
    "       drivolex-cli backup DB DEST   copy the database file DB to DEST while it may be\n"
    "                                     in use, and check the copy\n"
    "       drivolex-cli check DB         check DB: every page, every relation, the layout\n"
    "Exit status: 0 done (sound, copied, imported, written); 1 not sound, not copied,\n"
    "rows refused (each told as FILE:LINE: reason), or the PDF or calendar not written;\n"
    "2 bad usage, an unknown vehicle or a file that cannot be read.\n";

int usage(QTextStream& err, const QString& problem) {
    err << "drivolex-cli: " << problem << "\n" << kUsageText;
    return kUsage;
}

int check(const QString& path, QTextStream& out, QTextStream& err) {
    try {
        const backup::CheckResult result = backup::checkFile(path);
        if (!result.sound) {
            err << result.reason << "\n";
            return kNotSound;
        }
    } catch (const platform::AppError& error) {
        err << error.text() << "\n";
        return kUsage;
    }
    out << path << ": sound\n";
    return kSound;
}

int backUp(const QString& path, const QString& destination, QTextStream& out, QTextStream& err) {
    try {
        store::checkExistingDatabasePath(path, false);
    } catch (const platform::AppError& error) {
        err << error.text() << "\n";
        return kUsage;
    }
    try {
        backup::writeBackup(path, destination);
    } catch (const platform::AppError& error) {
        err << error.text() << "\n";
        return kNotSound;
    }
    out << path << ": backed up to " << destination << "\n";
    return kSound;
}

} // namespace

int refuseUsage(QTextStream& err, const QString& problem) {
    err << "drivolex-cli: " << problem << "\n"
        << "Run 'drivolex-cli --help' for how to use it.\n";
    return kUsage;
}

int run(const QStringList& arguments, QTextStream& out, QTextStream& err) {
    const QString command = arguments.value(0);
    if (command == QLatin1String("--help") || command == QLatin1String("-h")) {
        out << kUsageText;
        return kSound;
    }
    if (command == QLatin1String("--version")) {
        out << "drivolex-cli " << platform::kVersionMajor << '.' << platform::kVersionMinor << '.'
            << platform::kVersionPatch << "\n";
        return kSound;
    }
    if (command == QLatin1String("check")) {
        if (arguments.size() != 2)
            return usage(err, QStringLiteral("check needs one database file"));
        return check(arguments[1], out, err);
    }
    if (command == QLatin1String("backup")) {
        if (arguments.size() != 3)
            return usage(err, QStringLiteral("backup needs a database file and a destination"));
        return backUp(arguments[1], arguments[2], out, err);
    }
    const QStringList rest = arguments.mid(1);
    if (command == QLatin1String("new"))
        return newDatabase(rest, out, err);
    if (command == QLatin1String("import"))
        return importFile(rest, out, err);
    if (command == QLatin1String("export"))
        return exportDatabase(rest, out, err);
    if (command == QLatin1String("report"))
        return writeReport(rest, out, err);
    if (command == QLatin1String("reminders"))
        return listReminders(rest, out, err);
    if (command == QLatin1String("formats"))
        return rest.isEmpty() ? listFormats(out)
                              : usage(err, QStringLiteral("formats takes no arguments"));
    return usage(err, command.isEmpty() ? QStringLiteral("no command given")
                                        : QStringLiteral("unknown command '%1'").arg(command));
}

} // namespace cli
