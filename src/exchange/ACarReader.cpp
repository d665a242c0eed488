// aCar's CSV export: one file of blocks (a line naming the block, its header, its
// rows). Fill-ups and events name their vehicle, carry their units on each row, and
// write numbers and money formatted ("106,421", "$79.78").
#include "CsvFile.h"
#include "FormatReaders.h"
#include "ReaderSupport.h"
#include "SectionSplitter.h"
#include "Units.h"

#include <cmath>

namespace exchange {

namespace {

const QStringList& blockNames() {
    static const QStringList names = {"metadata",       "vehicles",     "fill-up records",
                                      "event records",  "trip records", "service records",
                                      "expense records"};
    return names;
}

std::optional<QString> aCarBlock(const CsvRecord& record) {
    if (record.fields.size() != 1)
        return std::nullopt;
    const QString name = record.fields.front().trimmed().toLower();
    if (!blockNames().contains(name))
        return std::nullopt;
    return name;
}

// The row's date and its time column together.
std::optional<QDateTime> dateAndTime(RowReader& row, int dateColumn, int timeColumn) {
    std::optional<QDateTime> date = row.date(dateColumn, DateOrder::MonthFirst);
    const QString time = row.text(timeColumn);
    if (!date || time.isEmpty())
        return date;
    const std::optional<QTime> clock = parseFieldTime(time);
    if (!clock) {
        row.refuse(QStringLiteral("time '%1' is not a time").arg(time));
        return std::nullopt;
    }
    date->setTime(*clock);
    return date;
}

class ACarReading {
public:
    explicit ACarReading(const QString& path) : path_(path) {
        file_.formatId = QStringLiteral("acar");
    }

    ImportedFile read() {
        const CsvTable table = loadCsvFile(path_);
        if (!table.text.ok()) {
            file_.error = table.text.error;
            return std::move(file_);
        }
        bool anyRecords = false;
        for (const CsvSection& section : splitSections(table.records, aCarBlock)) {
            const bool events = section.name == "event records" ||
                                section.name == "service records" ||
                                section.name == "expense records";
            if (section.name == "vehicles") {
                readVehicles(section);
            } else if (section.name == "fill-up records") {
                readFillUps(section);
                anyRecords = true;
            } else if (events) {
                readEvents(section);
                anyRecords = true;
            } else if (section.name != "metadata" && (section.header || !section.rows.empty())) {
                warn(file_, section.rows.empty() ? section.line : section.rows.front().line,
                     section.name.isEmpty()
                         ? QStringLiteral("lines before the first block are not read")
                         : QStringLiteral("%1 are not imported (%2 rows)")
                               .arg(section.name)
                               .arg(section.rows.size()));
            }
        }
        if (!file_.ok())
            return std::move(file_);
        if (!anyRecords) {
            file_.error =
                fileNameOf(path_) + QStringLiteral(": no Fill-Up Records or Event Records block");
            return std::move(file_);
        }
        fuel_.finish(file_);
        if (file_.vehicles.empty())
            noteVehicle(file_, ImportedVehicle{0, fileVehicleName(path_), {}, {}, {}, {}});
        return std::move(file_);
    }

private:
    bool needColumns(const CsvSection& section, const HeaderIndex& header,
                     std::initializer_list<const char*> names) {
        for (const char* name : names) {
            if (!header.has(name)) {
                file_.error = QStringLiteral("%1: line %2: no column '%3'")
                                  .arg(fileNameOf(path_))
                                  .arg(section.header ? section.header->line : section.line)
                                  .arg(QLatin1String(name));
                return false;
            }
        }
        return true;
    }

    QString vehicleOf(const RowReader& row, int column) {
        QString name = row.text(column);
        if (name.isEmpty())
            name = fileVehicleName(path_);
        noteVehicle(file_, ImportedVehicle{0, name, {}, {}, {}, {}});
        return name;
    }

    // Miles from the row's odometer and its distance unit.
    std::optional<double> odometer(RowReader& row, int valueColumn, int unitColumn) {
        const std::optional<double> value = row.number(valueColumn, "odometer");
        if (!value)
            return std::nullopt;
        const QString unitText = row.text(unitColumn);
        if (unitText.isEmpty()) {
            if (!warnedUnit_)
                warn(file_, row.line(), QStringLiteral("no distance unit: read as miles"));
            warnedUnit_ = true;
            return value;
        }
        const std::optional<DistanceUnit> unit = distanceUnitFromText(unitText);
        if (!unit) {
            row.refuse(QStringLiteral("distance unit '%1' is not known").arg(unitText));
            return std::nullopt;
        }
        return toMiles(*value, *unit);
    }

