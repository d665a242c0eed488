// Fuelly's web site export: one row per fill-up, the vehicle on each row, dates
// month-first, price per unit, metric accounts with litres and km in place of gallons
// and miles.
#include "CsvFile.h"
#include "FormatReaders.h"
#include "ReaderSupport.h"
#include "Units.h"

namespace exchange {

namespace {

// Reads the rows as they come from the text layer: a large file is never held as records.
class FuellyReading {
public:
    explicit FuellyReading(const QString& path) : path_(path) {
        file_.formatId = QStringLiteral("fuelly");
    }

    ImportedFile read() {
        bool atHeader = true;
        const CsvFileText text = readCsvFile(path_, [&](const CsvRecord& record) {
            if (!atHeader) {
                readRow(record);
                return true;
            }
            atHeader = false;
            return readHeader(record);
        });
        if (!text.ok())
            file_.error = text.error;
        else if (atHeader)
            file_.error = fileNameOf(path_) + QStringLiteral(": the file is empty");
        if (!file_.ok())
            return std::move(file_);
        rows_.finish(file_);
        if (file_.vehicles.empty())
            noteVehicle(file_, ImportedVehicle{0, fileVehicleName(path_), {}, {}, {}, {}});
        return std::move(file_);
    }

private:
    bool readHeader(const CsvRecord& record) {
        const HeaderIndex header(record.fields);
        date_ = header.column("fuelup_date");
        const int usVolume = header.column("gallons");
        volume_ = usVolume >= 0 ? usVolume : header.firstOf({"litres", "liters"});
        volumeUnit_ = usVolume >= 0 ? VolumeUnit::UsGallons : VolumeUnit::Litres;
        odometer_ = header.column("odometer");
        const int miles = header.column("miles");
        const int km = header.column("km");
        // A metric account writes km and l/100km; its odometer is in km as well.
        const bool metric = km >= 0 || (miles < 0 && header.has("l/100km"));
        distanceUnit_ = metric ? DistanceUnit::Kilometres : DistanceUnit::Miles;
        trip_ = metric ? km : miles;
        for (const auto& [column, name] :
             {std::pair{date_, "fuelup_date"}, std::pair{volume_, "gallons"},
              std::pair{odometer_ >= 0 ? odometer_ : trip_, "odometer"}}) {
            if (column < 0) {
                file_.error = QStringLiteral("%1: line %2: no column '%3'")
                                  .arg(fileNameOf(path_))
                                  .arg(record.line)
                                  .arg(QLatin1String(name));
                return false;
            }
        }
        car_ = header.column("car_name");
        model_ = header.column("model");
        price_ = header.column("price");
        total_ = header.firstOf({"total_price", "total_cost", "cost"});
        partial_ = header.column("partial_fuelup");
        missed_ = header.column("missed_fuelup");
        notes_ = header.column("notes");
        tags_ = header.column("tags");
        brand_ = header.column("brand");
        return true;
    }

    void readRow(const CsvRecord& record) {
        RowReader row(record, DecimalMark::Point);
        ImportedFuel fuel;
        fuel.line = row.line();
        QString vehicle = row.text(car_);
        if (vehicle.isEmpty())
            vehicle = fileVehicleName(path_);
        if (vehicle != lastVehicle_) {
            ImportedVehicle named;
            named.name = vehicle;
            named.model = row.nullable(model_);
            noteVehicle(file_, named);
            lastVehicle_ = vehicle;
        }
        fuel.vehicle = vehicle;
        fuel.date = row.date(date_, DateOrder::MonthFirst);
        const std::optional<double> volume = row.number(volume_, "volume");
        if (volume)
            fuel.gallons = toUsGallons(*volume, volumeUnit_);
        if (const std::optional<double> odometer = row.number(odometer_, "odometer"))
            fuel.odometer = toMiles(*odometer, distanceUnit_);
        std::optional<double> trip;
        if (!fuel.odometer) {
            if (const std::optional<double> distance = row.number(trip_, "trip distance"))
                trip = toMiles(*distance, distanceUnit_);
        }
        fuel.cost = row.money(total_, "cost");
        const std::optional<values::Currency> price = row.money(price_, "price");
        if (!fuel.cost && price && volume)
            fuel.cost = row.costFromPrice(price_, *price, *volume);
        fuel.full = !row.flag(partial_, "partial_fuelup", false);
        fuel.missed = row.flag(missed_, "missed_fuelup", false);
        fuel.note = row.nullable(notes_);
        fuel.tags = row.nullable(tags_);
        fuel.station = row.nullable(brand_);
        rows_.add(file_, row, std::move(fuel), trip);
    }

    QString path_;
    ImportedFile file_;
    FuelRows rows_;
    QString lastVehicle_;
    VolumeUnit volumeUnit_ = VolumeUnit::UsGallons;
    DistanceUnit distanceUnit_ = DistanceUnit::Miles;
    int date_ = -1, volume_ = -1, odometer_ = -1, trip_ = -1, car_ = -1, model_ = -1, price_ = -1,
        total_ = -1, partial_ = -1, missed_ = -1, notes_ = -1, tags_ = -1, brand_ = -1;
};

} // namespace

ImportedFile readFuellyWebFile(const QString& path) {
    return FuellyReading(path).read();
}

} // namespace exchange
