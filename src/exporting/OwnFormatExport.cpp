#include "exporting/OwnFormatExport.h"

#include "exporting/CsvText.h"
#include "exporting/ExportFile.h"
#include "exporting/ExportRun.h"
#include "exporting/StoredText.h"
#include "platform/AppError.h"
#include "store/Schema.h"
#include "store/StoreErrors.h"

#include <algorithm>
#include <sqlite3.h>
#include <vector>

namespace exporting {

namespace {

// The keys of one table's written rows, in key order: a key's ordinal is its place.
class Ordinals {
public:
    qint64 add(qint64 key) {
        m_keys.push_back(key);
        return qint64(m_keys.size());
    }
    // 0 for a key whose row was not written.
    qint64 of(qint64 key) const {
        const auto found = std::lower_bound(m_keys.begin(), m_keys.end(), key);
        return found != m_keys.end() && *found == key ? qint64(found - m_keys.begin()) + 1 : 0;
    }

private:
    std::vector<qint64> m_keys;
};

enum class ColumnKind {
    OwnKey,    // the table's key, renumbered
    Reference, // another table's key, by its ordinal; a row without one is not written
    Field,     // a field of the six tables, through the store's conversion
    ExtraText, // a text column of the program's extra tables
};

struct Column {
    const char* name;
    ColumnKind kind;
    const Ordinals* ordinals = nullptr; // Reference
};

struct Section {
    QString table;
    QString from; // "Fuel WHERE VehicleID = ?"
    std::vector<Column> columns;
    Ordinals* own = nullptr; // filled by an OwnKey column
};

store::FieldDef fieldOf(const QString& table, const char* name) {
    for (const auto& field : store::schema::table(table).fields)
        if (qstrcmp(field.name, name) == 0)
            return store::FieldDef(QLatin1String(name), field.type, field.size);
    store::raise(
        store::errItemNotFound,
        QStringLiteral("There is no field '%1' in table '%2'.").arg(QLatin1String(name), table));
}

QString selectOf(const Section& section) {
    QStringList names;
    for (const Column& column : section.columns)
        names << QLatin1String(column.name);
    return QStringLiteral("SELECT %1 FROM %2 ORDER BY %3")
        .arg(names.join(QStringLiteral(", ")), section.from,
             QLatin1String(section.columns[0].name));
}

class OwnFormatWriter {
public:
    OwnFormatWriter(ExportRun& run, ExportFile& file) : m_run(run), m_file(file) {}

