#include "BackupTestFiles.h"

#include "backup/OnlineBackup.h"
#include "platform/AppError.h"
#include "store/Database.h"
#include "store/Recordset.h"
#include "store/Schema.h"

#include <QFile>

namespace backup_test {

using backup::writeBackup;
using testing_support::sqlScalar;

class OnlineBackupTest : public BackupFileTest {};

// The file is open for writing and a record set holds rows being typed, one new and
// one edited: the copy holds what was last saved and nothing half done.
TEST_F(OnlineBackupTest, CopyOfAnOpenFileHoldsTheLastSavedState) {
    auto db = store::schema::openProgramDatabase(path);
    auto vehicles = db->OpenRecordset(QStringLiteral("VehicleInfo"));
    vehicles->Edit();
    vehicles->setValue(QStringLiteral("VehicleLookup"), QStringLiteral("Edited"));
    auto fuel = db->OpenRecordset(QStringLiteral("Fuel"));
    fuel->AddNew();
    fuel->setValue(QStringLiteral("FuelGals"), 3);

    const QString copy = dir.filePath(QStringLiteral("copy.mdb"));
    int steps = 0;
    writeBackup(path, copy, [&](int done, int total) {
        ++steps;
        EXPECT_LE(done, total);
        return true;
    });
    EXPECT_GE(steps, 1);
    EXPECT_EQ(sqlScalar(copy, QStringLiteral("PRAGMA integrity_check")), QStringLiteral("ok"));
    EXPECT_EQ(lookups(copy), QStringLiteral("Civic"));
    EXPECT_EQ(count(copy, "Fuel"), QStringLiteral("1"));
    // The rows being typed are still there to save, into the file, after the copy.
    vehicles->Update();
    EXPECT_EQ(lookups(path), QStringLiteral("Edited"));
    EXPECT_EQ(lookups(copy), QStringLiteral("Civic"));
    // No temporary file is left beside the copy.
    EXPECT_EQ(filesIn(dir.path()),
              (QStringList{QStringLiteral("cars.mdb"), QStringLiteral("copy.mdb")}));
}

// A failure or a cancel leaves nothing under the name, and an old file of that name
// as it was; the error names the backup.
TEST_F(OnlineBackupTest, FailuresLeaveNoBackupUnderItsName) {
    const QString copy = dir.filePath(QStringLiteral("copy.mdb"));
    testing_support::writeFileBytes(copy, "an older file");
    try {
        writeBackup(path, copy, [](int, int) { return false; });
        ADD_FAILURE() << "a cancelled backup went on";
    } catch (const platform::AppError& error) {
        EXPECT_TRUE(error.text().contains(copy)) << error.text().toStdString();
    }
    EXPECT_EQ(testing_support::fileBytes(copy), QByteArray("an older file"));

    EXPECT_THROW(writeBackup(path, path), platform::AppError);
    EXPECT_THROW(writeBackup(path, dir.filePath(QStringLiteral("no/such/folder/x.mdb"))),
                 platform::AppError);
    EXPECT_THROW(writeBackup(dir.filePath(QStringLiteral("missing.mdb")), copy),
                 platform::AppError);
    EXPECT_EQ(filesIn(dir.path()),
              (QStringList{QStringLiteral("cars.mdb"), QStringLiteral("copy.mdb")}));
    EXPECT_EQ(testing_support::fileBytes(copy), QByteArray("an older file"));
}

TEST_F(OnlineBackupTest, ReadOnlyFolderIsNamedInTheError) {
    const QString folder = dir.filePath(QStringLiteral("locked"));
    ASSERT_TRUE(QDir().mkdir(folder));
    LockedFolder locked(folder);
    if (!locked.arranged())
        GTEST_SKIP() << "the folder cannot be made read-only here";
    const QString copy = folder + QStringLiteral("/copy.mdb");
    try {
        writeBackup(path, copy);
        ADD_FAILURE() << "wrote into a read-only folder";
    } catch (const platform::AppError& error) {
        EXPECT_TRUE(error.text().contains(copy)) << error.text().toStdString();
    }
    locked.release();
    EXPECT_TRUE(filesIn(folder).isEmpty());
}

} // namespace backup_test
