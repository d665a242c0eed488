#include "ReportContent.h"

#include "ServiceVisits.h"
#include "history/FuelEconomy.h"
#include "history/HistoryReader.h"
#include "history/HistoryText.h"
#include "history/Statistics.h"
#include "history/StatisticsText.h"
#include "history/StoredColumns.h"
#include "store/Statement.h"
#include "values/DateText.h"
#include "values/Format.h"
#include "values/NumberText.h"

#include <sqlite3.h>

namespace report {

namespace {

using namespace history::stored;

std::vector<VehicleHeading> vehiclesOf(sqlite3* db, std::optional<qint64> vehicleId) {
    QString sql =
        QStringLiteral("SELECT VehicleID, VehicleLookup, VehicleMake, VehicleModel, VehicleYear, "
                       "VehicleSerialNum FROM VehicleInfo");
    if (vehicleId)
        sql += QStringLiteral(" WHERE VehicleID = ?");
    sql += QStringLiteral(" ORDER BY VehicleLookup, VehicleID");
    store::Statement stmt(db, sql, contextOf(db, "VehicleInfo"));
    if (vehicleId)
        stmt.bind(1, *vehicleId);
    std::vector<VehicleHeading> vehicles;
    while (nextRow(db, stmt, "VehicleInfo")) {
        VehicleHeading heading;
        heading.vehicleId = stmt.columnInt64(0);
        heading.lookUp = textAt(stmt, 1);
        heading.make = textAt(stmt, 2);
        heading.model = textAt(stmt, 3);
        const std::optional<qint64> year = integerAt(stmt, 4);
        heading.year = year ? QString::number(*year) : textAt(stmt, 4);
        heading.serialNumber = textAt(stmt, 5);
        vehicles.push_back(std::move(heading));
    }
    return vehicles;
}

QString singleText(const std::optional<float>& value) {
    return value ? values::shortestFixedText(*value) : QString();
}

std::optional<double> pricePerGallon(const history::FuelFill& fill) {
    if (!fill.cost || !fill.gallons || *fill.gallons <= 0)
        return std::nullopt;
    return fill.cost->toDouble() / double(*fill.gallons);
}

// The columns of the Fuel Log tab, the missed mark written out where a fill has one.
QStringList fuelLogCaptions() {
    return {QStringLiteral("Date"),      QStringLiteral("Odometer"), QStringLiteral("Distance"),
            QStringLiteral("Gallons"),   QStringLiteral("Full"),     QStringLiteral("Cost"),
            QStringLiteral("Price/Gal"), QStringLiteral("MPG"),      QStringLiteral("City"),
            QStringLiteral("State")};
}

QStringList fuelLogRow(const history::FuelFill& fill, const history::FillEconomy& economy) {
    QString full = fill.full ? QStringLiteral("Yes") : QStringLiteral("No");
    if (fill.missed)
        full += QStringLiteral(", missed before");
    return {fill.date.isValid() ? values::usDateText(fill.date) : QString(),
            singleText(fill.odometer),
            singleText(economy.distance),
            singleText(fill.gallons),
            full,
            fill.cost ? values::Format(QVariant::fromValue(*fill.cost), QStringLiteral("$##.00"))
                      : QString(),
            history::perUnitMoneyText(pricePerGallon(fill)),
            economy.tank && economy.tank->mpg ? history::mpgText(double(*economy.tank->mpg))
                                              : QString(),
            fill.city,
            fill.state};
}

ReportContent contentOf(sqlite3* db, const VehicleHeading& vehicle, const ReportOptions& options) {
    ReportContent content;
    content.vehicle = vehicle;
    content.periodText = options.periodText;
    content.printedDate = options.printedOn.toString(QStringLiteral("M/d/yyyy"));

    const history::HistoryReader reader(db);
    const history::FuelFills fills = reader.fuelFills(vehicle.vehicleId);
    const StoredVisits stored = readServiceVisits(db, vehicle.vehicleId);
    const history::Statistics figures =
        history::statisticsOf(fills, stored.figures, options.period);
    content.statisticCaptions = history::statisticCaptions();
    content.statisticTexts = history::statisticTexts(figures);

    values::WideInteger grandTotal = 0;
    for (std::size_t i = 0; i < stored.visits.size(); ++i)
        if (options.period.isAllTime() || options.period.contains(stored.figures[i].date)) {
            content.visits.push_back(stored.visits[i]);
            grandTotal += stored.figures[i].partsTotalCents;
        }
    content.grandTotal = history::centsText(grandTotal);

    content.fuel.fillUps = history::countText(figures.fillUps);
    content.fuel.gallons = history::gallonsText(figures.gallons);
    content.fuel.fuelCost = history::scaledMoneyText(figures.fuelCostScaled);
    content.fuel.averageMpg = history::mpgText(figures.averageMpg);

    content.withFuelLog = options.withFuelLog;
    if (options.withFuelLog) {
        content.fuelLogCaptions = fuelLogCaptions();
        const std::vector<history::FillEconomy> economy = history::economyOf(fills);
        for (std::size_t i = 0; i < fills.size(); ++i)
            if (options.period.isAllTime() || options.period.contains(fills[i].date))
                content.fuelLogRows.push_back(fuelLogRow(fills[i], economy[i]));
    }
    content.charts = history::chartDataOf(fills, stored.figures, options.period);
    return content;
}

} // namespace

std::vector<ReportContent> readReports(sqlite3* db, const ReportOptions& options) {
    std::vector<ReportContent> reports;
    for (const VehicleHeading& vehicle : vehiclesOf(db, options.vehicleId))
        reports.push_back(contentOf(db, vehicle, options));
    return reports;
}

QString periodTextOf(history::PeriodKind kind, const history::DateRange& range) {
    if (kind != history::PeriodKind::Range)
        return history::periodCaption(kind);
    const auto text = [](const QDate& date) { return date.toString(QStringLiteral("M/d/yyyy")); };
    if (range.from && range.to)
        return text(*range.from) + QStringLiteral(" to ") + text(*range.to);
    if (range.from)
        return QStringLiteral("From ") + text(*range.from);
    if (range.to)
        return QStringLiteral("Through ") + text(*range.to);
    return history::periodCaption(history::PeriodKind::AllTime);
}

} // namespace report
