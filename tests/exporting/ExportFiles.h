#pragma once

#include "exporting/Export.h"
#include "store/Connection.h"
#include "store/StoreTestFiles.h"
#include "store/modCreateDB.h"
#include "support/MsgBoxRecorder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace export_test {

// The program's extra tables as the program makes them.
inline const char* kExtraTables = R"(
    CREATE TABLE drivolex_fuel_missed (FuelId INTEGER PRIMARY KEY REFERENCES Fuel (FuelId)
        ON DELETE CASCADE);
    CREATE TABLE drivolex_fuel_extra (FuelId INTEGER PRIMARY KEY REFERENCES Fuel (FuelId)
        ON DELETE CASCADE, Note TEXT, Tags TEXT, Station TEXT, City TEXT, State TEXT);
    CREATE TABLE drivolex_workorder_extra (WorkOrderID INTEGER PRIMARY KEY REFERENCES
        WorkOrder (WorkOrderID) ON DELETE CASCADE, Tags TEXT);
    CREATE TABLE drivolex_vehicle_extra (VehicleID INTEGER PRIMARY KEY REFERENCES
        VehicleInfo (VehicleID) ON DELETE CASCADE, Make TEXT, Model TEXT, SerialNum TEXT);
)";

// A small file made by hand: keys with gaps, a vehicle without rows, texts that need
// quotes, NULL beside '', floats stored as doubles, and the extra tables.
inline const char* kSmallFile = R"(
    INSERT INTO VehicleInfo VALUES ('Van', 5, 'Ford', 'Transit, LWB', 2019, '');
    INSERT INTO VehicleInfo VALUES ('Empty', 9, NULL, 'Say "hi"', NULL, ' padded ');
    INSERT INTO VehicleInfo VALUES ('#2', 12, 'Mazda', NULL, 2004, NULL);
    INSERT INTO Fuel VALUES ('2024-03-15 00:00:00', 12.300000190734863, 45210, -1, 431000,
                             'Springfield', 'IL', 10, 5);
    INSERT INTO Fuel VALUES ('2024-03-29 08:30:00', 0.1, 45500.5, 0, NULL, '', NULL, 14, 5);
    INSERT INTO Fuel VALUES ('2024-04-10 00:00:00', 10, 45800, -1, 400000, NULL, NULL, 16, 5);
    INSERT INTO Fuel VALUES (NULL, NULL, 100000000, NULL, 50000, NULL, NULL, 20, 12);
    INSERT INTO WorkOrder VALUES (5, 3, 45000, '2024-02-01 00:00:00');
    INSERT INTO WorkOrder VALUES (5, 8, NULL, '2024-04-01 00:00:00');
    INSERT INTO WorkDone VALUES (3, 4, 'Oil Change');
    INSERT INTO WorkDone VALUES (3, 2, 'Rotate Tires');
    INSERT INTO WorkDone VALUES (8, 9, 'Brakes, front');
    INSERT INTO PartsUsed VALUES (6, 'F-1', 'Oil Filter', 123450, 3, 2);
    INSERT INTO PartsUsed VALUES (7, 'P-9', NULL, 50, 3, NULL);
    INSERT INTO WorkOrderMemo VALUES ('Noise at front' || char(13, 10) || 'Pads worn', 3);
    INSERT INTO drivolex_fuel_missed VALUES (20);
    INSERT INTO drivolex_fuel_extra VALUES (10, 'Line one' || char(10) || 'Line "two"',
        'trip,work', NULL, 'Springfield Township Long Name', 'IL');
    INSERT INTO drivolex_fuel_extra VALUES (14, '', NULL, ' Shell ', NULL, NULL);
    INSERT INTO drivolex_workorder_extra VALUES (3, 'oil');
    INSERT INTO drivolex_vehicle_extra VALUES (5, NULL, 'Transit, Long Wheelbase', NULL);
)";

// A new program file in a folder of its own, and the place exports go.
class ExportFile : public ::testing::Test {
protected:
    void makeFile(const QString& sql = {}) {
        path = dir.filePath(QStringLiteral("records.mdb"));
        testing_support::MsgBoxRecorder quiet;
        ASSERT_TRUE(modCreateDB::CreateNewDatabase(path));
        modCreateDB::CurrentDatabase.reset();
        if (!sql.isEmpty()) {
            ASSERT_EQ(testing_support::sqlExecute(path, sql), QString());
        }
        connection = store::openReadOnlyConnection(path);
    }
    void makeSmallFile() { makeFile(QLatin1String(kExtraTables) + QLatin1String(kSmallFile)); }
    QString outPath(const QString& name) const {
        QDir().mkpath(dir.filePath(QStringLiteral("out")));
        return dir.filePath(QStringLiteral("out/") + name);
    }
    exporting::ExportResult exportTo(const QString& format, const QString& out,
                                     std::optional<qint64> vehicle = std::nullopt,
                                     const exporting::ExportProgress& progress = {}) {
        return exporting::exportDatabase(connection.get(), format, vehicle, out, progress);
    }
    static QString textOf(const QString& file) {
        return QString::fromUtf8(testing_support::fileBytes(file));
    }
    // The files of the export folder, hidden ones too (a temporary file left behind).
    QStringList outFiles() const {
        return QDir(dir.filePath(QStringLiteral("out")))
            .entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    }

    QTemporaryDir dir;
    QString path;
    store::ConnectionHandle connection;
};

// Lines joined with CRLF, as the exports end their records.
inline QString crlf(const QStringList& lines) {
    return lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}

} // namespace export_test
