#include "BackupTestFiles.h"

#include "backup/BackupFolder.h"

#include <QFileInfo>

namespace backup_test {

using namespace backup;

class BackupFolderTest : public BackupFileTest {
protected:
    const QDateTime start{QDate(2026, 3, 1), QTime(9, 0)};
};

// Taken one after another, minutes apart; the newest 20 are kept, listed newest
// first, each whole, and the oldest go.
TEST_F(BackupFolderTest, KeepsTheNewestTwenty) {
    QStringList taken;
    for (int i = 0; i < kKeptBackups + 3; ++i) {
        // A row changed each time tells the copies apart.
        ASSERT_EQ(sql(QStringLiteral("UPDATE VehicleInfo SET VehicleYear = %1").arg(2000 + i)),
                  QString());
        taken << takeBackup(path, i % 2 ? Reason::Daily : Reason::BeforeDelete,
                            start.addSecs(60 * i));
    }
    const QList<BackupEntry> kept = listBackups(path);
    ASSERT_EQ(kept.size(), kKeptBackups);
    EXPECT_EQ(kept.first().path, taken.last());
    EXPECT_EQ(kept.first().taken, start.addSecs(60 * (kKeptBackups + 2)));
    EXPECT_EQ(kept.first().reason, QStringLiteral("before-delete"));
    EXPECT_EQ(kept.last().path, taken[3]);
    for (int i = 0; i < 3; ++i)
        EXPECT_FALSE(QFileInfo::exists(taken[i])) << i;
    EXPECT_EQ(testing_support::sqlScalar(kept.last().path,
                                         QStringLiteral("SELECT VehicleYear FROM VehicleInfo")),
              QStringLiteral("2003"));
    EXPECT_GT(kept.first().size, 0);
}

// Two files of one name in different folders keep their backups apart; two taken in
// the same millisecond both stay. A file elsewhere in the folder is not listed.
TEST_F(BackupFolderTest, FoldersAndNamesKeepBackupsApart) {
    QTemporaryDir other;
    const QString twin = other.filePath(QStringLiteral("cars.mdb"));
    ASSERT_TRUE(QFile::copy(path, twin));
    EXPECT_NE(folderFor(path), folderFor(twin));
    // Another name of the same file leads to the same folder.
    EXPECT_EQ(folderFor(dir.path() + QStringLiteral("/./cars.mdb")), folderFor(path));

    const QString first = takeBackup(path, Reason::Daily, start);
    const QString second = takeBackup(path, Reason::Daily, start);
    EXPECT_NE(first, second);
    testing_support::writeFileBytes(folderFor(path) + QStringLiteral("/notes.txt"), "mine");
    EXPECT_EQ(listBackups(path).size(), 2);
    EXPECT_TRUE(listBackups(twin).isEmpty());
    EXPECT_EQ(suggestedBackupName(path, start), QStringLiteral("cars 2026-03-01 09-00.mdb"));
}

} // namespace backup_test
