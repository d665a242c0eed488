// Fuelio's backup CSV: one vehicle per file, in sections ("## Vehicle", "## Log",
// "## Costs", ...). Units sit in the log's header names ("Odo (km)", "Fuel (litres)")
// and in the vehicle's unit codes.
#include "CsvFile.h"
#include "FormatReaders.h"
#include "ReaderSupport.h"
#include "SectionSplitter.h"
#include "Units.h"

#include <QHash>
#include <cmath>

namespace exchange {

namespace {

std::optional<QString> fuelioSection(const CsvRecord& record) {
    if (record.fields.size() != 1 || !record.fields.front().trimmed().startsWith("##"))
        return std::nullopt;
    return record.fields.front().trimmed().mid(2).trimmed().toLower();
}

// Log columns by the name before their parenthesis, with the unit inside it.
struct UnitColumns {
    explicit UnitColumns(const QStringList& header) {
        for (int i = 0; i < header.size(); ++i) {
            HeaderWithUnit split = splitHeaderUnit(header[i]);
            if (!names.contains(split.name)) {
                names.insert(split.name, i);
                units.insert(split.name, split.unit);
            }
        }
    }
    int column(const char* name) const { return names.value(QLatin1String(name), -1); }
    QString unit(const char* name) const { return units.value(QLatin1String(name)); }
    QHash<QString, int> names;
    QHash<QString, QString> units;
};

class FuelioReading {
public:
    explicit FuelioReading(const QString& path) : path_(path) {
        file_.formatId = QStringLiteral("fuelio");
    }

    ImportedFile read() {
        const CsvTable table = loadCsvFile(path_);
        if (!table.text.ok()) {
            file_.error = table.text.error;
            return std::move(file_);
        }
        const std::vector<CsvSection> sections = splitSections(table.records, fuelioSection);
        const CsvSection* log = nullptr;
        const CsvSection* costs = nullptr;
        for (const CsvSection& section : sections) {
            if (section.name == "vehicle")
                readVehicle(section);
            else if (section.name == "costcategories")
                readNames(section, "costtypeid", "name", &categories_);
            else if (section.name == "favstations")
                readNames(section, "stationid", "namebrand", &stations_);
            else if (section.name == "log")
                log = &section;
            else if (section.name == "costs")
                costs = &section;
            else if (section.name.isEmpty() && !section.rows.empty())
                warn(file_, section.rows.front().line,
                     QStringLiteral("lines before the first section are not read"));
        }
        if (!log && !costs) {
            file_.error = fileNameOf(path_) + QStringLiteral(": no \"## Log\" section");
            return std::move(file_);
        }
        if (vehicle_.name.isEmpty())
            vehicle_.name = fileVehicleName(path_);
        noteVehicle(file_, vehicle_);
        if (log && !readLog(*log))
            return std::move(file_);
        if (costs)
            readCosts(*costs);
        return std::move(file_);
    }

private:
    void readVehicle(const CsvSection& section) {
        if (!section.header || section.rows.empty())
            return;
        const HeaderIndex header(section.header->fields);
        RowReader row(section.rows.front(), DecimalMark::Point);
        vehicle_.line = row.line();
        vehicle_.name = row.text(header.column("name"));
        vehicle_.make = row.nullable(header.column("make"));
        vehicle_.model = row.nullable(header.column("model"));
        vehicle_.serialNum = row.nullable(header.column("vin"));
        bool ok = false;
        const int year = row.text(header.column("year")).toInt(&ok);
        if (ok && year > 0)
            vehicle_.year = year;
        const QString dist = row.text(header.column("distunit"));
        if (dist == "0")
            distance_ = DistanceUnit::Kilometres;
        else if (dist == "1")
            distance_ = DistanceUnit::Miles;
        const QString fuel = row.text(header.column("fuelunit"));
        if (fuel == "0")
            volume_ = VolumeUnit::Litres;
        else if (fuel == "1")
            volume_ = VolumeUnit::UsGallons;
        else if (fuel == "2")
            volume_ = VolumeUnit::UkGallons;
    }

    void readNames(const CsvSection& section, const char* idName, const char* nameName,
                   QHash<QString, QString>* names) {
        if (!section.header)
            return;
        const HeaderIndex header(section.header->fields);
        for (const CsvRecord& record : section.rows) {
            RowReader row(record, DecimalMark::Point);
            names->insert(row.text(header.column(idName)), row.text(header.column(nameName)));
        }
    }

    QString headerError(const CsvSection& section, const QString& what) {
        return QStringLiteral("%1: line %2: %3")
            .arg(fileNameOf(path_))
            .arg(section.header ? section.header->line : section.line)
            .arg(what);
    }

