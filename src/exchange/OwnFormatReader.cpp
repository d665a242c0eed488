#include "exchange/OwnFormatReader.h"

#include "exchange/CsvRecords.h"
#include "exchange/TextDecoding.h"
#include "values/CurrencyText.h"
#include "values/DateText.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>

namespace exchange {

namespace {

constexpr const char* kFormatName = "Drivolex export";
constexpr const char* kVersion = "1";

enum class Table {
    Vehicles,
    Fuel,
    WorkOrders,
    Services,
    Parts,
    Memos,
    Missed,
    FuelExtras,
    OrderExtras,
    VehicleExtras,
    Unknown,
};

struct SectionLayout {
    Table table;
    const char* name;
    std::vector<const char*> columns;
    bool required;
};

const std::vector<SectionLayout>& layouts() {
    static const std::vector<SectionLayout> all{
        {Table::Vehicles,
         "VehicleInfo",
         {"VehicleID", "VehicleLookup", "VehicleMake", "VehicleModel", "VehicleYear",
          "VehicleSerialNum"},
         true},
        {Table::Fuel,
         "Fuel",
         {"FuelId", "VehicleID", "FuelDate", "FuelGals", "FuelMiles", "FuelFull", "FuelCost",
          "FuelCity", "FuelState"},
         true},
        {Table::WorkOrders, "WorkOrder", {"WorkOrderID", "VehicleID", "Mileage", "Date"}, true},
        {Table::Services, "WorkDone", {"WorkDoneID", "WorkOrderID", "WorkDescription"}, true},
        {Table::Parts,
         "PartsUsed",
         {"PartID", "WorkOrderId", "PartNum", "PartDescription", "PartCost", "PartQty"},
         true},
        {Table::Memos, "WorkOrderMemo", {"WorkOrderID", "WorkOrderMemo"}, true},
        {Table::Missed, "drivolex_fuel_missed", {"FuelId"}, false},
        {Table::FuelExtras,
         "drivolex_fuel_extra",
         {"FuelId", "Note", "Tags", "Station", "City", "State"},
         false},
        {Table::OrderExtras, "drivolex_workorder_extra", {"WorkOrderID", "Tags"}, false},
        {Table::VehicleExtras,
         "drivolex_vehicle_extra",
         {"VehicleID", "Make", "Model", "SerialNum"},
         false},
    };
    return all;
}

// A value of a row that cannot be read: why, as the refusal says it.
struct BadValue : std::runtime_error {
    explicit BadValue(const QString& why) : std::runtime_error(why.toStdString()), text(why) {}
    QString text;
};

[[noreturn]] void bad(const char* column, const QString& value, const char* what) {
    throw BadValue(
        QStringLiteral("%1 '%2' is not %3").arg(QLatin1String(column), value, QLatin1String(what)));
}

// One row of a section, its fields found by the header's names.
class Row {
public:
    Row(const CsvRecord& record, const std::vector<int>& places)
        : m_record(record), m_places(places) {}

