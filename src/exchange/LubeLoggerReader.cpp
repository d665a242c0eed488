// LubeLogger's CSV exports: one kind of record per file (gas, service/repair/upgrade,
// supplies, odometer), known from the header. Dates US or ISO; money as "$1,234.56".
#include "CsvFile.h"
#include "FormatReaders.h"
#include "ReaderSupport.h"
#include "Units.h"

#include <cmath>

namespace exchange {

namespace {

enum class LubeLoggerKind { Gas, Service, Supplies, Odometer, Unknown };

LubeLoggerKind kindOf(const HeaderIndex& header) {
    if (header.has("fuelconsumed"))
        return LubeLoggerKind::Gas;
    if (header.has("partnumber") || header.has("partquantity"))
        return LubeLoggerKind::Supplies;
    if (header.has("initialodometer"))
        return LubeLoggerKind::Odometer;
    if (header.has("description") && header.has("date"))
        return LubeLoggerKind::Service;
    return LubeLoggerKind::Unknown;
}

void readGas(const std::vector<CsvRecord>& records, const HeaderIndex& header,
             const QString& vehicle, ImportedFile& file) {
    const int date = header.column("date");
    const int odometer = header.column("odometer");
    const int volume = header.column("fuelconsumed");
    const int cost = header.column("cost");
    const int full = header.column("isfilltofull");
    const int missed = header.column("missedfuelup");
    const int notes = header.column("notes");
    const int tags = header.column("tags");
    warn(file, 0, QStringLiteral("the file gives no units: read as miles and US gallons"));
    FuelRows rows;
    for (size_t i = 1; i < records.size(); ++i) {
        RowReader row(records[i], DecimalMark::Point);
        ImportedFuel fuel;
        fuel.line = row.line();
        fuel.vehicle = vehicle;
        fuel.date = row.date(date, DateOrder::MonthFirst);
        fuel.odometer = row.number(odometer, "odometer");
        fuel.gallons = row.number(volume, "fuel consumed");
        fuel.cost = row.money(cost, "cost");
        fuel.full = row.flag(full, "IsFillToFull", true);
        fuel.missed = row.flag(missed, "MissedFuelUp", false);
        fuel.note = row.nullable(notes);
        fuel.tags = row.nullable(tags);
        rows.add(file, row, std::move(fuel));
    }
    rows.finish(file);
}

// Service, repair and upgrade records, and supplies: each a work order.
void readOrders(const std::vector<CsvRecord>& records, const HeaderIndex& header,
                LubeLoggerKind kind, const QString& vehicle, ImportedFile& file) {
    const int date = header.column("date");
    const int description = header.column("description");
    const int cost = header.column("cost");
    const int notes = header.column("notes");
    const int odometer = header.column("odometer");
    const int tags = header.column("tags");
    const int partNumber = header.column("partnumber");
    const int supplier = header.column("partsupplier");
    const int quantity = header.column("partquantity");
    for (size_t i = 1; i < records.size(); ++i) {
        RowReader row(records[i], DecimalMark::Point);
        ImportedWorkOrder order;
        order.line = row.line();
        order.vehicle = vehicle;
        order.date = row.date(date, DateOrder::MonthFirst);
        if (const std::optional<double> miles = row.number(odometer, "odometer"))
            order.mileage = std::llround(*miles);
        const std::optional<values::Currency> amount = row.money(cost, "cost");
        QString note = row.text(notes);
        if (kind == LubeLoggerKind::Service) {
            if (!row.text(description).isEmpty())
                order.services.append(row.text(description));
            if (amount)
                order.parts.push_back(costAsPart(row.text(description), *amount));
        } else {
            ImportedPart part;
            part.number = row.nullable(partNumber);
            part.description = row.nullable(description);
            const std::optional<double> count = row.number(quantity, "part quantity");
            part.cost = amount;
            // The file gives the supply's total; a part row holds the cost of one piece.
            const bool whole = count && *count == std::floor(*count) && *count >= 1 && *count < 1e9;
            if (whole && (!amount || amount->scaled % qint64(*count) == 0)) {
                part.qty = int(*count);
                if (amount)
                    part.cost = values::Currency{amount->scaled / qint64(*count)};
            } else if (count) {
                part.qty = 1;
                part.description =
                    QStringLiteral("%1 x %2").arg(row.text(quantity), row.text(description));
                warn(file, row.line(),
                     QStringLiteral("part quantity '%1' does not divide the cost exactly: one "
                                    "part costing the whole")
                         .arg(row.text(quantity)));
            }
            order.parts.push_back(part);
            const QString from = row.text(supplier);
            if (!from.isEmpty())
                note = note.isEmpty() ? QStringLiteral("Supplier: %1").arg(from)
                                      : QStringLiteral("%1\nSupplier: %2").arg(note, from);
        }
        if (!note.isEmpty())
            order.note = note;
        order.tags = row.nullable(tags);
        addWorkOrder(file, row, std::move(order));
    }
}

} // namespace

ImportedFile readLubeLoggerFile(const QString& path) {
    ImportedFile file;
    file.formatId = QStringLiteral("lubelogger");
    const std::optional<CsvTable> loaded = loadRecords(path, file);
    if (!loaded)
        return file;
    const CsvTable& table = *loaded;
    const HeaderIndex header(table.records.front().fields);
    const QString vehicle = fileVehicleName(path);
    const LubeLoggerKind kind = kindOf(header);
    const QString where =
        QStringLiteral("%1: line %2: ").arg(fileNameOf(path)).arg(table.records.front().line);
    if (kind == LubeLoggerKind::Unknown) {
        file.error = where + QStringLiteral("not a gas, service or supplies header");
        return file;
    }
    if (kind == LubeLoggerKind::Odometer) {
        file.error = where + QStringLiteral("odometer records hold no fuel or service to import");
        return file;
    }
    std::vector<const char*> needed = {"date"};
    if (kind == LubeLoggerKind::Gas)
        needed.push_back("odometer");
    for (const char* name : needed) {
        if (!header.has(name)) {
            file.error = where + QStringLiteral("no column '%1'").arg(QLatin1String(name));
            return file;
        }
    }
    noteVehicle(file, ImportedVehicle{0, vehicle, {}, {}, {}, {}});
    if (kind == LubeLoggerKind::Gas)
        readGas(table.records, header, vehicle, file);
    else
        readOrders(table.records, header, kind, vehicle, file);
    return file;
}

} // namespace exchange
