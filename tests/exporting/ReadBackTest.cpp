// Our own format read back by its reader: every field of every row of a real file
// (the demonstration file with the extra tables, and the small hand-made one) comes
// back as the tables hold it, compared with selects of the file itself.
#include "DemoDatabase.h"
#include "ExportFiles.h"
#include "exchange/OwnFormatReader.h"
#include "values/DateText.h"

#include <sqlite3.h>

using namespace export_test;

namespace {

using Rows = std::vector<std::vector<QVariant>>;

// Every row of a select, its columns as SQLite holds them (null, integer, real, text).
Rows selectRows(const QString& path, const char* sql) {
    sqlite3* db = nullptr;
    EXPECT_EQ(
        sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr),
        SQLITE_OK);
    sqlite3_stmt* stmt = nullptr;
    EXPECT_EQ(sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
    Rows rows;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        std::vector<QVariant> row;
        for (int i = 0; i < sqlite3_column_count(stmt); ++i) {
            switch (sqlite3_column_type(stmt, i)) {
            case SQLITE_NULL:
                row.emplace_back();
                break;
            case SQLITE_INTEGER:
                row.emplace_back(qint64(sqlite3_column_int64(stmt, i)));
                break;
            case SQLITE_FLOAT:
                row.emplace_back(sqlite3_column_double(stmt, i));
                break;
            default:
                row.emplace_back(
                    QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, i))));
            }
        }
        rows.push_back(row);
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return rows;
}

// Text as the model holds it: NULL null, '' empty.
void expectText(const QVariant& stored, const QString& read, const char* what) {
    EXPECT_EQ(read.isNull(), stored.isNull()) << what << " '" << read.toStdString() << "'";
    if (!stored.isNull()) {
        EXPECT_EQ(read, stored.toString()) << what;
    }
}

// Single fields as the store reads them: the float nearest to what the file holds.
void expectSingle(const QVariant& stored, const std::optional<double>& read, const char* what) {
    ASSERT_EQ(read.has_value(), !stored.isNull()) << what;
    if (read) {
        EXPECT_EQ(*read, double(float(stored.toDouble()))) << what;
    }
}

template <typename T>
void expectNumber(const QVariant& stored, const std::optional<T>& read, const char* what) {
    ASSERT_EQ(read.has_value(), !stored.isNull()) << what;
    if (read) {
        EXPECT_EQ(double(*read), stored.toDouble()) << what;
    }
}

void expectDate(const QVariant& stored, const std::optional<QDateTime>& read) {
    ASSERT_EQ(read.has_value(), !stored.isNull());
    if (read) {
        EXPECT_EQ(values::isoDateTimeText(*read), stored.toString());
    }
}

