// Any CSV of fuel purchases whose header names match the aliases the peers' importers
// use; columns placed by hand where the aliases do not place them.
#include "CsvFile.h"
#include "ImportFormats.h"
#include "ReaderSupport.h"
#include "Units.h"

#include <QHash>

namespace exchange {

namespace {

// Lower case, the unit in parentheses dropped, '_' and '-' as spaces: "Partial_Fuelup"
// and "partial fuelup" are one name.
QString aliasKey(const QString& header) {
    QString key = splitHeaderUnit(header).name;
    key.replace(u'_', u' ').replace(u'-', u' ');
    return key.simplified();
}

const QHash<QString, GenericField>& aliases() {
    static const QHash<QString, GenericField> table = [] {
        QHash<QString, GenericField> t;
        const auto add = [&t](GenericField field, std::initializer_list<const char*> names) {
            for (const char* name : names)
                t.insert(QString::fromUtf8(name), field);
        };
        add(GenericField::Vehicle, {"vehicle", "car", "car name", "vehicle name"});
        add(GenericField::Date, {"date", "fuelup date", "fuel date", "fill date", "data"});
        add(GenericField::Day, {"day"});
        add(GenericField::Month, {"month"});
        add(GenericField::Year, {"year"});
        add(GenericField::Odometer, {"odometer", "odo", "odometer reading", "mileage"});
        add(GenericField::TripDistance,
            {"trip", "distance", "trip distance", "miles", "km", "kilometers", "kilometres"});
        add(GenericField::Volume,
            {"gallons", "liters", "litres", "consumption", "quantity", "fuelconsumed",
             "fuel consumed", "qty", "volume", "fuel", "fuel volume"});
        add(GenericField::TotalCost, {"cost", "total cost", "totalcost", "total price", "total"});
        add(GenericField::UnitPrice,
            {"price per unit", "unit price", "price per gallon", "price per liter",
             "price per litre", "volumeprice", "price/gal", "price/l"});
        add(GenericField::Full, {"isfilltofull", "filled up", "full", "full tank", "is full"});
        add(GenericField::Partial,
            {"partial fuelup", "partial tank", "partial fill", "partial", "partial fill up"});
        add(GenericField::Missed,
            {"missed fuelup", "missedfuelup", "missed fill up", "missed fill", "missed"});
        add(GenericField::City, {"city", "town"});
        add(GenericField::State, {"state", "province", "region"});
        add(GenericField::Station,
            {"station", "brand", "fuel brand", "gas station", "company", "fueling station"});
        add(GenericField::Note, {"notes", "note", "comment", "comments", "memo", "remarks"});
        add(GenericField::Tags, {"tags", "tag"});
        return t;
    }();
    return table;
}

int columnOf(const GenericColumns& columns, GenericField field) {
    for (size_t i = 0; i < columns.fields.size(); ++i) {
        if (columns.fields[i] == field)
            return int(i);
    }
    return -1;
}

bool has(const GenericColumns& columns, GenericField field) {
    return columnOf(columns, field) >= 0;
}

// The unit a header shows, in its parentheses or among its words ("Odometer (km)",
// "fuel_litres"); an error for a unit in parentheses that is not known.
template <typename Unit>
std::optional<Unit> headerUnit(const QString& header, std::optional<Unit> (*fromText)(QStringView),
                               bool* unknown) {
    const HeaderWithUnit split = splitHeaderUnit(header);
    if (!split.unit.isEmpty()) {
        const std::optional<Unit> unit = fromText(split.unit);
        *unknown = !unit;
        return unit;
    }
    QString words = split.name;
    words.replace(u'_', u' ').replace(u'-', u' ');
    for (const QString& word : words.split(u' ', Qt::SkipEmptyParts)) {
        if (const std::optional<Unit> unit = fromText(word))
            return unit;
    }
    return std::nullopt;
}

} // namespace

QString genericFieldName(GenericField field) {
    switch (field) {
    case GenericField::Ignore:
        return QStringLiteral("Ignore");
    case GenericField::Vehicle:
        return QStringLiteral("Vehicle");
    case GenericField::Date:
        return QStringLiteral("Date");
    case GenericField::Odometer:
        return QStringLiteral("Odometer");
    case GenericField::TripDistance:
        return QStringLiteral("Trip Distance");
    case GenericField::Volume:
        return QStringLiteral("Volume");
    case GenericField::TotalCost:
        return QStringLiteral("Total Cost");
    case GenericField::UnitPrice:
        return QStringLiteral("Unit Price");
    case GenericField::Full:
        return QStringLiteral("Full");
    case GenericField::Partial:
        return QStringLiteral("Partial");
    case GenericField::Missed:
        return QStringLiteral("Missed");
    case GenericField::City:
        return QStringLiteral("City");
    case GenericField::State:
        return QStringLiteral("State");
    case GenericField::Station:
        return QStringLiteral("Station");
    case GenericField::Note:
        return QStringLiteral("Note");
    case GenericField::Tags:
        return QStringLiteral("Tags");
    case GenericField::Day:
        return QStringLiteral("Day");
    case GenericField::Month:
        return QStringLiteral("Month");
    case GenericField::Year:
        return QStringLiteral("Year");
    }
    return QString();
}

QStringList GenericColumns::missing() const {
    QStringList names;
    if (!has(*this, GenericField::Date) &&
        !(has(*this, GenericField::Day) && has(*this, GenericField::Month) &&
          has(*this, GenericField::Year)))
        names.append(genericFieldName(GenericField::Date));
    if (!has(*this, GenericField::Odometer) && !has(*this, GenericField::TripDistance))
        names.append(QStringLiteral("%1 or %2")
                         .arg(genericFieldName(GenericField::Odometer),
                              genericFieldName(GenericField::TripDistance)));
    if (!has(*this, GenericField::Volume))
        names.append(genericFieldName(GenericField::Volume));
    return names;
}

GenericColumns genericColumnsFor(const QStringList& headers) {
    GenericColumns columns;
    columns.headers = headers;
    columns.fields.assign(size_t(headers.size()), GenericField::Ignore);
    int price = -1;
    for (int i = 0; i < headers.size(); ++i) {
        const QString key = aliasKey(headers[i]);
        if (key == "price") {
            if (price < 0)
                price = i;
            continue;
        }
        const auto found = aliases().constFind(key);
        if (found != aliases().constEnd() && !has(columns, found.value()))
            columns.fields[size_t(i)] = found.value();
    }
    // "price" is the total where no column gives one, otherwise the price per unit.
    if (price >= 0) {
        const GenericField as = has(columns, GenericField::TotalCost) ? GenericField::UnitPrice
                                                                      : GenericField::TotalCost;
        if (!has(columns, as))
            columns.fields[size_t(price)] = as;
    }
    return columns;
}

GenericHeader readGenericHeader(const QString& path) {
    GenericHeader header;
    std::optional<QStringList> first;
    const CsvFileText text = readCsvFile(path, [&first](const CsvRecord& record) {
        first = record.fields;
        return false;
    });
    if (!text.ok()) {
        header.error = text.error;
        return header;
    }
    if (!first) {
        header.error = fileNameOf(path) + QStringLiteral(": the file is empty");
        return header;
    }
    header.columns = genericColumnsFor(*first);
    return header;
}

ImportedFile readGenericFile(const QString& path, const GenericColumns& columns) {
    ImportedFile file;
    file.formatId = QStringLiteral("generic");
    const QStringList missing = columns.missing();
    if (!missing.isEmpty()) {
        file.error = QStringLiteral("%1: no column for %2")
                         .arg(fileNameOf(path), missing.join(QStringLiteral(", ")));
        return file;
    }
    const CsvTable table = loadCsvFile(path);
    if (!table.text.ok()) {
        file.error = table.text.error;
        return file;
    }
    const int headerLine = table.records.empty() ? 1 : table.records.front().line;
    const auto column = [&columns](GenericField field) { return columnOf(columns, field); };
    const auto headerOf = [&columns](int at) {
        return at >= 0 && at < columns.headers.size() ? columns.headers[at] : QString();
    };

    // Units from the header names; what a header does not show is assumed and said.
    const int volume = column(GenericField::Volume);
    const int odometer = column(GenericField::Odometer);
    const int trip = column(GenericField::TripDistance);
    bool unknown = false;
    std::optional<VolumeUnit> volumeUnit =
        headerUnit<VolumeUnit>(headerOf(volume), volumeUnitFromText, &unknown);
    if (unknown) {
        file.error = QStringLiteral("%1: line %2: column '%3': unit '%4' is not known")
                         .arg(fileNameOf(path))
                         .arg(headerLine)
                         .arg(headerOf(volume), splitHeaderUnit(headerOf(volume)).unit);
        return file;
    }
    const int distanceColumn = odometer >= 0 ? odometer : trip;
    std::optional<DistanceUnit> distanceUnit =
        headerUnit<DistanceUnit>(headerOf(distanceColumn), distanceUnitFromText, &unknown);
    if (!unknown && !distanceUnit && odometer >= 0 && trip >= 0)
        distanceUnit = headerUnit<DistanceUnit>(headerOf(trip), distanceUnitFromText, &unknown);
    if (unknown) {
        const int at =
            splitHeaderUnit(headerOf(distanceColumn)).unit.isEmpty() ? trip : distanceColumn;
        file.error = QStringLiteral("%1: line %2: column '%3': unit '%4' is not known")
                         .arg(fileNameOf(path))
                         .arg(headerLine)
                         .arg(headerOf(at), splitHeaderUnit(headerOf(at)).unit);
        return file;
    }
    if (!volumeUnit)
        warn(file, 0,
             QStringLiteral("column '%1' shows no unit: read as US gallons").arg(headerOf(volume)));
    if (!distanceUnit)
        warn(file, 0,
             QStringLiteral("column '%1' shows no unit: read as miles")
                 .arg(headerOf(distanceColumn)));
    const VolumeUnit volumeIn = volumeUnit.value_or(VolumeUnit::UsGallons);
    const DistanceUnit distanceIn = distanceUnit.value_or(DistanceUnit::Miles);

    const DecimalMark mark = table.text.delimiter == ';' ? DecimalMark::Comma : DecimalMark::Point;
    const int vehicle = column(GenericField::Vehicle);
    const int date = column(GenericField::Date);
    const int day = column(GenericField::Day);
    const int month = column(GenericField::Month);
    const int year = column(GenericField::Year);
    const int total = column(GenericField::TotalCost);
    const int price = column(GenericField::UnitPrice);
    const int full = column(GenericField::Full);
    const int partial = column(GenericField::Partial);
    const int missed = column(GenericField::Missed);
    const QString fileVehicle = fileVehicleName(path);
    bool warnedMonthFirst = false;
    FuelRows rows;
    for (size_t i = 1; i < table.records.size(); ++i) {
        RowReader row(table.records[i], mark);
        ImportedFuel fuel;
        fuel.line = row.line();
        fuel.vehicle = row.text(vehicle).isEmpty() ? fileVehicle : row.text(vehicle);
        noteVehicle(file, ImportedVehicle{0, fuel.vehicle, {}, {}, {}, {}});
        if (date >= 0) {
            const QString text = row.text(date);
            // Dotted dates are day-first wherever they are written; slashes are read as
            // the US writes them.
            const DateOrder order =
                text.contains(u'.') ? DateOrder::DayFirst : DateOrder::MonthFirst;
            if (!warnedMonthFirst && text.contains(u'/')) {
                const FieldDate dayFirst = parseFieldDate(text, DateOrder::DayFirst);
                const FieldDate monthFirst = parseFieldDate(text, DateOrder::MonthFirst);
                if (dayFirst.problem == FieldDateProblem::None &&
                    monthFirst.problem == FieldDateProblem::None &&
                    dayFirst.value != monthFirst.value) {
                    warn(file, row.line(),
                         QStringLiteral("dates such as '%1' are read month first").arg(text));
                    warnedMonthFirst = true;
                }
            }
            fuel.date = row.dateText(text, order);
        } else if (!row.text(year).isEmpty() || !row.text(month).isEmpty() ||
                   !row.text(day).isEmpty()) {
            fuel.date = row.dateText(
                QStringLiteral("%1-%2-%3").arg(row.text(year), row.text(month), row.text(day)),
                DateOrder::MonthFirst);
        }
        std::optional<double> tripMiles;
        if (const std::optional<double> value = row.number(odometer, "odometer"))
            fuel.odometer = toMiles(*value, distanceIn);
        if (const std::optional<double> value = row.number(trip, "trip distance"))
            tripMiles = toMiles(*value, distanceIn);
        const std::optional<double> amount = row.number(volume, "volume");
        if (amount)
            fuel.gallons = toUsGallons(*amount, volumeIn);
        fuel.cost = row.money(total, "cost");
        const std::optional<values::Currency> unitPrice = row.money(price, "price");
        if (!fuel.cost && unitPrice && amount)
            fuel.cost = row.costFromPrice(price, *unitPrice, *amount);
        const QString fullText = row.text(full).toLower();
        if (fullText == "partial")
            fuel.full = false;
        else
            fuel.full = row.flag(full, "full", true);
        if (row.flag(partial, "partial", false))
            fuel.full = false;
        fuel.missed = row.flag(missed, "missed", false);
        fuel.city = row.nullable(column(GenericField::City));
        fuel.state = row.nullable(column(GenericField::State));
        fuel.station = row.nullable(column(GenericField::Station));
        fuel.note = row.nullable(column(GenericField::Note));
        fuel.tags = row.nullable(column(GenericField::Tags));
        rows.add(file, row, std::move(fuel), tripMiles);
    }
    rows.finish(file);
    if (file.vehicles.empty())
        noteVehicle(file, ImportedVehicle{0, fileVehicle, {}, {}, {}, {}});
    return file;
}

} // namespace exchange
