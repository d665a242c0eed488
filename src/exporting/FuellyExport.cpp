#include "exporting/FuellyExport.h"

#include "exporting/CsvText.h"
#include "exporting/ExportFile.h"
#include "exporting/ExportRun.h"
#include "exporting/OtherFormatRows.h"
#include "history/FuelEconomy.h"
#include "history/HistoryReader.h"

namespace exporting {

namespace {

// Other programs keep no difference between empty text and none.
void appendPlain(QByteArray& out, const QString& text) {
    if (!text.isEmpty())
        csv::appendText(out, text);
}

void field(QByteArray& out, const QString& text) {
    appendPlain(out, text);
    csv::separate(out);
}

// Price per gallon to three decimals, as Fuelly shows it; none without both.
QString pricePerGallon(const history::FuelFill& fill) {
    if (!fill.cost || !fill.gallons || *fill.gallons <= 0)
        return QString();
    return QString::number(fill.cost->toDouble() / double(*fill.gallons), 'f', 3);
}

} // namespace

bool writeFuelly(ExportRun& run, const QString& outPath, ExportResult& result) {
    ReadSnapshot snapshot(run);
    const std::vector<ExportedVehicle> vehicles = exportedVehicles(run);
    const QHash<qint64, FuelExtra> extras = fuelExtras(run);
    const history::HistoryReader reader(run.db());
    run.addToTotal(run.scalar(run.vehicleId()
                                  ? QStringLiteral("SELECT count(*) FROM Fuel WHERE VehicleID = ?")
                                  : QStringLiteral("SELECT count(*) FROM Fuel"),
                              QStringLiteral("Fuel")));
    ExportFile file(outPath);
    QByteArray& out = file.text();
    out.append("car_name,model,mpg,odometer,miles,gallons,price,city_percentage,fuelup_date,"
               "date_added,tags,notes,missed_fuelup,partial_fuelup,latitude,longitude,brand\r\n");
    for (const ExportedVehicle& vehicle : vehicles) {
        const history::FuelFills fills = reader.fuelFills(vehicle.id);
        const std::vector<history::FillEconomy> economy = history::economyOf(fills);
        for (std::size_t i = 0; i < fills.size(); ++i) {
            if (!run.rowDone())
                return false;
            const history::FuelFill& fill = fills[i];
            const FuelExtra extra = extras.value(fill.fuelId);
            const std::optional<history::TankEconomy>& tank = economy[i].tank;
            field(out, vehicle.lookUp);
            field(out, vehicle.model);
            field(out, tank && tank->mpg ? QString::number(*tank->mpg, 'f', 2) : QString());
            field(out, singleText(fill.odometer));
            field(out, singleText(economy[i].distance));
            field(out, singleText(fill.gallons));
            field(out, pricePerGallon(fill));
            field(out, QString()); // city_percentage: not kept
            field(out, fill.date.isValid() ? fill.date.toString(QStringLiteral("MM/dd/yyyy H:mm"))
                                           : QString());
            field(out, QString()); // date_added: not kept
            field(out, extra.tags);
            field(out, extra.note);
            out.append(fill.missed ? "1," : "0,");
            out.append(fill.full ? "0," : "1,");
            out.append(",,"); // latitude, longitude: not kept
            appendPlain(out, extra.station);
            csv::endRecord(out);
            ++result.fuelRows;
            file.flushIfFull();
        }
    }
    file.finish();
    if (!run.finished())
        return false;
    file.commit();
    result.files << outPath;
    return true;
}

} // namespace exporting
