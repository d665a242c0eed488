#include "CliCommands.h"

#include "AppVersion.h"
#include "backup/FileCheck.h"
#include "backup/OnlineBackup.h"
#include "platform/AppError.h"
#include "store/DatabaseFiles.h"

namespace cli {

namespace {

const char* const kUsageText =
    "Usage: drivolex-cli backup DB DEST   copy the database file DB to DEST while it may be\n"
    "                                     in use, and check the copy\n"
    "       drivolex-cli check DB         check DB: every page, every relation, the layout\n"
    "Exit status: 0 sound (or copied), 1 not sound (or not copied), 2 bad usage or a\n"
    "file that cannot be read.\n";

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
    return usage(err, command.isEmpty() ? QStringLiteral("no command given")
                                        : QStringLiteral("unknown command '%1'").arg(command));
}

} // namespace cli