    // False when cancelled.
    bool write(ExportResult& result) {
        const bool one = m_run.vehicleId().has_value();
        const QString byVehicle = one ? QStringLiteral(" WHERE VehicleID = ?") : QString();
        std::vector<Section> sections{
            {QStringLiteral("VehicleInfo"),
             QStringLiteral("VehicleInfo") + byVehicle,
             {{"VehicleID", ColumnKind::OwnKey},
              {"VehicleLookup", ColumnKind::Field},
              {"VehicleMake", ColumnKind::Field},
              {"VehicleModel", ColumnKind::Field},
              {"VehicleYear", ColumnKind::Field},
              {"VehicleSerialNum", ColumnKind::Field}},
             &m_vehicles},
            {QStringLiteral("Fuel"),
             QStringLiteral("Fuel") + byVehicle,
             {{"FuelId", ColumnKind::OwnKey},
              {"VehicleID", ColumnKind::Reference, &m_vehicles},
              {"FuelDate", ColumnKind::Field},
              {"FuelGals", ColumnKind::Field},
              {"FuelMiles", ColumnKind::Field},
              {"FuelFull", ColumnKind::Field},
              {"FuelCost", ColumnKind::Field},
              {"FuelCity", ColumnKind::Field},
              {"FuelState", ColumnKind::Field}},
             &m_fuel},
            {QStringLiteral("WorkOrder"),
             QStringLiteral("WorkOrder") + byVehicle,
             {{"WorkOrderID", ColumnKind::OwnKey},
              {"VehicleID", ColumnKind::Reference, &m_vehicles},
              {"Mileage", ColumnKind::Field},
              {"Date", ColumnKind::Field}},
             &m_orders},
            {QStringLiteral("WorkDone"),
             QStringLiteral("WorkDone"),
             {{"WorkDoneID", ColumnKind::OwnKey},
              {"WorkOrderID", ColumnKind::Reference, &m_orders},
              {"WorkDescription", ColumnKind::Field}},
             &m_services},
            {QStringLiteral("PartsUsed"),
             QStringLiteral("PartsUsed"),
             {{"PartID", ColumnKind::OwnKey},
              {"WorkOrderId", ColumnKind::Reference, &m_orders},
              {"PartNum", ColumnKind::Field},
              {"PartDescription", ColumnKind::Field},
              {"PartCost", ColumnKind::Field},
              {"PartQty", ColumnKind::Field}},
             &m_parts},
            {QStringLiteral("WorkOrderMemo"),
             QStringLiteral("WorkOrderMemo"),
             {{"WorkOrderID", ColumnKind::Reference, &m_orders},
              {"WorkOrderMemo", ColumnKind::Field}}},
        };
        // The extra tables, when the file has rows of them for what goes out: a table
        // the program made but left empty is as good as none, and reads back as none.
        const std::vector<Section> extras{
            {QStringLiteral("drivolex_fuel_missed"),
             QStringLiteral("drivolex_fuel_missed"),
             {{"FuelId", ColumnKind::Reference, &m_fuel}}},
            {QStringLiteral("drivolex_fuel_extra"),
             QStringLiteral("drivolex_fuel_extra"),
             {{"FuelId", ColumnKind::Reference, &m_fuel},
              {"Note", ColumnKind::ExtraText},
              {"Tags", ColumnKind::ExtraText},
              {"Station", ColumnKind::ExtraText},
              {"City", ColumnKind::ExtraText},
              {"State", ColumnKind::ExtraText}}},
            {QStringLiteral("drivolex_workorder_extra"),
             QStringLiteral("drivolex_workorder_extra"),
             {{"WorkOrderID", ColumnKind::Reference, &m_orders}, {"Tags", ColumnKind::ExtraText}}},
            {QStringLiteral("drivolex_vehicle_extra"),
             QStringLiteral("drivolex_vehicle_extra"),
             {{"VehicleID", ColumnKind::Reference, &m_vehicles},
              {"Make", ColumnKind::ExtraText},
              {"Model", ColumnKind::ExtraText},
              {"SerialNum", ColumnKind::ExtraText}}},
        };
        for (const Section& extra : extras)
            if (m_run.tableExists(extra.table) && hasOwnedRows(extra))
                sections.push_back(extra);

        for (const Section& section : sections)
            m_run.addToTotal(m_run.scalar(QStringLiteral("SELECT count(*) FROM ") + section.from,
                                          section.table));
        m_file.text().append("Drivolex export,1\r\n");
        for (const Section& section : sections)
            if (!writeSection(section))
                return false;
        result.fuelRows = m_fuelRows;
        result.workOrders = m_orderRows;
        return true;
    }

private:
    // Whether a row of the extra table belongs to a row that goes out.
    bool hasOwnedRows(const Section& extra) const {
        const Ordinals* owner = extra.columns[0].ordinals;
        const QString key = QLatin1String(extra.columns[0].name);
        QString sql;
        if (owner == &m_vehicles) {
            sql = QStringLiteral("SELECT EXISTS (SELECT 1 FROM %1 AS x JOIN VehicleInfo AS v ON "
                                 "v.VehicleID = x.VehicleID")
                      .arg(extra.table);
        } else {
            sql = QStringLiteral("SELECT EXISTS (SELECT 1 FROM %1 AS x JOIN %2 AS o ON o.%3 = "
                                 "x.%3 JOIN VehicleInfo AS v ON v.VehicleID = o.VehicleID")
                      .arg(extra.table,
                           owner == &m_fuel ? QStringLiteral("Fuel") : QStringLiteral("WorkOrder"),
                           key);
        }
        if (m_run.vehicleId())
            sql += QStringLiteral(" WHERE v.VehicleID = ?");
        return m_run.scalar(sql + QLatin1Char(')'), extra.table) != 0;
    }

