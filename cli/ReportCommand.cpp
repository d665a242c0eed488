#include "ReportCommand.h"

#include "ArgumentList.h"
#include "CliCommands.h"
#include "history/HistoryReader.h"
#include "platform/AppError.h"
#include "report/ReportContent.h"
#include "report/ReportPages.h"
#include "store/Connection.h"
#include "store/DatabaseFiles.h"
#include "values/DateText.h"

#include <QDir>
#include <optional>

namespace cli {

namespace {

// The date of a --from or --to value, M/d/yyyy or yyyy-MM-dd; fills problem when the
// text is no date.
std::optional<QDate> dateOf(const ArgumentList& args, const QString& option, QString& problem) {
    if (!args.hasValue(option))
        return std::nullopt;
    const QString text = args.value(option);
    const values::DateResult date = values::parseDateText(text);
    if (date.problem == values::DateProblem::OutOfRange)
        problem = QStringLiteral("%1 '%2' lies outside the years %3 to %4")
                      .arg(option, text)
                      .arg(values::kFirstYear)
                      .arg(values::kLastYear);
    else if (!date.ok())
        problem =
            QStringLiteral("%1 '%2' is not a date (M/d/yyyy or yyyy-MM-dd)").arg(option, text);
    if (!date.ok())
        return std::nullopt;
    return date.value.date();
}

} // namespace

int writeReport(const QStringList& arguments, QTextStream& out, QTextStream& err) {
    const QString vehicleOption = QStringLiteral("--vehicle");
    const QString fromOption = QStringLiteral("--from");
    const QString toOption = QStringLiteral("--to");
    const QString pdfOption = QStringLiteral("--pdf");
    const ArgumentList args =
        parseArguments(arguments, {vehicleOption, fromOption, toOption, pdfOption},
                       {QStringLiteral("--fuel-log")});
    if (!args.error.isEmpty())
        return refuseUsage(err, args.error);
    if (args.words.size() != 1)
        return refuseUsage(err, QStringLiteral("report needs one database file"));
    if (!args.hasValue(pdfOption) || args.value(pdfOption).isEmpty())
        return refuseUsage(err, QStringLiteral("report needs --pdf OUT.pdf, the file to write"));
    const QString database = args.words[0];
    const QString pdf = args.value(pdfOption);

    report::ReportOptions options;
    QString problem;
    options.period.from = dateOf(args, fromOption, problem);
    if (problem.isEmpty())
        options.period.to = dateOf(args, toOption, problem);
    if (!problem.isEmpty())
        return refuseUsage(err, problem);
    if (options.period.from && options.period.to && *options.period.from > *options.period.to)
        return refuseUsage(err, QStringLiteral("--from %1 lies after --to %2")
                                    .arg(args.value(fromOption), args.value(toOption)));
    options.periodText = report::periodTextOf(
        options.period.isAllTime() ? history::PeriodKind::AllTime : history::PeriodKind::Range,
        options.period);
    options.withFuelLog = args.has(QStringLiteral("--fuel-log"));
    options.printedOn = QDate::currentDate();

    std::vector<report::ReportContent> reports;
    try {
        store::checkExistingDatabasePath(database, false);
        store::ConnectionHandle connection = store::openReadOnlyConnection(database);
        const std::vector<history::VehicleName> vehicles =
            history::HistoryReader(connection.get()).vehicles();
        if (args.hasValue(vehicleOption)) {
            // The Look Up as the import finds it: without regard to letter case.
            const QString lookUp = args.value(vehicleOption).trimmed();
            for (const history::VehicleName& vehicle : vehicles)
                if (vehicle.lookUp.trimmed().toCaseFolded() == lookUp.toCaseFolded())
                    options.vehicleId = vehicle.vehicleId;
            if (!options.vehicleId)
                return refuseUsage(err, QStringLiteral("%1: no vehicle has the Look Up '%2'")
                                            .arg(database, args.value(vehicleOption)));
        } else if (vehicles.empty()) {
            return refuseUsage(
                err, QStringLiteral("%1: the file holds no vehicle to report on").arg(database));
        }
        reports = report::readReports(connection.get(), options);
    } catch (const platform::AppError& failure) {
        err << failure.text() << "\n";
        return kUsage;
    }

    int pages = 0;
    try {
        report::writeReportPdf(pdf, reports, report::defaultPageSize(),
                               [&pages](int, int pageCount) {
                                   pages = pageCount;
                                   return true;
                               });
    } catch (const platform::AppError& failure) {
        const QString shown = QDir::toNativeSeparators(pdf);
        err << (failure.text().contains(shown)
                    ? failure.text()
                    : QStringLiteral("%1: %2").arg(shown, failure.text()))
            << "\n";
        return kNotSound;
    }
    QStringList names;
    for (const report::ReportContent& content : reports)
        names << content.vehicle.lookUp;
    out << QDir::toNativeSeparators(pdf) << ": " << pages << (pages == 1 ? " page" : " pages")
        << ", the service record of " << names.join(QLatin1String(", ")) << "\n";
    return kSound;
}

} // namespace cli
