#include "BackupTestFiles.h"

#include "backup/BackupFolder.h"
#include "backup/Restore.h"
#include "platform/AppError.h"
#include "store/Database.h"

namespace backup_test {

using namespace backup;
using testing_support::fileBytes;

class RestoreTest : public BackupFileTest {
protected:
    QDateTime at(int minute) const { return QDateTime(QDate(2026, 6, 1), QTime(8, minute)); }

    // The restore fails with an error naming `named`, and the file stays byte for byte.
    void expectRefused(const QString& backupPath, const QString& named) {
        const QByteArray before = fileBytes(path);
        try {
            restoreBackup(backupPath, path, at(59));
            ADD_FAILURE() << "restored " << backupPath.toStdString();
        } catch (const platform::AppError& error) {
            EXPECT_TRUE(error.text().contains(named)) << error.text().toStdString();
        }
        EXPECT_EQ(fileBytes(path), before);
        EXPECT_EQ(filesIn(dir.path()), QStringList{QStringLiteral("cars.mdb")});
    }
};

// Each copy listed gives back its own rows, and the file as it was before each
// restore is kept as one more copy.
TEST_F(RestoreTest, EachListedBackupGivesItsRows) {
    takeBackup(path, Reason::Daily, at(1));
    addVehicle(2, QStringLiteral("Camry"));
    takeBackup(path, Reason::BeforeDelete, at(2));
    addVehicle(3, QStringLiteral("Golf"));
    takeBackup(path, Reason::Daily, at(3));
    ASSERT_EQ(sql(QStringLiteral("DELETE FROM VehicleInfo")), QString());

    const QList<BackupEntry> listed = listBackups(path);
    ASSERT_EQ(listed.size(), 3);
    const QStringList expected{QStringLiteral("Civic,Camry,Golf"), QStringLiteral("Civic,Camry"),
                               QStringLiteral("Civic")};
    QString previous;
    for (int i = 0; i < 3; ++i) {
        const QString kept = restoreBackup(listed[i].path, path, at(10 + i));
        EXPECT_EQ(lookups(path), expected[i]);
        EXPECT_EQ(lookups(kept), previous);
        EXPECT_EQ(count(path, "Fuel"), QString::number(3 - i));
        EXPECT_TRUE(testing_support::fileIsConsistent(path));
        previous = expected[i];
    }
    EXPECT_EQ(listBackups(path).size(), 6);
    EXPECT_EQ(filesIn(dir.path()), QStringList{QStringLiteral("cars.mdb")});
}

// A damaged or foreign backup, a file still open, a folder that cannot keep the
// current file: nothing changes.
TEST_F(RestoreTest, FailingRestoreLeavesTheFileAsItWas) {
    QTemporaryDir elsewhere;
    const QString good = elsewhere.filePath(QStringLiteral("good.backup"));
    ASSERT_TRUE(QFile::copy(takeBackup(path, Reason::Daily, at(1)), good));
    addVehicle(2, QStringLiteral("Camry"));

    const QString damaged = elsewhere.filePath(QStringLiteral("damaged.backup"));
    QByteArray bytes = fileBytes(good);
    bytes.truncate(bytes.size() / 2);
    testing_support::writeFileBytes(damaged, bytes);
    expectRefused(damaged, damaged);

    const QString foreign = elsewhere.filePath(QStringLiteral("foreign.backup"));
    ASSERT_EQ(testing_support::sqlExecute(foreign, QStringLiteral("CREATE TABLE t (x)")),
              QString());
    expectRefused(foreign, foreign);

    {
        auto open = store::Database::OpenDatabase(path);
        expectRefused(good, path);
    }

    // The current file cannot be kept: its folder of backups is a plain file now.
    const QString folder = folderFor(path);
    ASSERT_TRUE(QDir(folder).removeRecursively());
    testing_support::writeFileBytes(folder, "in the way");
    expectRefused(good, folder);
    EXPECT_EQ(lookups(path), QStringLiteral("Civic,Camry"));
}

} // namespace backup_test