    bool writeSection(const Section& section) {
        QByteArray& out = m_file.text();
        out.append("## ");
        out.append(section.table.toLatin1());
        csv::endRecord(out);
        for (std::size_t i = 0; i < section.columns.size(); ++i) {
            if (i > 0)
                csv::separate(out);
            out.append(section.columns[i].name);
        }
        csv::endRecord(out);

        std::vector<store::FieldDef> fields;
        for (const Column& column : section.columns)
            fields.push_back(column.kind == ColumnKind::Field ? fieldOf(section.table, column.name)
                                                              : store::FieldDef());
        store::Statement stmt = m_run.prepare(selectOf(section), section.table);
        sqlite3_stmt* row = stmt.get();
        const int count = int(section.columns.size());
        std::vector<qint64> references(section.columns.size(), 0);
        while (m_run.next(stmt, section.table)) {
            if (!m_run.rowDone())
                return false;
            if (!ownedRow(section, row, references))
                continue;
            for (int i = 0; i < count; ++i) {
                if (i > 0)
                    csv::separate(out);
                const Column& column = section.columns[std::size_t(i)];
                switch (column.kind) {
                case ColumnKind::OwnKey:
                    appendInteger(out, section.own->add(sqlite3_column_int64(row, i)));
                    break;
                case ColumnKind::Reference:
                    appendInteger(out, references[std::size_t(i)]);
                    break;
                case ColumnKind::Field:
                    appendField(out, section, row, i, fields[std::size_t(i)]);
                    break;
                case ColumnKind::ExtraText:
                    appendStoredText(out, row, i);
                    break;
                }
            }
            csv::endRecord(out);
            if (section.own == &m_fuel)
                ++m_fuelRows;
            else if (section.own == &m_orders)
                ++m_orderRows;
            m_file.flushIfFull();
        }
        return true;
    }

    // Looks up the row's references; false for a row whose owner does not go out
    // (another vehicle's, or one a tool other than ours left without its owner).
    static bool ownedRow(const Section& section, sqlite3_stmt* row,
                         std::vector<qint64>& references) {
        for (std::size_t i = 0; i < section.columns.size(); ++i) {
            const Column& column = section.columns[i];
            if (column.kind != ColumnKind::Reference)
                continue;
            if (sqlite3_column_type(row, int(i)) != SQLITE_INTEGER)
                return false;
            references[i] = column.ordinals->of(sqlite3_column_int64(row, int(i)));
            if (references[i] == 0)
                return false;
        }
        return true;
    }

    void appendField(QByteArray& out, const Section& section, sqlite3_stmt* row, int column,
                     const store::FieldDef& field) {
        try {
            appendStoredField(out, row, column, field);
        } catch (const platform::AppError& error) {
            throw platform::AppError(
                error.number(), QStringLiteral("The export file '%1' could not be written: the "
                                               "row %2 = %3 of table %4 of '%5': %6")
                                    .arg(m_file.target(), QLatin1String(section.columns[0].name))
                                    .arg(sqlite3_column_int64(row, 0))
                                    .arg(section.table, m_run.databaseFile(), error.text()));
        }
    }

    ExportRun& m_run;
    ExportFile& m_file;
    Ordinals m_vehicles, m_fuel, m_orders, m_services, m_parts;
    qint64 m_fuelRows = 0;
    qint64 m_orderRows = 0;
};

} // namespace

bool writeOwnFormat(ExportRun& run, const QString& outPath, ExportResult& result) {
    ExportFile file(outPath);
    {
        ReadSnapshot snapshot(run);
        if (!OwnFormatWriter(run, file).write(result))
            return false;
    }
    file.finish();
    if (!run.finished())
        return false;
    file.commit();
    result.files << outPath;
    return true;
}

} // namespace exporting