    bool readLog(const CsvSection& section) {
        if (!section.header)
            return true;
        const UnitColumns columns(section.header->fields);
        for (const char* name : {"data", "odo", "fuel"}) {
            if (columns.column(name) < 0) {
                file_.error = headerError(section, QStringLiteral("no column '%1'").arg(name));
                return false;
            }
        }
        std::optional<DistanceUnit> distance = distance_;
        if (!columns.unit("odo").isEmpty())
            distance = distanceUnitFromText(columns.unit("odo"));
        std::optional<VolumeUnit> volume = volume_;
        if (!columns.unit("fuel").isEmpty())
            volume = volumeUnitFromText(columns.unit("fuel"));
        if (!distance || !volume) {
            const char* name = distance ? "fuel" : "odo";
            file_.error = headerError(
                section, columns.unit(name).isEmpty()
                             ? QStringLiteral("column '%1' names no unit").arg(name)
                             : QStringLiteral("unit '%1' is not known").arg(columns.unit(name)));
            return false;
        }
        distance_ = distance;
        const int date = columns.column("data");
        const int odo = columns.column("odo");
        const int fuelColumn = columns.column("fuel");
        const int full = columns.column("full");
        const int price = columns.column("price");
        const int volumePrice = columns.column("volumeprice");
        const int city = columns.column("city");
        const int notes = columns.column("notes");
        const int missed = columns.column("missed");
        const int station = columns.column("stationid");
        FuelRows rows;
        for (const CsvRecord& record : section.rows) {
            RowReader row(record, DecimalMark::Point);
            ImportedFuel fuel;
            fuel.line = row.line();
            fuel.vehicle = vehicle_.name;
            fuel.date = row.date(date, DateOrder::DayFirst);
            if (const std::optional<double> miles = row.number(odo, "odometer"))
                fuel.odometer = toMiles(*miles, *distance);
            const std::optional<double> amount = row.number(fuelColumn, "volume");
            if (amount)
                fuel.gallons = toUsGallons(*amount, *volume);
            fuel.cost = row.money(price, "price");
            const std::optional<values::Currency> unitPrice =
                row.money(volumePrice, "volume price");
            if ((!fuel.cost || fuel.cost->scaled == 0) && unitPrice && unitPrice->scaled != 0 &&
                amount)
                fuel.cost = row.costFromPrice(volumePrice, *unitPrice, *amount);
            fuel.full = row.flag(full, "full", true);
            fuel.missed = row.flag(missed, "missed", false);
            fuel.city = row.nullable(city);
            fuel.note = row.nullable(notes);
            const QString stationId = row.text(station);
            if (!stationId.isEmpty() && stationId != "0") {
                if (stations_.contains(stationId))
                    fuel.station = stations_.value(stationId);
                else
                    warn(file_, row.line(),
                         QStringLiteral("station %1 is not among the favourite stations: left "
                                        "out")
                             .arg(stationId));
            }
            rows.add(file_, row, std::move(fuel));
        }
        rows.finish(file_);
        return true;
    }

    // A Fuelio number that means "none" when it is zero.
    static std::optional<double> unlessZero(RowReader& row, int column, const char* field) {
        std::optional<double> value = row.number(column, field);
        if (value && *value == 0)
            return std::nullopt;
        return value;
    }

    void readCosts(const CsvSection& section) {
        if (!section.header)
            return;
        const HeaderIndex header(section.header->fields);
        const int title = header.column("costtitle");
        const int date = header.column("date");
        const int odo = header.column("odo");
        const int type = header.column("costtypeid");
        const int notes = header.column("notes");
        const int cost = header.column("cost");
        const int remindOdo = header.column("remindodo");
        const int remindDate = header.column("reminddate");
        const int repeatOdo = header.column("repeatodo");
        const int repeatMonths = header.column("repeatmonths");
        const int income = header.column("isincome");
        const int templateColumn = header.column("istemplate");
        const DistanceUnit distance = distance_.value_or(DistanceUnit::Kilometres);
        if (!distance_)
            warn(file_, section.line,
                 QStringLiteral("the vehicle gives no distance unit: costs' odometers read as "
                                "km"));
        for (const CsvRecord& record : section.rows) {
            RowReader row(record, DecimalMark::Point);
            ImportedWorkOrder order;
            order.line = row.line();
            order.vehicle = vehicle_.name;
            order.date = row.date(date, DateOrder::DayFirst);
            if (const std::optional<double> odometer = row.number(odo, "odometer"))
                order.mileage = std::llround(toMiles(*odometer, distance));
            const QString category = categories_.value(row.text(type));
            QString service = row.text(title);
            if (service.isEmpty())
                service = category;
            if (!service.isEmpty())
                order.services.append(service);
            if (const std::optional<values::Currency> amount = row.money(cost, "cost"))
                order.parts.push_back(costAsPart(service, *amount));
            if (!row.text(notes).isEmpty())
                order.note = row.text(notes);
            order.tags = category.isEmpty() ? QString() : category;

            ImportedReminder reminder;
            if (const std::optional<double> at = unlessZero(row, remindOdo, "remind odometer"))
                reminder.mileage = std::llround(toMiles(*at, distance));
            if (const std::optional<double> every = unlessZero(row, repeatOdo, "repeat odometer"))
                reminder.repeatMiles = std::llround(toMiles(*every, distance));
            if (const std::optional<double> months = unlessZero(row, repeatMonths, "repeat months"))
                reminder.repeatMonths = int(std::min(*months, 12000.0));
            const QString due = row.text(remindDate);
            if (!due.isEmpty() && due != "0")
                reminder.date = row.dateText(due, DateOrder::DayFirst, "remind date");
            if (reminder.mileage || reminder.date || reminder.repeatMiles || reminder.repeatMonths)
                order.reminder = reminder;

            if (row.flag(income, "isIncome", false))
                row.refuse(QStringLiteral("an income, not a cost"));
            if (row.flag(templateColumn, "isTemplate", false))
                row.refuse(QStringLiteral("a cost template, not a cost"));
            addWorkOrder(file_, row, std::move(order));
        }
    }

    QString path_;
    ImportedFile file_;
    ImportedVehicle vehicle_;
    std::optional<DistanceUnit> distance_;
    std::optional<VolumeUnit> volume_;
    QHash<QString, QString> categories_;
    QHash<QString, QString> stations_;
};

} // namespace

ImportedFile readFuelioFile(const QString& path) {
    return FuelioReading(path).read();
}

} // namespace exchange
