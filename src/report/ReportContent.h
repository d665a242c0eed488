#pragma once

#include "history/ChartData.h"
#include "history/Period.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

struct sqlite3;

namespace report {

// What a vehicle's printed service record says, every figure already in the text
// the windows show it in; the pages are laid out from this alone.
struct VehicleHeading {
    qint64 vehicleId = 0;
    QString lookUp;
    QString make;
    QString model;
    QString year;
    QString serialNumber;
};

struct PartLine {
    QString quantity;
    QString partNumber;
    QString description;
    QString cost;  // "$12.34"
    QString total; // quantity times cost, rounded to cents as the work order shows it
};

struct ServiceVisit {
    qint64 workOrderId = 0;
    QString date;         // "3/15/2024"
    QString miles;        // "106,421"; empty when the order has none
    QStringList services; // in the order they were entered
    std::vector<PartLine> parts;
    QString partsTotal; // "$123.45"
    QString note;       // whole, line breaks kept
};

struct FuelSummary {
    QString fillUps;
    QString gallons;
    QString fuelCost;
    QString averageMpg;
};

struct ReportOptions {
    std::optional<qint64> vehicleId; // empty: one report per vehicle, in Look Up order
    history::DateRange period;
    QString periodText;       // "All Time", "Last 12 Months", "1/1/2024 to 12/31/2024"
    bool withFuelLog = false; // the whole fuel log as a table
    QDate printedOn;          // the date the title block gives
};

struct ReportContent {
    VehicleHeading vehicle;
    QString periodText;
    QString printedDate; // "12/9/2026": the day the report was made
    // The period's statistics, captions and texts as the Statistics tab shows them.
    QStringList statisticCaptions;
    QStringList statisticTexts;
    std::vector<ServiceVisit> visits; // oldest first: date, then order number
    QString grandTotal;               // the parts totals of every visit added up
    FuelSummary fuel;
    bool withFuelLog = false;
    QStringList fuelLogCaptions;
    std::vector<QStringList> fuelLogRows; // date-then-odometer order, cells as text
    history::ChartData charts;            // MPG per tank, cost per month
};

// Reads what the reports of options say from the open file, each list with one
// select. Throws the store's error; an unknown vehicle gives no report.
std::vector<ReportContent> readReports(sqlite3* db, const ReportOptions& options);

// The text that names a period: its caption, or "M/d/yyyy to M/d/yyyy" for a range
// ("From M/d/yyyy", "Through M/d/yyyy" with an open end).
QString periodTextOf(history::PeriodKind kind, const history::DateRange& range);

} // namespace report