class ReadBackTest : public ExportFile {
protected:
    void expectEveryRow() {
        const QString out = outPath(QStringLiteral("export.csv"));
        exportTo(QStringLiteral("drivolex"), out);
        const exchange::ImportedFile file = exchange::readOwnFormat(out);
        ASSERT_TRUE(file.ok()) << file.error.toStdString();
        EXPECT_TRUE(file.refusals.empty());
        EXPECT_TRUE(file.warnings.empty());

        const Rows vehicles = selectRows(path, R"(
            SELECT VehicleLookup, coalesce(x.Make, VehicleMake), coalesce(x.Model, VehicleModel),
                   VehicleYear, coalesce(x.SerialNum, VehicleSerialNum)
            FROM VehicleInfo AS v LEFT JOIN drivolex_vehicle_extra AS x
                 ON x.VehicleID = v.VehicleID ORDER BY v.VehicleID)");
        ASSERT_EQ(file.vehicles.size(), vehicles.size());
        for (std::size_t i = 0; i < vehicles.size(); ++i) {
            const exchange::ImportedVehicle& read = file.vehicles[i];
            expectText(vehicles[i][0], read.name, "VehicleLookup");
            expectText(vehicles[i][1], read.make, "VehicleMake");
            expectText(vehicles[i][2], read.model, "VehicleModel");
            expectNumber(vehicles[i][3], read.year, "VehicleYear");
            expectText(vehicles[i][4], read.serialNum, "VehicleSerialNum");
        }

        const Rows fuel = selectRows(path, R"(
            SELECT v.VehicleLookup, f.FuelDate, f.FuelGals, f.FuelMiles, f.FuelFull, f.FuelCost,
                   coalesce(x.City, f.FuelCity), coalesce(x.State, f.FuelState),
                   m.FuelId IS NOT NULL, x.Note, x.Tags, x.Station
            FROM Fuel AS f JOIN VehicleInfo AS v ON v.VehicleID = f.VehicleID
            LEFT JOIN drivolex_fuel_missed AS m ON m.FuelId = f.FuelId
            LEFT JOIN drivolex_fuel_extra AS x ON x.FuelId = f.FuelId ORDER BY f.FuelId)");
        ASSERT_EQ(file.fuel.size(), fuel.size());
        for (std::size_t i = 0; i < fuel.size(); ++i) {
            const exchange::ImportedFuel& read = file.fuel[i];
            const std::vector<QVariant>& row = fuel[i];
            SCOPED_TRACE(read.line);
            expectText(row[0], read.vehicle, "vehicle");
            expectDate(row[1], read.date);
            expectSingle(row[2], read.gallons, "FuelGals");
            expectSingle(row[3], read.odometer, "FuelMiles");
            EXPECT_EQ(read.full, row[4].toLongLong() != 0);
            ASSERT_EQ(read.cost.has_value(), !row[5].isNull());
            if (read.cost) {
                EXPECT_EQ(read.cost->scaled, row[5].toLongLong());
            }
            expectText(row[6], read.city, "city");
            expectText(row[7], read.state, "state");
            EXPECT_EQ(read.missed, row[8].toLongLong() != 0);
            expectText(row[9], read.note, "note");
            expectText(row[10], read.tags, "tags");
            expectText(row[11], read.station, "station");
        }

        const Rows orders = selectRows(path, R"(
            SELECT v.VehicleLookup, o.Date, o.Mileage, o.WorkOrderID,
                   (SELECT count(*) FROM WorkOrderMemo AS n WHERE n.WorkOrderID = o.WorkOrderID),
                   (SELECT WorkOrderMemo FROM WorkOrderMemo AS n WHERE n.WorkOrderID = o.WorkOrderID),
                   x.Tags
            FROM WorkOrder AS o JOIN VehicleInfo AS v ON v.VehicleID = o.VehicleID
            LEFT JOIN drivolex_workorder_extra AS x ON x.WorkOrderID = o.WorkOrderID
            ORDER BY o.WorkOrderID)");
        const Rows services = selectRows(
            path, "SELECT WorkOrderID, WorkDescription FROM WorkDone ORDER BY WorkDoneID");
        const Rows parts = selectRows(path, "SELECT WorkOrderId, PartNum, PartDescription, "
                                            "PartCost, PartQty FROM PartsUsed ORDER BY PartID");
        ASSERT_EQ(file.workOrders.size(), orders.size());
        std::size_t serviceCount = 0;
        std::size_t partCount = 0;
        for (std::size_t i = 0; i < orders.size(); ++i) {
            const exchange::ImportedWorkOrder& read = file.workOrders[i];
            const std::vector<QVariant>& row = orders[i];
            SCOPED_TRACE(read.line);
            expectText(row[0], read.vehicle, "vehicle");
            expectDate(row[1], read.date);
            expectNumber(row[2], read.mileage, "Mileage");
            ASSERT_EQ(read.note.has_value(), row[4].toLongLong() == 1);
            if (read.note) {
                expectText(row[5], *read.note, "memo");
            }
            expectText(row[6], read.tags, "tags");
            QStringList expectedServices;
            for (const auto& service : services)
                if (service[0] == row[3])
                    expectedServices << service[1].toString();
            EXPECT_EQ(read.services, expectedServices);
            serviceCount += std::size_t(read.services.size());
            std::vector<const std::vector<QVariant>*> expectedParts;
            for (const auto& part : parts)
                if (part[0] == row[3])
                    expectedParts.push_back(&part);
            ASSERT_EQ(read.parts.size(), expectedParts.size());
            for (std::size_t p = 0; p < expectedParts.size(); ++p) {
                const std::vector<QVariant>& part = *expectedParts[p];
                expectText(part[1], read.parts[p].number, "PartNum");
                expectText(part[2], read.parts[p].description, "PartDescription");
                ASSERT_EQ(read.parts[p].cost.has_value(), !part[3].isNull());
                if (read.parts[p].cost) {
                    EXPECT_EQ(read.parts[p].cost->scaled, part[3].toLongLong());
                }
                expectNumber(part[4], read.parts[p].qty, "PartQty");
            }
            partCount += expectedParts.size();
        }
        EXPECT_EQ(serviceCount, services.size());
        EXPECT_EQ(partCount, parts.size());
    }
};

TEST_F(ReadBackTest, TheSmallFileComesBackFieldByField) {
    makeSmallFile();
    expectEveryRow();
}

TEST_F(ReadBackTest, TheDemonstrationFileWithItsExtrasComesBackFieldByField) {
    path = dir.filePath(QStringLiteral("demo.mdb"));
    demo::writeDemoDatabase(path);
    ASSERT_EQ(testing_support::sqlExecute(path, QLatin1String(kExtraTables) + QStringLiteral(R"(
        INSERT INTO drivolex_fuel_missed SELECT FuelId FROM Fuel WHERE FuelId % 5 = 0;
        INSERT INTO drivolex_fuel_extra SELECT FuelId, 'Note, ' || FuelId || char(10) || 'more',
            CASE WHEN FuelId % 2 THEN '' END, 'Station "' || FuelId || '"',
            CASE WHEN FuelId % 3 = 0 THEN 'Saint-Jean-sur-Richelieu Ouest' END, NULL
            FROM Fuel WHERE FuelId % 4 <> 1;
        INSERT INTO drivolex_workorder_extra SELECT WorkOrderID, 'service;tag' FROM WorkOrder;
    )")),
              QString());
    connection = store::openReadOnlyConnection(path);
    ASSERT_GT(
        testing_support::sqlScalar(path, QStringLiteral("SELECT count(*) FROM PartsUsed")).toInt(),
        0);
    expectEveryRow();
}

} // namespace
