#include "BackupTestFiles.h"

#include "backup/AutoBackup.h"
#include "backup/BackupFolder.h"
#include "store/Database.h"
#include "store/Recordset.h"
#include "store/Schema.h"

namespace backup_test {

using namespace backup;
using testing_support::sqlScalar;

class AutoBackupTest : public BackupFileTest {
protected:
    void SetUp() override {
        BackupFileTest::SetUp();
        automatic.watchWrites();
        automatic.onFailure([this](const QString& message) { failures << message; });
        db = store::schema::openProgramDatabase(path);
    }

    void setYear(int year) {
        auto vehicles = db->OpenRecordset(QStringLiteral("VehicleInfo"));
        vehicles->Edit();
        vehicles->setValue(QStringLiteral("VehicleYear"), year);
        vehicles->Update();
    }
    QStringList reasons() const {
        QStringList all;
        for (const BackupEntry& entry : listBackups(path))
            all << entry.reason;
        return all;
    }

    QDateTime now{QDate(2026, 5, 4), QTime(23, 58)};
    AutoBackup automatic{[this] { return now; }};
    QStringList failures;
    std::shared_ptr<store::Database> db;
};

// The first change of a day is copied before it is written; later changes that day
// are not, in this run or the next; the next day's first change is.
TEST_F(AutoBackupTest, DailyCopyAtTheFirstChangeOfEachDay) {
    setYear(2001);
    setYear(2002);
    ASSERT_EQ(reasons(), QStringList{QStringLiteral("daily")});
    EXPECT_EQ(sqlScalar(listBackups(path).first().path,
                        QStringLiteral("SELECT VehicleYear FROM VehicleInfo")),
              QString());
    {
        AutoBackup nextRun([this] { return now; });
        nextRun.watchWrites();
        setYear(2003);
    }
    automatic.watchWrites();
    EXPECT_EQ(listBackups(path).size(), 1);

    now = now.addSecs(5 * 60); // past midnight
    setYear(2004);
    ASSERT_EQ(reasons(), (QStringList{QStringLiteral("daily"), QStringLiteral("daily")}));
    EXPECT_EQ(sqlScalar(listBackups(path).first().path,
                        QStringLiteral("SELECT VehicleYear FROM VehicleInfo")),
              QStringLiteral("2003"));
    EXPECT_TRUE(failures.isEmpty());
}

// Every vehicle delete is copied first, its fuel with it; deleting a fuel purchase
// is only a change of the day.
TEST_F(AutoBackupTest, CopyBeforeEachVehicleDelete) {
    ASSERT_EQ(sql(QStringLiteral("INSERT INTO Fuel (VehicleID, FuelGals) VALUES (1, 4)")),
              QString());
    auto fuel = db->OpenRecordset(QStringLiteral("Fuel"));
    fuel->Delete();
    auto vehicles = db->OpenRecordset(QStringLiteral("VehicleInfo"));
    vehicles->Delete();
    ASSERT_EQ(reasons(), (QStringList{QStringLiteral("before-delete"), QStringLiteral("daily")}));
    const QString before = listBackups(path).first().path;
    EXPECT_EQ(lookups(before), QStringLiteral("Civic"));
    EXPECT_EQ(count(before, "Fuel"), QStringLiteral("1"));
    EXPECT_EQ(count(path, "VehicleInfo"), QStringLiteral("0"));
}

// A folder that cannot be written: the saves go ahead, the failure is told once a
// day, not at every save.
TEST_F(AutoBackupTest, FailureNeverStopsASave) {
    QDir().mkpath(QFileInfo(folderFor(path)).absolutePath());
    testing_support::writeFileBytes(folderFor(path), "a file where the folder would be");
    setYear(2001);
    setYear(2002);
    EXPECT_EQ(sqlScalar(path, QStringLiteral("SELECT VehicleYear FROM VehicleInfo")),
              QStringLiteral("2002"));
    ASSERT_EQ(failures.size(), 1);
    EXPECT_TRUE(failures.first().contains(folderFor(path))) << failures.first().toStdString();

    now = now.addDays(1);
    setYear(2003);
    EXPECT_EQ(failures.size(), 2);
    EXPECT_EQ(sqlScalar(path, QStringLiteral("SELECT VehicleYear FROM VehicleInfo")),
              QStringLiteral("2003"));
}

} // namespace backup_test