    QString text(std::size_t column) const { return m_record.fields[m_places[column]]; }

private:
    const CsvRecord& m_record;
    const std::vector<int>& m_places;
};

std::optional<qint64> wholeNumber(const QString& text, const char* column, qint64 low,
                                  qint64 high) {
    if (text.isEmpty())
        return std::nullopt;
    bool ok = false;
    const qint64 number = text.trimmed().toLongLong(&ok);
    if (!ok)
        bad(column, text, "a whole number");
    if (number < low || number > high)
        throw BadValue(QStringLiteral("%1 %2 is out of range (%3 to %4)")
                           .arg(QLatin1String(column), text)
                           .arg(low)
                           .arg(high));
    return number;
}

std::optional<int> integerValue(const QString& text, const char* column) {
    const auto number = wholeNumber(text, column, std::numeric_limits<qint16>::min(),
                                    std::numeric_limits<qint16>::max());
    return number ? std::optional<int>(int(*number)) : std::nullopt;
}

std::optional<qint64> longValue(const QString& text, const char* column) {
    return wholeNumber(text, column, std::numeric_limits<qint32>::min(),
                       std::numeric_limits<qint32>::max());
}

qint64 keyValue(const QString& text, const char* column) {
    const auto key = wholeNumber(text, column, 1, std::numeric_limits<qint64>::max());
    if (!key)
        throw BadValue(QStringLiteral("%1 is empty").arg(QLatin1String(column)));
    return *key;
}

// Single precision, as the store keeps it.
std::optional<double> singleValue(const QString& text, const char* column) {
    if (text.isEmpty())
        return std::nullopt;
    bool ok = false;
    const float number = text.trimmed().toFloat(&ok);
    if (!ok || !std::isfinite(number))
        bad(column, text, "a number");
    return double(number);
}

std::optional<values::Currency> currencyValue(const QString& text, const char* column) {
    if (text.isEmpty())
        return std::nullopt;
    const values::CurrencyResult amount = values::parseCurrencyText(text);
    if (!amount.ok())
        bad(column, text, "an amount of money with at most four decimals");
    return amount.value;
}

std::optional<QDateTime> dateValue(const QString& text, const char* column) {
    if (text.isEmpty())
        return std::nullopt;
    if (std::optional<QDateTime> stored = values::parseStoredDateText(QStringView(text)))
        return stored;
    const values::DateResult date = values::parseDateText(text);
    if (!date.ok())
        bad(column, text, "a date");
    return date.value;
}

// -1 and 0 as the store keeps them; 1, True and False as people write them; no value
// is No, as the store reads it.
bool booleanValue(const QString& text, const char* column) {
    const QString flag = text.trimmed().toLower();
    if (flag.isEmpty() || flag == QLatin1String("0") || flag == QLatin1String("false"))
        return false;
    if (flag == QLatin1String("-1") || flag == QLatin1String("1") || flag == QLatin1String("true"))
        return true;
    bad(column, text, "-1 or 0");
}

struct Owned {
    int index = -1; // into the file's list
    int line = 0;
};

class OwnFormatReader {
public:
    explicit OwnFormatReader(const QString& path) : m_fileName(QFileInfo(path).fileName()) {
        m_file.formatId = QStringLiteral("drivolex");
    }

    ImportedFile read(const QString& path) {
        QFile input(path);
        if (!input.open(QIODevice::ReadOnly))
            return failed(QStringLiteral("cannot be read: %1").arg(input.errorString()));
        const DecodedText decoded = decodeText(input.readAll());
        if (!decoded.ok())
            return failed(decoded.error);
        const QString csvError = readCsvRecords(
            decoded.text, ',', [this](const CsvRecord& record) { return take(record); });
        if (!m_error.isEmpty())
            return failed(m_error);
        if (!csvError.isEmpty())
            return failed(csvError);
        if (!m_versionSeen)
            return failed(QStringLiteral("is empty: it is no Drivolex export"));
        for (const SectionLayout& layout : layouts())
            if (layout.required && !m_seen.contains(QLatin1String(layout.name)))
                return failed(QStringLiteral("the section '## %1' is missing")
                                  .arg(QLatin1String(layout.name)));
        return finished();
    }

private:
    ImportedFile failed(const QString& why) {
        ImportedFile file;
        file.formatId = m_file.formatId;
        file.error = QStringLiteral("%1: %2").arg(m_fileName, why);
        return file;
    }

    bool stop(int line, const QString& why) {
        m_error = QStringLiteral("line %1: %2").arg(line).arg(why);
        return false;
    }

    bool take(const CsvRecord& record) {
        if (!m_versionSeen)
            return takeVersion(record);
        const QString first = record.fields.value(0);
        if (record.fields.size() == 1 && first.startsWith(QLatin1String("## ")))
            return startSection(record.line, first.mid(3).trimmed());
        if (!m_layout && !m_unknownSection)
            return stop(record.line, QStringLiteral("a section marker ('## VehicleInfo') is "
                                                    "expected"));
        if (m_unknownSection)
            return true;
        if (!m_headerSeen)
            return takeHeader(record);
        if (record.fields.size() != m_headerSize) {
            refuse(record.line, QStringLiteral("%1: the row has %2 fields where its header has %3")
                                    .arg(QLatin1String(m_layout->name))
                                    .arg(record.fields.size())
                                    .arg(m_headerSize));
            return true;
        }
        try {
            takeRow(record.line, Row(record, m_places));
        } catch (const BadValue& problem) {
            refuse(record.line,
                   QStringLiteral("%1: %2").arg(QLatin1String(m_layout->name), problem.text));
        }
        return true;
    }

