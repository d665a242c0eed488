// Drivvo's CSV export: sections ("##Refuelling", "##Service", "##Vehicle", ...) whose
// names and headers are written in the user's language, so columns are known by
// position and sections by their names in the languages Drivvo ships.
#include "CsvFile.h"
#include "FormatReaders.h"
#include "ReaderSupport.h"
#include "SectionSplitter.h"
#include "Units.h"

#include <cmath>

namespace exchange {

namespace {

enum class DrivvoSection { Refuelling, Service, Vehicle, Other };

DrivvoSection sectionKind(const QString& marker) {
    static const QStringList refuelling = {"refuelling",    "refueling",      "reabastecimiento",
                                           "abastecimento", "abastecimentos", "tankowanie",
                                           "tanken",        "betankung",      "ravitaillement",
                                           "rifornimento",  "rifornimenti",   "fuel"};
    static const QStringList service = {"service",       "services",  "servicio",  "servicios",
                                        "serviço",       "serviços",  "servico",   "servicos",
                                        "serwis",        "wartung",   "entretien", "manutenzione",
                                        "mantenimiento", "manutenção"};
    static const QStringList vehicle = {"vehicle", "vehículo", "vehiculo", "veículo", "veiculo",
                                        "pojazd",  "fahrzeug", "véhicule", "veicolo"};
    QString name = marker;
    while (name.startsWith(u'#'))
        name.remove(0, 1);
    name = name.trimmed().toLower();
    if (refuelling.contains(name))
        return DrivvoSection::Refuelling;
    if (service.contains(name))
        return DrivvoSection::Service;
    if (vehicle.contains(name))
        return DrivvoSection::Vehicle;
    return DrivvoSection::Other;
}

std::optional<QString> drivvoMarker(const CsvRecord& record) {
    if (record.fields.isEmpty() || !record.fields.front().trimmed().startsWith(u'#'))
        return std::nullopt;
    for (qsizetype i = 1; i < record.fields.size(); ++i) {
        if (!record.fields[i].trimmed().isEmpty())
            return std::nullopt;
    }
    return record.fields.front().trimmed();
}

class DrivvoReading {
public:
    explicit DrivvoReading(const QString& path) : path_(path) {
        file_.formatId = QStringLiteral("drivvo");
    }

    ImportedFile read() {
        const CsvTable table = loadCsvFile(path_);
        if (!table.text.ok()) {
            file_.error = table.text.error;
            return std::move(file_);
        }
        mark_ = table.text.delimiter == ';' ? DecimalMark::Comma : DecimalMark::Point;
        const std::vector<CsvSection> sections = splitSections(table.records, drivvoMarker);
        for (const CsvSection& section : sections) {
            if (sectionKind(section.name) == DrivvoSection::Vehicle)
                readVehicle(section);
        }
        if (vehicle_.name.isEmpty())
            vehicle_.name = fileVehicleName(path_);
        noteVehicle(file_, vehicle_);
        bool known = false;
        for (const CsvSection& section : sections) {
            switch (sectionKind(section.name)) {
            case DrivvoSection::Refuelling:
                readRefuelling(section);
                known = true;
                break;
            case DrivvoSection::Service:
                readService(section);
                known = true;
                break;
            case DrivvoSection::Vehicle:
                break;
            case DrivvoSection::Other:
                if (!section.rows.empty())
                    warn(file_, section.line,
                         section.name.isEmpty()
                             ? QStringLiteral("lines before the first section are not read")
                             : QStringLiteral("section '%1' is not imported (%2 rows)")
                                   .arg(section.name)
                                   .arg(section.rows.size()));
                break;
            }
        }
        if (!known) {
            file_.error = fileNameOf(path_) + QStringLiteral(": no refuelling or service section");
            return std::move(file_);
        }
        fuel_.finish(file_);
        return std::move(file_);
    }

private:
    void readVehicle(const CsvSection& section) {
        if (section.rows.empty())
            return;
        const HeaderIndex header(section.header ? section.header->fields : QStringList());
        RowReader row(section.rows.front(), mark_);
        const int name = header.firstOf({"name", "nome", "nombre", "nazwa", "vehicle"});
        vehicle_.line = row.line();
        vehicle_.name = row.text(name >= 0 ? name : 0);
        vehicle_.make = row.nullable(header.firstOf({"make", "manufacturer", "marca", "marka"}));
        vehicle_.model = row.nullable(header.firstOf({"model", "modelo"}));
        vehicle_.serialNum = row.nullable(header.firstOf({"vin", "chassi", "chasis"}));
        bool ok = false;
        const int year = row.text(header.firstOf({"year", "ano", "año", "rok"})).toInt(&ok);
        if (ok && year > 0)
            vehicle_.year = year;
    }

    void assumeMetric(int line) {
        if (!warnedUnits_)
            warn(file_, line, QStringLiteral("the file gives no units: read as km and litres"));
        warnedUnits_ = true;
    }

    void readRefuelling(const CsvSection& section) {
        assumeMetric(section.line);
        for (const CsvRecord& record : section.rows) {
            RowReader row(record, mark_);
            ImportedFuel fuel;
            fuel.line = row.line();
            fuel.vehicle = vehicle_.name;
            if (const std::optional<double> km = row.number(0, "odometer"))
                fuel.odometer = toMiles(*km, DistanceUnit::Kilometres);
            fuel.date = row.date(1, DateOrder::DayFirst);
            const std::optional<values::Currency> unitPrice = row.money(3, "price");
            fuel.cost = row.money(4, "total");
            const std::optional<double> litres = row.number(5, "volume");
            if (litres)
                fuel.gallons = toUsGallons(*litres, VolumeUnit::Litres);
            if (!fuel.cost && unitPrice && litres)
                fuel.cost = row.costFromPrice(3, *unitPrice, *litres);
            fuel.full = row.flag(6, "full", true);
            fuel.station = row.nullable(17);
            fuel.note = row.nullable(19);
            fuel_.add(file_, row, std::move(fuel));
        }
    }

    void readService(const CsvSection& section) {
        assumeMetric(section.line);
        for (const CsvRecord& record : section.rows) {
            RowReader row(record, mark_);
            ImportedWorkOrder order;
            order.line = row.line();
            order.vehicle = vehicle_.name;
            if (const std::optional<double> km = row.number(0, "odometer"))
                order.mileage = std::llround(toMiles(*km, DistanceUnit::Kilometres));
            order.date = row.date(1, DateOrder::DayFirst);
            const QString title = row.text(3);
            if (!title.isEmpty())
                order.services.append(title);
            if (const std::optional<values::Currency> cost = row.money(2, "cost"))
                order.parts.push_back(costAsPart(title, *cost));
            QString note = row.text(5);
            if (!row.text(4).isEmpty())
                note = note.isEmpty() ? QStringLiteral("Location: %1").arg(row.text(4))
                                      : QStringLiteral("%1\nLocation: %2").arg(note, row.text(4));
            if (!note.isEmpty())
                order.note = note;
            addWorkOrder(file_, row, std::move(order));
        }
    }

    QString path_;
    ImportedFile file_;
    ImportedVehicle vehicle_;
    FuelRows fuel_;
    DecimalMark mark_ = DecimalMark::Point;
    bool warnedUnits_ = false;
};

} // namespace

ImportedFile readDrivvoFile(const QString& path) {
    return DrivvoReading(path).read();
}

bool isDrivvoSectionMarker(const QString& marker) {
    return marker.startsWith(u'#') && sectionKind(marker) != DrivvoSection::Other;
}

} // namespace exchange
