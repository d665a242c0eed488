// Fuelly's web site export: one row per fill-up, the vehicle on each row, dates
// month-first, price per unit, metric accounts with litres and km in place of gallons
// and miles.
#include "CsvFile.h"
#include "FormatReaders.h"
#include "ReaderSupport.h"
#include "Units.h"

namespace exchange {

ImportedFile readFuellyWebFile(const QString& path) {
    ImportedFile file;
    file.formatId = QStringLiteral("fuelly");
    const CsvTable table = loadCsvFile(path);
    if (!table.text.ok()) {
        file.error = table.text.error;
        return file;
    }
    if (table.records.empty()) {
        file.error = fileNameOf(path) + QStringLiteral(": the file is empty");
        return file;
    }
    const HeaderIndex header(table.records.front().fields);
    const int headerLine = table.records.front().line;
    const int dateColumn = header.column("fuelup_date");
    const int usVolume = header.column("gallons");
    const int metricVolume = header.firstOf({"litres", "liters"});
    const int odometerColumn = header.column("odometer");
    const int milesColumn = header.column("miles");
    const int kmColumn = header.column("km");
    for (const auto& [column, name] :
         {std::pair{dateColumn, "fuelup_date"},
          std::pair{usVolume >= 0 ? usVolume : metricVolume, "gallons"},
          std::pair{odometerColumn >= 0 ? odometerColumn : std::max(milesColumn, kmColumn),
                    "odometer"}}) {
        if (column < 0) {
            file.error = QStringLiteral("%1: line %2: no column '%3'")
                             .arg(fileNameOf(path))
                             .arg(headerLine)
                             .arg(QLatin1String(name));
            return file;
        }
    }
    const VolumeUnit volumeUnit = usVolume >= 0 ? VolumeUnit::UsGallons : VolumeUnit::Litres;
    const int volumeColumn = usVolume >= 0 ? usVolume : metricVolume;
    // A metric account writes km and l/100km; its odometer is in km as well.
    const bool metricDistance = kmColumn >= 0 || (milesColumn < 0 && header.has("l/100km"));
    const DistanceUnit distanceUnit =
        metricDistance ? DistanceUnit::Kilometres : DistanceUnit::Miles;
    const int tripColumn = metricDistance ? kmColumn : milesColumn;
    const int carColumn = header.column("car_name");
    const int modelColumn = header.column("model");
    const int priceColumn = header.column("price");
    const int totalColumn = header.firstOf({"total_price", "total_cost", "cost"});
    const int partialColumn = header.column("partial_fuelup");
    const int missedColumn = header.column("missed_fuelup");
    const int notesColumn = header.column("notes");
    const int tagsColumn = header.column("tags");
    const int brandColumn = header.column("brand");
    const QString fileVehicle = fileVehicleName(path);

    FuelRows rows;
    for (size_t i = 1; i < table.records.size(); ++i) {
        RowReader row(table.records[i], DecimalMark::Point);
        ImportedFuel fuel;
        fuel.line = row.line();
        QString vehicle = row.text(carColumn);
        if (vehicle.isEmpty())
            vehicle = fileVehicle;
        ImportedVehicle named;
        named.name = vehicle;
        named.model = row.nullable(modelColumn);
        noteVehicle(file, named);
        fuel.vehicle = vehicle;
        fuel.date = row.date(dateColumn, DateOrder::MonthFirst);
        const std::optional<double> volume = row.number(volumeColumn, "volume");
        if (volume)
            fuel.gallons = toUsGallons(*volume, volumeUnit);
        if (const std::optional<double> odometer = row.number(odometerColumn, "odometer"))
            fuel.odometer = toMiles(*odometer, distanceUnit);
        std::optional<double> trip;
        if (!fuel.odometer) {
            if (const std::optional<double> distance = row.number(tripColumn, "trip distance"))
                trip = toMiles(*distance, distanceUnit);
        }
        fuel.cost = row.money(totalColumn, "cost");
        const std::optional<values::Currency> price = row.money(priceColumn, "price");
        if (!fuel.cost && price && volume) {
            fuel.cost = totalFromUnitPrice(*price, *volume);
            if (!fuel.cost)
                row.refuse(QStringLiteral("price '%1' times the volume is beyond what money holds")
                               .arg(row.text(priceColumn)));
        }
        fuel.full = !row.flag(partialColumn, "partial_fuelup", false);
        fuel.missed = row.flag(missedColumn, "missed_fuelup", false);
        fuel.note = row.nullable(notesColumn);
        fuel.tags = row.nullable(tagsColumn);
        fuel.station = row.nullable(brandColumn);
        rows.add(file, row, std::move(fuel), trip);
    }
    rows.finish(file);
    if (file.vehicles.empty())
        noteVehicle(file, ImportedVehicle{0, fileVehicle, {}, {}, {}, {}});
    return file;
}

} // namespace exchange