    bool takeVersion(const CsvRecord& record) {
        m_versionSeen = true;
        if (record.fields.value(0) != QLatin1String(kFormatName))
            return stop(record.line, QStringLiteral("it is no Drivolex export (the first line "
                                                    "is not '%1,%2')")
                                         .arg(QLatin1String(kFormatName), QLatin1String(kVersion)));
        if (record.fields.size() != 2 || record.fields[1].trimmed() != QLatin1String(kVersion))
            return stop(
                record.line,
                QStringLiteral("version '%1' of the Drivolex export is not known (this "
                               "program reads version %2)")
                    .arg(record.fields.mid(1).join(QLatin1Char(',')), QLatin1String(kVersion)));
        return true;
    }

    bool startSection(int line, const QString& name) {
        m_layout = nullptr;
        m_unknownSection = false;
        m_headerSeen = false;
        for (const SectionLayout& layout : layouts())
            if (name.compare(QLatin1String(layout.name), Qt::CaseInsensitive) == 0)
                m_layout = &layout;
        if (!m_layout) {
            m_unknownSection = true;
            m_file.warnings.push_back(
                {line, QStringLiteral("the section '## %1' is not known: its rows are left out")
                           .arg(name)});
            return true;
        }
        if (m_seen.contains(QLatin1String(m_layout->name)))
            return stop(line, QStringLiteral("the section '## %1' comes twice").arg(name));
        m_seen.insert(QLatin1String(m_layout->name));
        return true;
    }

    bool takeHeader(const CsvRecord& record) {
        m_headerSeen = true;
        m_headerSize = int(record.fields.size());
        m_places.assign(m_layout->columns.size(), -1);
        for (int i = 0; i < record.fields.size(); ++i)
            for (std::size_t c = 0; c < m_layout->columns.size(); ++c)
                if (record.fields[i].trimmed().compare(QLatin1String(m_layout->columns[c]),
                                                       Qt::CaseInsensitive) == 0 &&
                    m_places[c] < 0)
                    m_places[c] = i;
        for (std::size_t c = 0; c < m_layout->columns.size(); ++c)
            if (m_places[c] < 0)
                return stop(record.line, QStringLiteral("the section '## %1' has no column '%2'")
                                             .arg(QLatin1String(m_layout->name),
                                                  QLatin1String(m_layout->columns[c])));
        return true;
    }

    void refuse(int line, const QString& why) { m_file.refusals.push_back({line, why}); }

    // The row a reference names: a vehicle, fuel row or work order read before.
    static const Owned& owner(const QHash<qint64, Owned>& rows, const QString& text,
                              const char* column, const char* what) {
        const qint64 key = keyValue(text, column);
        const auto found = rows.constFind(key);
        if (found == rows.constEnd())
            throw BadValue(QStringLiteral("%1 %2 names no %3 of the file")
                               .arg(QLatin1String(column))
                               .arg(key)
                               .arg(QLatin1String(what)));
        return *found;
    }

    // The owner of a row that is refused goes out with it: none is taken in part.
    static const Owned* ownerOrRefused(const QHash<qint64, Owned>& rows,
                                       const QSet<qint64>& refused, const QString& text,
                                       const char* column, const char* what) {
        const qint64 key = keyValue(text, column);
        if (refused.contains(key))
            return nullptr;
        return &owner(rows, text, column, what);
    }

    void addKey(QHash<qint64, Owned>& rows, qint64 key, const char* column, Owned owned) {
        if (rows.contains(key))
            throw BadValue(QStringLiteral("%1 %2 comes twice").arg(QLatin1String(column)).arg(key));
        rows.insert(key, owned);
    }

