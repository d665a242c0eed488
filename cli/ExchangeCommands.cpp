#include "ExchangeCommands.h"

#include "ArgumentList.h"
#include "CliCommands.h"
#include "exchange/ImportFormats.h"
#include "exporting/Export.h"
#include "importing/ImportPlan.h"
#include "platform/AppError.h"
#include "store/Connection.h"
#include "store/DatabaseFiles.h"
#include "store/Statement.h"
#include "store/modCreateDB.h"

#include <QDir>
#include <QFileInfo>
#include <optional>
#include <sqlite3.h>

namespace cli {

namespace {

// The key of the vehicle whose Look Up is exactly name.
std::optional<qint64> vehicleWithLookup(sqlite3* db, const QString& name) {
    store::Statement select(
        db, QStringLiteral("SELECT VehicleID FROM VehicleInfo WHERE VehicleLookup = ?"));
    select.bind(1, name);
    if (select.step() == SQLITE_ROW)
        return select.columnInt64(0);
    return std::nullopt;
}

// The file read as its format (given, or found from its content). Fills error when the
// file cannot be read as any.
exchange::ImportedFile readFile(const QString& path, QString formatId, QString& error) {
    if (formatId.isEmpty()) {
        const exchange::Detection detection = exchange::detectFormat(path);
        if (!detection.error.isEmpty()) {
            error = detection.error;
            return {};
        }
        if (!detection.formatId) {
            error = QStringLiteral("%1: not a file of any format drivolex-cli reads "
                                   "('drivolex-cli formats' lists them)")
                        .arg(path);
            return {};
        }
        formatId = *detection.formatId;
    }
    if (formatId != QLatin1String("generic"))
        return exchange::readImportFile(path, formatId);
    const exchange::GenericHeader header = exchange::readGenericHeader(path);
    if (!header.error.isEmpty()) {
        error = header.error;
        return {};
    }
    const QStringList missing = header.columns.missing();
    if (!missing.isEmpty()) {
        error = QStringLiteral("%1: no column is known as %2 (name the columns as the "
                               "import window's mapping step shows them)")
                    .arg(path, missing.join(QLatin1String(", ")));
        return {};
    }
    return exchange::readGenericFile(path, header.columns);
}

// The plan's reasons begin "line N: ", which FILE:LINE: says already.
QString withoutLine(const QString& reason, int line) {
    const QString prefix = QStringLiteral("line %1: ").arg(line);
    return reason.startsWith(prefix) ? reason.mid(prefix.size()) : reason;
}

QString countText(int count, const char* one, const char* many) {
    return QStringLiteral("%1 %2").arg(count).arg(QLatin1String(count == 1 ? one : many));
}

} // namespace

int newDatabase(const QStringList& arguments, QTextStream& out, QTextStream& err) {
    const ArgumentList args = parseArguments(arguments, {}, {});
    if (!args.error.isEmpty())
        return refuseUsage(err, args.error);
    if (args.words.size() != 1)
        return refuseUsage(err, QStringLiteral("new needs one database file"));
    const QString path = args.words[0];
    if (QFileInfo::exists(path))
        return refuseUsage(err, QStringLiteral("%1: the file exists already; new does not replace "
                                               "a file")
                                    .arg(path));
    try {
        modCreateDB::BuildNewDatabase(path);
    } catch (const platform::AppError& error) {
        err << path << ": " << error.text() << "\n";
        return kNotSound;
    }
    modCreateDB::CurrentDatabase.reset();
    out << path << ": a new, empty database\n";
    return kSound;
}

int importFile(const QStringList& arguments, QTextStream& out, QTextStream& err) {
    const ArgumentList args = parseArguments(
        arguments,
        {QStringLiteral("--into"), QStringLiteral("--format"), QStringLiteral("--vehicle")},
        {QStringLiteral("--dry-run"), QStringLiteral("--skip-refused"),
         QStringLiteral("--cut-names")});
    if (!args.error.isEmpty())
        return refuseUsage(err, args.error);
    if (args.words.size() != 1)
        return refuseUsage(err, QStringLiteral("import needs one file to read"));
    if (!args.hasValue(QStringLiteral("--into")))
        return refuseUsage(err, QStringLiteral("import needs --into DB, the database to write"));
    const QString path = args.words[0];
    const QString database = args.value(QStringLiteral("--into"));
    const QString formatId = args.value(QStringLiteral("--format"));
    if (!formatId.isEmpty() && !exchange::findImportFormat(formatId))
        return refuseUsage(err, QStringLiteral("unknown format '%1' ('drivolex-cli formats' lists "
                                               "them)")
                                    .arg(formatId));
    const QString vehicle = args.value(QStringLiteral("--vehicle"));
    if (args.hasValue(QStringLiteral("--vehicle")) && (vehicle.isEmpty() || vehicle.size() > 10))
        return refuseUsage(err, QStringLiteral("--vehicle takes a Look Up of 1 to 10 characters"));

    QString error;
    exchange::ImportedFile file = readFile(path, formatId, error);
    if (error.isEmpty() && !file.ok())
        error = file.error;
    if (!error.isEmpty()) {
        err << error << "\n";
        return kUsage;
    }

    try {
        store::checkExistingDatabasePath(database, false);
        store::ConnectionHandle connection = store::openConnection(database, false);
        sqlite3* db = connection.get();
        std::vector<importing::VehicleTarget> targets;
        if (!vehicle.isEmpty()) {
            const std::optional<qint64> existing = vehicleWithLookup(db, vehicle);
            for (const exchange::ImportedVehicle& source : file.vehicles)
                targets.push_back({source.name, existing, existing ? QString() : vehicle, false});
        } else {
            targets = importing::defaultTargets(db, file);
            for (importing::VehicleTarget& target : targets)
                target.cutAllowed = args.has(QStringLiteral("--cut-names"));
        }
        const importing::ImportPlan plan = importing::planImport(db, std::move(file), targets);

        const QString shown = QDir::toNativeSeparators(path);
        for (const QString& warning : plan.warnings)
            err << shown << ": warning: " << warning << "\n";
        for (const importing::PlannedRow& row : plan.rows) {
            if (row.status == importing::RowStatus::Refused)
                err << shown << ':' << row.line << ": " << withoutLine(row.reason, row.line)
                    << "\n";
            for (const QString& warning : row.warnings)
                err << shown << ':' << row.line << ": warning: " << warning << "\n";
        }
        const int refused = plan.count(importing::RowStatus::Refused);
        const int duplicates = plan.count(importing::RowStatus::Duplicate);
        const int reminders = plan.remindersTaken();
        const QString counted =
            QStringLiteral("%1 to write%2, %3 skipped as duplicates, %4 refused")
                .arg(countText(plan.taken(), "row", "rows"),
                     reminders ? QStringLiteral(" (with %1)")
                                     .arg(countText(reminders, "reminder", "reminders"))
                               : QString())
                .arg(duplicates)
                .arg(refused);
        if (args.has(QStringLiteral("--dry-run"))) {
            out << shown << ": " << counted << "; nothing written (--dry-run)\n";
            return refused ? kNotSound : kSound;
        }
        if (refused && !args.has(QStringLiteral("--skip-refused"))) {
            out << shown << ": " << counted
                << "; nothing written (--skip-refused writes the rest)\n";
            return kNotSound;
        }
        const importing::ImportResult result = importing::writeImport(db, database, plan);
        out << shown << ": " << countText(result.fuelWritten, "fuel purchase", "fuel purchases")
            << (result.remindersWritten ? ", " : " and ")
            << countText(result.workOrdersWritten, "work order", "work orders");
        if (result.remindersWritten)
            out << " and " << countText(result.remindersWritten, "reminder", "reminders");
        out << " written into " << QDir::toNativeSeparators(database);
        if (result.vehiclesMade)
            out << " (" << countText(result.vehiclesMade, "new vehicle", "new vehicles") << ")";
        out << "; " << duplicates << " skipped as duplicates, " << refused << " refused\n"
            << "A copy of the file as it was: " << QDir::toNativeSeparators(result.backupPath)
            << "\n";
        return refused ? kNotSound : kSound;
    } catch (const platform::AppError& failure) {
        err << failure.text() << "\n";
        return kUsage;
    }
}

int exportDatabase(const QStringList& arguments, QTextStream& out, QTextStream& err) {
    const ArgumentList args = parseArguments(
        arguments,
        {QStringLiteral("--format"), QStringLiteral("--vehicle"), QStringLiteral("--out")}, {});
    if (!args.error.isEmpty())
        return refuseUsage(err, args.error);
    if (args.words.size() != 1)
        return refuseUsage(err, QStringLiteral("export needs one database file"));
    if (!args.hasValue(QStringLiteral("--format")) || !args.hasValue(QStringLiteral("--out")))
        return refuseUsage(err, QStringLiteral("export needs --format F and --out PATH"));
    const QString database = args.words[0];
    const QString formatId = args.value(QStringLiteral("--format"));
    if (!exporting::findExportFormat(formatId))
        return refuseUsage(err, QStringLiteral("unknown export format '%1' ('drivolex-cli formats' "
                                               "lists them)")
                                    .arg(formatId));
    try {
        store::checkExistingDatabasePath(database, false);
        store::ConnectionHandle connection = store::openReadOnlyConnection(database);
        std::optional<qint64> vehicleId;
        if (args.hasValue(QStringLiteral("--vehicle"))) {
            const QString lookup = args.value(QStringLiteral("--vehicle"));
            vehicleId = vehicleWithLookup(connection.get(), lookup);
            if (!vehicleId)
                return refuseUsage(
                    err,
                    QStringLiteral("%1: no vehicle has the Look Up '%2'").arg(database, lookup));
        }
        const exporting::ExportResult result = exporting::exportDatabase(
            connection.get(), formatId, vehicleId, args.value(QStringLiteral("--out")));
        out << countText(int(result.fuelRows), "fuel purchase", "fuel purchases") << " and "
            << countText(int(result.workOrders), "work order", "work orders") << " written to "
            << result.files.join(QLatin1String(", ")) << "\n";
        return kSound;
    } catch (const platform::AppError& failure) {
        err << failure.text() << "\n";
        return kUsage;
    }
}

int listFormats(QTextStream& out) {
    out << "Import (--format for import; found from the file's content when not given):\n";
    for (const exchange::ImportFormat& format : exchange::importFormats())
        out << "  " << format.id.leftJustified(14) << format.name << "\n";
    out << "Export (--format for export):\n";
    for (const exporting::ExportFormat& format : exporting::exportFormats())
        out << "  " << format.id.leftJustified(14) << format.name << "\n";
    return kSound;
}

} // namespace cli
