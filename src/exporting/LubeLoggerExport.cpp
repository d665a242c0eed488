#include "exporting/LubeLoggerExport.h"

#include "exporting/CsvText.h"
#include "exporting/ExportFile.h"
#include "exporting/ExportRun.h"
#include "exporting/OtherFormatRows.h"
#include "history/FuelEconomy.h"
#include "history/HistoryReader.h"
#include "store/StoreErrors.h"

#include <QDir>
#include <QFileInfo>
#include <cmath>
#include <memory>

namespace exporting {

namespace {

QString usDate(const QDateTime& date) {
    return date.isValid() ? date.date().toString(QStringLiteral("M/d/yyyy")) : QString();
}

const char* flag(bool on) {
    return on ? "True" : "False";
}

// Each field with its comma before it, but the first.
class Record {
public:
    explicit Record(QByteArray& out) : m_out(out) {}
    ~Record() { csv::endRecord(m_out); }
    Record(const Record&) = delete;
    Record& operator=(const Record&) = delete;
    Record& operator<<(const QString& text) {
        next();
        // Other programs keep no difference between empty text and none.
        if (!text.isEmpty())
            csv::appendText(m_out, text);
        return *this;
    }
    Record& operator<<(const char* plain) {
        next();
        m_out.append(plain);
        return *this;
    }

private:
    void next() {
        if (m_first)
            m_first = false;
        else
            csv::separate(m_out);
    }
    QByteArray& m_out;
    bool m_first = true;
};

QString besideFile(const QString& outPath, const char* kind) {
    const QFileInfo info(outPath);
    return info.dir().filePath(info.completeBaseName() + QLatin1Char('.') + QLatin1String(kind) +
                               QStringLiteral(".csv"));
}

// Several vehicles in one file would read back as one vehicle's records.
qint64 vehicleToWrite(const ExportRun& run, const QString& outPath) {
    if (run.vehicleId())
        return *run.vehicleId();
    const std::vector<ExportedVehicle> vehicles = exportedVehicles(run);
    if (vehicles.size() != 1)
        store::raise(
            store::errInvalidOperation,
            QStringLiteral("The export file '%1' could not be written: LubeLogger's files "
                           "hold the records of one vehicle; choose the vehicle to export.")
                .arg(outPath));
    return vehicles.front().id;
}

} // namespace

bool writeLubeLogger(ExportRun& run, const QString& outPath, ExportResult& result) {
    ReadSnapshot snapshot(run);
    const qint64 vehicleId = vehicleToWrite(run, outPath);
    const history::FuelFills fills = history::HistoryReader(run.db()).fuelFills(vehicleId);
    const std::vector<history::FillEconomy> economy = history::economyOf(fills);
    const QHash<qint64, FuelExtra> extras = fuelExtras(run);
    const std::vector<OrderRows> orders = workOrdersOf(run, vehicleId);
    run.addToTotal(qint64(fills.size() + orders.size()));

    ExportFile gas(outPath);
    gas.text().append("Date,Odometer,FuelConsumed,Cost,FuelEconomy,IsFillToFull,MissedFuelUp,"
                      "Notes,Tags\r\n");
    for (std::size_t i = 0; i < fills.size(); ++i) {
        if (!run.rowDone())
            return false;
        const history::FuelFill& fill = fills[i];
        const FuelExtra extra = extras.value(fill.fuelId);
        const std::optional<history::TankEconomy>& tank = economy[i].tank;
        // LubeLogger keeps whole miles.
        Record(gas.text()) << usDate(fill.date)
                           << (fill.odometer ? QString::number(std::llround(*fill.odometer))
                                             : QString())
                           << singleText(fill.gallons) << currencyText(fill.cost)
                           << (tank && tank->mpg ? QString::number(*tank->mpg, 'f', 2) : QString())
                           << flag(fill.full) << flag(fill.missed) << extra.note << extra.tags;
        gas.flushIfFull();
    }

    ExportFile service(besideFile(outPath, "service"));
    service.text().append("Date,Description,Cost,Notes,Odometer,Tags\r\n");
    std::unique_ptr<ExportFile> supplies;
    for (const OrderRows& order : orders) {
        if (!run.rowDone())
            return false;
        Record(service.text()) << usDate(order.date) << order.services.join(QStringLiteral("; "))
                               << values::Currency{order.partsTotal()}.toString() << order.note
                               << (order.mileage ? QString::number(*order.mileage) : QString())
                               << order.tags;
        for (const OrderPart& part : order.parts) {
            if (!supplies) {
                supplies = std::make_unique<ExportFile>(besideFile(outPath, "supplies"));
                supplies->text().append(
                    "Date,PartNumber,PartSupplier,PartQuantity,Description,Notes,Cost,Tags\r\n");
            }
            // LubeLogger's cost is what the supplies cost together.
            const std::optional<values::Currency> cost =
                part.cost && part.qty
                    ? std::optional(values::Currency{part.cost->scaled * *part.qty})
                    : part.cost;
            Record(supplies->text())
                << usDate(order.date) << part.number << QString()
                << (part.qty ? QString::number(*part.qty) : QString()) << part.description
                << QString() << currencyText(cost) << order.tags;
        }
    }
    std::vector<ExportFile*> files{&gas, &service};
    if (supplies)
        files.push_back(supplies.get());
    for (ExportFile* file : files)
        file->finish();
    if (!run.finished())
        return false;
    for (ExportFile* file : files) {
        file->commit();
        result.files << file->target();
    }
    result.fuelRows = qint64(fills.size());
    result.workOrders = qint64(orders.size());
    return true;
}

} // namespace exporting