    void takeRow(int line, const Row& row) {
        switch (m_layout->table) {
        case Table::Vehicles:
            return takeVehicle(line, row);
        case Table::Fuel:
            return takeFuel(line, row);
        case Table::WorkOrders:
            return takeOrder(line, row);
        case Table::Services:
        case Table::Parts:
        case Table::Memos:
        case Table::OrderExtras:
            return takeOrderPart(line, row);
        case Table::Missed:
        case Table::FuelExtras:
            return takeFuelPart(row);
        case Table::VehicleExtras:
            return takeVehicleExtra(row);
        case Table::Unknown:
            return;
        }
    }

    void takeVehicle(int line, const Row& row) {
        const qint64 key = keyValue(row.text(0), "VehicleID");
        ImportedVehicle vehicle;
        vehicle.line = line;
        vehicle.name = row.text(1);
        vehicle.make = row.text(2);
        vehicle.model = row.text(3);
        vehicle.year = integerValue(row.text(4), "VehicleYear");
        vehicle.serialNum = row.text(5);
        addKey(m_vehicles, key, "VehicleID", {int(m_file.vehicles.size()), line});
        for (const ImportedVehicle& other : m_file.vehicles)
            if (other.name.compare(vehicle.name, Qt::CaseInsensitive) == 0)
                m_file.warnings.push_back(
                    {line, QStringLiteral("VehicleInfo: the Look Up '%1' is also that of the "
                                          "vehicle on line %2: their rows go to one vehicle")
                               .arg(vehicle.name)
                               .arg(other.line)});
        m_file.vehicles.push_back(vehicle);
    }

    // The whole texts of a vehicle's fields, where its own fields hold them cut.
    void takeVehicleExtra(const Row& row) {
        ImportedVehicle& into = m_file.vehicles[std::size_t(
            owner(m_vehicles, row.text(0), "VehicleID", "vehicle").index)];
        if (!row.text(1).isNull())
            into.make = row.text(1);
        if (!row.text(2).isNull())
            into.model = row.text(2);
        if (!row.text(3).isNull())
            into.serialNum = row.text(3);
    }

    const QString& vehicleName(const Row& row) const {
        return m_file
            .vehicles[std::size_t(owner(m_vehicles, row.text(1), "VehicleID", "vehicle").index)]
            .name;
    }

    void takeFuel(int line, const Row& row) {
        const qint64 key = keyValue(row.text(0), "FuelId");
        // Refused here, the row's marks and kept values are left out with it.
        m_refusedFuel.insert(key);
        ImportedFuel fuel;
        fuel.line = line;
        fuel.vehicle = vehicleName(row);
        fuel.date = dateValue(row.text(2), "FuelDate");
        fuel.gallons = singleValue(row.text(3), "FuelGals");
        fuel.odometer = singleValue(row.text(4), "FuelMiles");
        fuel.full = booleanValue(row.text(5), "FuelFull");
        fuel.cost = currencyValue(row.text(6), "FuelCost");
        fuel.city = row.text(7);
        fuel.state = row.text(8);
        m_refusedFuel.remove(key);
        addKey(m_fuel, key, "FuelId", {int(m_file.fuel.size()), line});
        m_file.fuel.push_back(fuel);
        m_fuelKept.push_back(true);
    }

    void takeOrder(int line, const Row& row) {
        const qint64 key = keyValue(row.text(0), "WorkOrderID");
        m_refusedOrders.insert(key);
        ImportedWorkOrder order;
        order.line = line;
        order.vehicle = vehicleName(row);
        order.mileage = longValue(row.text(2), "Mileage");
        order.date = dateValue(row.text(3), "Date");
        m_refusedOrders.remove(key);
        addKey(m_orders, key, "WorkOrderID", {int(m_file.workOrders.size()), line});
        m_file.workOrders.push_back(order);
        m_ordersKept.push_back(true);
    }