    void readVehicles(const CsvSection& section) {
        if (!section.header)
            return;
        const HeaderIndex header(section.header->fields);
        const int name = header.firstOf({"name", "vehicle", "vehicle name"});
        const int make = header.column("make");
        const int model = header.column("model");
        const int year = header.column("year");
        const int vin =
            header.firstOf({"vin", "identification number", "vehicle identification number"});
        for (const CsvRecord& record : section.rows) {
            RowReader row(record, DecimalMark::Point);
            ImportedVehicle vehicle;
            vehicle.line = row.line();
            vehicle.name = row.text(name);
            vehicle.make = row.nullable(make);
            vehicle.model = row.nullable(model);
            vehicle.serialNum = row.nullable(vin);
            const QString yearText = row.text(year);
            bool yearOk = false;
            const int yearValue = yearText.toInt(&yearOk);
            if (yearOk)
                vehicle.year = yearValue;
            else if (!yearText.isEmpty())
                warn(file_, row.line(),
                     QStringLiteral("year '%1' is not a year: left out").arg(yearText));
            if (vehicle.name.isEmpty()) {
                refuse(file_, row.line(), QStringLiteral("a vehicle without a name"));
                continue;
            }
            const size_t at = noteVehicle(file_, vehicle);
            file_.vehicles[at] = vehicle; // the block's row is the fuller one
        }
    }

    void readFillUps(const CsvSection& section) {
        if (!section.header)
            return;
        const HeaderIndex header(section.header->fields);
        if (!needColumns(section, header, {"date", "odometer reading", "volume"}))
            return;
        const int vehicle = header.column("vehicle");
        const int date = header.column("date");
        const int time = header.column("time");
        const int odometerColumn = header.column("odometer reading");
        const int distanceUnit = header.column("distance unit");
        const int volume = header.column("volume");
        const int volumeUnit = header.column("volume unit");
        const int price = header.column("price per unit");
        const int total = header.column("total cost");
        const int partial = header.column("partial fill-up?");
        const int missed = header.column("previously missed fill-ups?");
        const int brand = header.column("fuel brand");
        const int address = header.column("fueling station address");
        const int city = header.column("place city");
        const int state = header.column("place state");
        const int tags = header.column("tags");
        const int notes = header.column("notes");
        for (const CsvRecord& record : section.rows) {
            RowReader row(record, DecimalMark::Point);
            ImportedFuel fuel;
            fuel.line = row.line();
            fuel.vehicle = vehicleOf(row, vehicle);
            fuel.date = dateAndTime(row, date, time);
            fuel.odometer = odometer(row, odometerColumn, distanceUnit);
            const std::optional<double> amount = row.number(volume, "volume");
            if (amount) {
                const QString unitText = row.text(volumeUnit);
                std::optional<VolumeUnit> unit = VolumeUnit::UsGallons;
                if (!unitText.isEmpty())
                    unit = volumeUnitFromText(unitText);
                if (unit)
                    fuel.gallons = toUsGallons(*amount, *unit);
                else
                    row.refuse(QStringLiteral("volume unit '%1' is not known").arg(unitText));
            }
            fuel.cost = row.money(total, "total cost");
            const std::optional<values::Currency> unitPrice = row.money(price, "price per unit");
            if (!fuel.cost && unitPrice && amount)
                fuel.cost = row.costFromPrice(price, *unitPrice, *amount);
            fuel.full = !row.flag(partial, "partial fill-up", false);
            fuel.missed = row.flag(missed, "previously missed fill-ups", false);
            fuel.station = row.nullable(brand);
            if (fuel.station.isNull())
                fuel.station = row.nullable(address);
            fuel.city = row.nullable(city);
            fuel.state = row.nullable(state);
            fuel.tags = row.nullable(tags);
            fuel.note = row.nullable(notes);
            fuel_.add(file_, row, std::move(fuel));
        }
    }

    void readEvents(const CsvSection& section) {
        if (!section.header)
            return;
        const HeaderIndex header(section.header->fields);
        if (!needColumns(section, header, {"date"}))
            return;
        const int vehicle = header.column("vehicle");
        const int date = header.column("date");
        const int time = header.column("time");
        const int odometerColumn = header.column("odometer reading");
        const int distanceUnit = header.column("distance unit");
        const int type = header.column("type");
        const int subTypes = header.column("sub types");
        const int total = header.column("total cost");
        const int tags = header.column("tags");
        const int notes = header.column("notes");
        for (const CsvRecord& record : section.rows) {
            RowReader row(record, DecimalMark::Point);
            ImportedWorkOrder order;
            order.line = row.line();
            order.vehicle = vehicleOf(row, vehicle);
            order.date = dateAndTime(row, date, time);
            if (const std::optional<double> miles = odometer(row, odometerColumn, distanceUnit))
                order.mileage = std::llround(*miles);
            const QString subTypeText = row.text(subTypes);
            for (const QString& subType : subTypeText.split(u',', Qt::SkipEmptyParts)) {
                if (!subType.trimmed().isEmpty())
                    order.services.append(subType.trimmed());
            }
            if (order.services.isEmpty() && !row.text(type).isEmpty())
                order.services.append(row.text(type));
            if (const std::optional<values::Currency> cost = row.money(total, "total cost"))
                order.parts.push_back(
                    costAsPart(subTypeText.isEmpty() ? row.text(type) : subTypeText, *cost));
            if (!row.text(notes).isEmpty())
                order.note = row.text(notes);
            order.tags = row.nullable(tags);
            addWorkOrder(file_, row, std::move(order));
        }
    }

    QString path_;
    ImportedFile file_;
    FuelRows fuel_;
    bool warnedUnit_ = false;
};

} // namespace

ImportedFile readACarFile(const QString& path) {
    return ACarReading(path).read();
}

bool isACarBlockName(const QString& name) {
    return blockNames().contains(name.trimmed().toLower());
}

} // namespace exchange
