// Our own format written from real files: its exact text, ordinals in place of keys,
// the same bytes for the same records, one vehicle alone, and what a cancel or a
// folder that cannot be written leaves.
#include "ExportFiles.h"
#include "platform/AppError.h"
#include "store/StoreErrors.h"
#include "support/UnwritableFile.h"

#include <QFileInfo>
#include <sys/stat.h>
#include <unistd.h>

using namespace export_test;

namespace {

class OwnFormatExportTest : public ExportFile {};

TEST_F(OwnFormatExportTest, WritesEveryTableWithKeysAsOrdinals) {
    makeSmallFile();
    const QString out = outPath(QStringLiteral("all.csv"));
    const exporting::ExportResult result = exportTo(QStringLiteral("drivolex"), out);
    EXPECT_FALSE(result.cancelled);
    EXPECT_EQ(result.files, QStringList{out});
    EXPECT_EQ(result.fuelRows, 4);
    EXPECT_EQ(result.workOrders, 2);
    EXPECT_EQ(textOf(out).toStdString(),
              crlf({
                       "Drivolex export,1",
                       "## VehicleInfo",
                       "VehicleID,VehicleLookup,VehicleMake,VehicleModel,VehicleYear,"
                       "VehicleSerialNum",
                       "1,Van,Ford,\"Transit, LWB\",2019,\"\"",
                       "2,Empty,,\"Say \"\"hi\"\"\",,\" padded \"",
                       "3,\"#2\",Mazda,,2004,",
                       "## Fuel",
                       "FuelId,VehicleID,FuelDate,FuelGals,FuelMiles,FuelFull,FuelCost,FuelCity,"
                       "FuelState",
                       "1,1,2024-03-15 00:00:00,12.3,45210,-1,43.1,Springfield,IL",
                       "2,1,2024-03-29 08:30:00,0.1,45500.5,0,,\"\",",
                       "3,1,2024-04-10 00:00:00,10,45800,-1,40,,",
                       "4,3,,,100000000,0,5,,",
                       "## WorkOrder",
                       "WorkOrderID,VehicleID,Mileage,Date",
                       "1,1,45000,2024-02-01 00:00:00",
                       "2,1,,2024-04-01 00:00:00",
                       "## WorkDone",
                       "WorkDoneID,WorkOrderID,WorkDescription",
                       "1,1,Rotate Tires",
                       "2,1,Oil Change",
                       "3,2,\"Brakes, front\"",
                       "## PartsUsed",
                       "PartID,WorkOrderId,PartNum,PartDescription,PartCost,PartQty",
                       "1,1,F-1,Oil Filter,12.345,2",
                       "2,1,P-9,,0.005,",
                       "## WorkOrderMemo",
                       "WorkOrderID,WorkOrderMemo",
                       "1,\"Noise at front\r\nPads worn\"",
                       "## drivolex_fuel_missed",
                       "FuelId",
                       "4",
                       "## drivolex_fuel_extra",
                       "FuelId,Note,Tags,Station,City,State",
                       "1,\"Line one\nLine \"\"two\"\"\",\"trip,work\",,Springfield Township Long "
                       "Name,IL",
                       "2,\"\",,\" Shell \",,",
                       "## drivolex_workorder_extra",
                       "WorkOrderID,Tags",
                       "1,oil",
                       "## drivolex_vehicle_extra",
                       "VehicleID,Make,Model,SerialNum",
                       "1,,\"Transit, Long Wheelbase\",",
                   })
                  .toStdString());
    EXPECT_EQ(outFiles(), QStringList{QStringLiteral("all.csv")});
}

TEST_F(OwnFormatExportTest, OneVehicleStartsItsOrdinalsAtOneAndLeavesOthersOut) {
    makeSmallFile();
    const QString out = outPath(QStringLiteral("one.csv"));
    const exporting::ExportResult result = exportTo(QStringLiteral("drivolex"), out, 12);
    EXPECT_EQ(result.fuelRows, 1);
    EXPECT_EQ(result.workOrders, 0);
    const QString text = textOf(out);
    EXPECT_TRUE(
        text.contains(QStringLiteral("## VehicleInfo\r\nVehicleID,VehicleLookup,"
                                     "VehicleMake,VehicleModel,VehicleYear,"
                                     "VehicleSerialNum\r\n1,\"#2\",Mazda,,2004,\r\n## Fuel")));
    EXPECT_TRUE(
        text.contains(QStringLiteral("FuelState\r\n1,1,,,100000000,0,5,,\r\n## WorkOrder")));
    // The other vehicle's extras and tags are not there; its missed mark is.
    EXPECT_TRUE(text.endsWith(QStringLiteral("## drivolex_fuel_missed\r\nFuelId\r\n1\r\n")))
        << text.toStdString();

    // A vehicle the file does not have is an error, and nothing is written.
    try {
        exportTo(QStringLiteral("drivolex"), outPath(QStringLiteral("none.csv")), 77);
        FAIL() << "no error";
    } catch (const platform::AppError& error) {
        EXPECT_TRUE(error.text().contains(QStringLiteral("no vehicle 77"))) << error.what();
    }
    EXPECT_EQ(outFiles(), QStringList{QStringLiteral("one.csv")});
}

TEST_F(OwnFormatExportTest, SameRecordsUnderOtherKeysGiveTheSameBytes) {
    makeSmallFile();
    const QString first = outPath(QStringLiteral("first.csv"));
    const QString second = outPath(QStringLiteral("second.csv"));
    exportTo(QStringLiteral("drivolex"), first);
    exportTo(QStringLiteral("drivolex"), second);
    EXPECT_EQ(testing_support::fileBytes(first), testing_support::fileBytes(second));

    // The same records with every key moved on (and the marks following them).
    connection.reset();
    ASSERT_EQ(testing_support::sqlExecute(path, QStringLiteral(R"(
        PRAGMA foreign_keys = OFF;
        UPDATE VehicleInfo SET VehicleID = VehicleID + 100;
        UPDATE Fuel SET VehicleID = VehicleID + 100, FuelId = FuelId + 1000;
        UPDATE drivolex_fuel_missed SET FuelId = FuelId + 1000;
        UPDATE drivolex_fuel_extra SET FuelId = FuelId + 1000;
        UPDATE WorkOrder SET VehicleID = VehicleID + 100, WorkOrderID = WorkOrderID * 7;
        UPDATE WorkDone SET WorkOrderID = WorkOrderID * 7;
        UPDATE PartsUsed SET WorkOrderId = WorkOrderId * 7;
        UPDATE WorkOrderMemo SET WorkOrderID = WorkOrderID * 7;
        UPDATE drivolex_workorder_extra SET WorkOrderID = WorkOrderID * 7;
        UPDATE drivolex_vehicle_extra SET VehicleID = VehicleID + 100;
        UPDATE WorkDone SET WorkDoneID = WorkDoneID + 50;
        UPDATE PartsUsed SET PartID = PartID + 50;
    )")),
              QString());
    ASSERT_EQ(testing_support::sqlScalar(path, QStringLiteral("SELECT min(FuelId) FROM Fuel")),
              QStringLiteral("1010"));
    ASSERT_TRUE(testing_support::fileIsConsistent(path));
    connection = store::openReadOnlyConnection(path);
    const QString moved = outPath(QStringLiteral("moved.csv"));
    exportTo(QStringLiteral("drivolex"), moved);
    EXPECT_EQ(textOf(moved).toStdString(), textOf(first).toStdString());
}

TEST_F(OwnFormatExportTest, AFileWithoutExtraTablesHasNoSectionsOfThem) {
    makeFile(
        QStringLiteral("INSERT INTO VehicleInfo (VehicleLookup, VehicleID) VALUES ('Car', 1);"));
    const QString out = outPath(QStringLiteral("plain.csv"));
    exportTo(QStringLiteral("drivolex"), out);
    EXPECT_TRUE(
        textOf(out).endsWith(QStringLiteral("## WorkOrderMemo\r\nWorkOrderID,WorkOrderMemo\r\n")));
    EXPECT_TRUE(textOf(out).contains(QStringLiteral("\r\n1,Car,,,,\r\n")));
}

TEST_F(OwnFormatExportTest, AValueTheStoreCannotReadIsAnErrorNamingTheRow) {
    makeFile(QStringLiteral(R"(
        INSERT INTO VehicleInfo (VehicleLookup, VehicleID) VALUES ('Car', 1);
        INSERT INTO Fuel (FuelId, VehicleID, FuelGals) VALUES (33, 1, 'lots');
    )"));
    const QString out = outPath(QStringLiteral("bad.csv"));
    try {
        exportTo(QStringLiteral("drivolex"), out);
        FAIL() << "no error";
    } catch (const platform::AppError& error) {
        EXPECT_EQ(error.number(), store::errTypeMismatch);
        EXPECT_TRUE(error.text().contains(out)) << error.what();
        EXPECT_TRUE(error.text().contains(QStringLiteral("FuelId = 33 of table Fuel")))
            << error.what();
    }
    EXPECT_EQ(outFiles(), QStringList());
}

// Cancelled at the first progress, or at the very end: no file, and the one there stays.
TEST_F(OwnFormatExportTest, CancelLeavesNoFileAndTheOldOneAsItWas) {
    makeSmallFile();
    const QString out = outPath(QStringLiteral("kept.csv"));
    testing_support::writeFileBytes(out, "an earlier export");
    for (const char* format : {"drivolex", "lubelogger", "fuelly"}) {
        int calls = 0;
        const exporting::ExportResult result =
            exportTo(QLatin1String(format), out, 5, [&](qint64 done, qint64 total) {
                ++calls;
                EXPECT_EQ(done, total); // a small file is told only its end
                return false;
            });
        EXPECT_TRUE(result.cancelled) << format;
        EXPECT_TRUE(result.files.isEmpty());
        EXPECT_EQ(calls, 1);
        EXPECT_EQ(testing_support::fileBytes(out), QByteArray("an earlier export")) << format;
        EXPECT_EQ(outFiles(), QStringList{QStringLiteral("kept.csv")}) << format;
    }
}

TEST_F(OwnFormatExportTest, ProgressComesEveryFewThousandRowsAndCancelStopsThere) {
    QString sql =
        QStringLiteral("INSERT INTO VehicleInfo (VehicleLookup, VehicleID) VALUES ('Car', 1);"
                       "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n "
                       "WHERE i < 10000) INSERT INTO Fuel (FuelId, VehicleID, FuelGals) "
                       "SELECT i, 1, i / 4.0 FROM n;");
    makeFile(sql);
    std::vector<qint64> told;
    exportTo(QStringLiteral("drivolex"), outPath(QStringLiteral("big.csv")), std::nullopt,
             [&](qint64 done, qint64 total) {
                 EXPECT_EQ(total, 10001);
                 told.push_back(done);
                 return true;
             });
    EXPECT_EQ(told, (std::vector<qint64>{4096, 8192, 10001}));
    const exporting::ExportResult cancelled =
        exportTo(QStringLiteral("drivolex"), outPath(QStringLiteral("stopped.csv")), std::nullopt,
                 [](qint64 done, qint64) { return done < 8192; });
    EXPECT_TRUE(cancelled.cancelled);
    EXPECT_EQ(outFiles(), QStringList{QStringLiteral("big.csv")});
}

// A folder no one may write in (made immutable too where the tests run as root).
class UnwritableFolder {
public:
    explicit UnwritableFolder(const QString& folder) : m_folder(QFile::encodeName(folder)) {
        m_arranged = ::chmod(m_folder.constData(), 0555) == 0;
        if (m_arranged && ::geteuid() == 0)
            m_arranged = m_immutable = testing_support::setImmutable(folder, true);
    }
    ~UnwritableFolder() {
        if (m_immutable)
            testing_support::setImmutable(QString::fromLocal8Bit(m_folder), false);
        ::chmod(m_folder.constData(), 0755);
    }
    bool arranged() const { return m_arranged; }

private:
    QByteArray m_folder;
    bool m_arranged = false;
    bool m_immutable = false;
};

TEST_F(OwnFormatExportTest, AFolderThatCannotBeWrittenIsAnErrorNamingTheFile) {
    makeSmallFile();
    const QString out = outPath(QStringLiteral("locked.csv"));
    const UnwritableFolder folder(QFileInfo(out).absolutePath());
    if (!folder.arranged())
        GTEST_SKIP() << "the folder cannot be made read-only here";
    for (const char* format : {"drivolex", "lubelogger", "fuelly"}) {
        try {
            exportTo(QLatin1String(format), out, 5);
            ADD_FAILURE() << format << ": no error";
        } catch (const platform::AppError& error) {
            EXPECT_EQ(error.number(), store::errReadOnly) << format;
            EXPECT_TRUE(error.text().startsWith(
                QStringLiteral("The export file '%1' could not be written: ").arg(out)))
                << error.what();
        }
    }
    EXPECT_EQ(outFiles(), QStringList());
}

} // namespace