    // A row of a work order's own tables; one that cannot be read leaves the order out.
    void takeOrderPart(int line, const Row& row) {
        const std::size_t keyColumn =
            m_layout->table == Table::Services || m_layout->table == Table::Parts ? 1 : 0;
        const char* column = m_layout->columns[keyColumn];
        const Owned* order =
            ownerOrRefused(m_orders, m_refusedOrders, row.text(keyColumn), column, "work order");
        if (!order)
            return;
        try {
            ImportedWorkOrder& into = m_file.workOrders[std::size_t(order->index)];
            switch (m_layout->table) {
            case Table::Services:
                keyValue(row.text(0), "WorkDoneID");
                into.services << row.text(2);
                break;
            case Table::Parts: {
                keyValue(row.text(0), "PartID");
                ImportedPart part;
                part.number = row.text(2);
                part.description = row.text(3);
                part.cost = currencyValue(row.text(4), "PartCost");
                part.qty = integerValue(row.text(5), "PartQty");
                into.parts.push_back(part);
                break;
            }
            case Table::Memos:
                if (into.note)
                    throw BadValue(QStringLiteral("the work order has a note already"));
                into.note = row.text(1);
                break;
            default:
                into.tags = row.text(1);
                break;
            }
        } catch (const BadValue& problem) {
            leaveOut(m_ordersKept, m_refusedOrders, *order, keyValue(row.text(keyColumn), column),
                     line, "work order");
            throw;
        }
    }

    // A fuel row's missed mark or kept values; one that cannot be read leaves it out.
    void takeFuelPart(const Row& row) {
        const Owned* fuel =
            ownerOrRefused(m_fuel, m_refusedFuel, row.text(0), "FuelId", "fuel row");
        if (!fuel)
            return;
        ImportedFuel& into = m_file.fuel[std::size_t(fuel->index)];
        if (m_layout->table == Table::Missed) {
            into.missed = true;
            return;
        }
        into.note = row.text(1);
        into.tags = row.text(2);
        into.station = row.text(3);
        // The whole values: the Fuel table holds them cut to its sizes.
        if (!row.text(4).isNull())
            into.city = row.text(4);
        if (!row.text(5).isNull())
            into.state = row.text(5);
    }

    void leaveOut(std::vector<bool>& kept, QSet<qint64>& refused, const Owned& owner, qint64 key,
                  int line, const char* what) {
        kept[std::size_t(owner.index)] = false;
        refused.insert(key);
        refuse(owner.line, QStringLiteral("the %1 is left out: its row on line %2 cannot be read")
                               .arg(QLatin1String(what))
                               .arg(line));
    }

    ImportedFile finished() {
        const auto keepOnly = [](auto& rows, const std::vector<bool>& kept) {
            std::size_t to = 0;
            for (std::size_t from = 0; from < rows.size(); ++from) {
                if (!kept[from])
                    continue;
                if (to != from) // a vector moved onto itself would be left empty
                    rows[to] = std::move(rows[from]);
                ++to;
            }
            rows.resize(to);
        };
        keepOnly(m_file.fuel, m_fuelKept);
        keepOnly(m_file.workOrders, m_ordersKept);
        const auto byLine = [](const RowProblem& a, const RowProblem& b) {
            return a.line < b.line;
        };
        std::stable_sort(m_file.refusals.begin(), m_file.refusals.end(), byLine);
        std::stable_sort(m_file.warnings.begin(), m_file.warnings.end(), byLine);
        return std::move(m_file);
    }

    QString m_fileName;
    ImportedFile m_file;
    QString m_error;
    bool m_versionSeen = false;
    const SectionLayout* m_layout = nullptr;
    bool m_unknownSection = false;
    bool m_headerSeen = false;
    int m_headerSize = 0;
    std::vector<int> m_places;
    QSet<QString> m_seen;
    QHash<qint64, Owned> m_vehicles, m_fuel, m_orders;
    QSet<qint64> m_refusedFuel, m_refusedOrders;
    std::vector<bool> m_fuelKept, m_ordersKept;
};

} // namespace

ImportedFile readOwnFormat(const QString& path) {
    return OwnFormatReader(path).read(path);
}

} // namespace exchange
