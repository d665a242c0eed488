// Spritmonitor's CSV exports: ';'-separated, one file for fuelings and another for
// costs, dates day-first ("12.06.2021"), decimal commas. Its accounts are metric.
#include "CsvFile.h"
#include "FormatReaders.h"
#include "ReaderSupport.h"
#include "Units.h"

#include <cmath>

namespace exchange {

namespace {

void readFuelings(const std::vector<CsvRecord>& records, const HeaderIndex& header,
                  const QString& vehicle, ImportedFile& file) {
    const int date = header.column("date");
    const int odometer = header.column("odometer");
    const int trip = header.column("trip");
    const int quantity = header.column("quantity");
    const int total = header.firstOf({"total price", "total cost", "costs"});
    const int type = header.column("type");
    const int note = header.column("note");
    const int company = header.column("company");
    const int area = header.column("area");
    const int location = header.column("location");
    const int currency = header.column("currency");
    warn(file, 0, QStringLiteral("the file gives no units: read as km and litres"));
    QString currencySaid;
    FuelRows rows;
    for (size_t i = 1; i < records.size(); ++i) {
        RowReader row(records[i], DecimalMark::Comma);
        ImportedFuel fuel;
        fuel.line = row.line();
        fuel.vehicle = vehicle;
        fuel.date = row.date(date, DateOrder::DayFirst);
        if (const std::optional<double> km = row.number(odometer, "odometer"))
            fuel.odometer = toMiles(*km, DistanceUnit::Kilometres);
        std::optional<double> tripMiles;
        if (const std::optional<double> km = row.number(trip, "trip"))
            tripMiles = toMiles(*km, DistanceUnit::Kilometres);
        if (const std::optional<double> litres = row.number(quantity, "quantity"))
            fuel.gallons = toUsGallons(*litres, VolumeUnit::Litres);
        fuel.cost = row.money(total, "total price");
        // Amounts are kept as written; the user hears once that they are not dollars.
        const QString money = row.text(currency);
        if (!money.isEmpty() && money.compare(u"USD", Qt::CaseInsensitive) != 0 && money != u"$" &&
            currencySaid.isEmpty()) {
            currencySaid = money;
            warn(file, row.line(),
                 QStringLiteral("amounts are in %1: taken as written, not converted").arg(money));
        }
        const QString kind = row.text(type);
        if (kind == "2") {
            fuel.full = false;
        } else if (kind == "3") {
            fuel.missed = true; // a first fill-up starts anew: no economy up to it
        } else if (kind == "0") {
            row.refuse(QStringLiteral("type 0: the fueling is marked invalid"));
        } else if (!kind.isEmpty() && kind != "1") {
            row.refuse(QStringLiteral("type '%1' is not a fueling type").arg(kind));
        }
        fuel.note = row.nullable(note);
        fuel.station = row.nullable(company);
        fuel.city = row.nullable(location);
        fuel.state = row.nullable(area);
        rows.add(file, row, std::move(fuel), tripMiles);
    }
    rows.finish(file);
}

void readCosts(const std::vector<CsvRecord>& records, const HeaderIndex& header,
               const QString& vehicle, ImportedFile& file) {
    const int date = header.column("date");
    const int odometer = header.column("odometer");
    const int cost = header.firstOf({"costs", "cost", "total price", "price", "amount"});
    const int title = header.firstOf({"title", "cost type", "costtype", "type", "name"});
    const int note = header.firstOf({"note", "notes"});
    for (size_t i = 1; i < records.size(); ++i) {
        RowReader row(records[i], DecimalMark::Comma);
        ImportedWorkOrder order;
        order.line = row.line();
        order.vehicle = vehicle;
        order.date = row.date(date, DateOrder::DayFirst);
        if (const std::optional<double> km = row.number(odometer, "odometer"))
            order.mileage = std::llround(toMiles(*km, DistanceUnit::Kilometres));
        const QString service = row.text(title);
        if (!service.isEmpty())
            order.services.append(service);
        if (const std::optional<values::Currency> amount = row.money(cost, "costs"))
            order.parts.push_back(costAsPart(service, *amount));
        if (!row.text(note).isEmpty())
            order.note = row.text(note);
        addWorkOrder(file, row, std::move(order));
    }
}

} // namespace

ImportedFile readSpritmonitorFile(const QString& path) {
    ImportedFile file;
    file.formatId = QStringLiteral("spritmonitor");
    const std::optional<CsvTable> loaded = loadRecords(path, file);
    if (!loaded)
        return file;
    const CsvTable& table = *loaded;
    const HeaderIndex header(table.records.front().fields);
    const QString where =
        QStringLiteral("%1: line %2: ").arg(fileNameOf(path)).arg(table.records.front().line);
    if (!header.has("date")) {
        file.error = where + QStringLiteral("no column 'Date'");
        return file;
    }
    const QString vehicle = fileVehicleName(path);
    noteVehicle(file, ImportedVehicle{0, vehicle, {}, {}, {}, {}});
    if (header.has("quantity")) {
        if (!header.has("odometer") && !header.has("trip")) {
            file.error = where + QStringLiteral("no column 'Odometer' or 'Trip'");
            return file;
        }
        readFuelings(table.records, header, vehicle, file);
    } else if (header.firstOf({"costs", "cost", "total price", "price", "amount"}) >= 0) {
        readCosts(table.records, header, vehicle, file);
    } else {
        file.error = where + QStringLiteral("neither a fuelings nor a costs header");
    }
    return file;
}

} // namespace exchange
