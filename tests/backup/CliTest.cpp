#include "BackupTestFiles.h"

#include <QProcess>

namespace backup_test {

class CliTest : public BackupFileTest {
protected:
    // The command's exit status; its error text in *errors.
    int cli(const QStringList& arguments, QString* errors = nullptr) {
        QProcess process;
        process.start(QStringLiteral(DRIVOLEX_CLI), arguments);
        EXPECT_TRUE(process.waitForFinished(60000));
        if (errors)
            *errors = QString::fromLocal8Bit(process.readAllStandardError());
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }
};

// 0 sound, 1 not (damaged pages, a row without its owner, another program's file),
// 2 a file that is not there or a command line that makes no sense.
TEST_F(CliTest, CheckTellsSoundFromDamagedFromMissing) {
    EXPECT_EQ(cli({QStringLiteral("check"), path}), 0);

    const QString orphan = dir.filePath(QStringLiteral("orphan.mdb"));
    ASSERT_TRUE(QFile::copy(path, orphan));
    ASSERT_EQ(testing_support::sqlExecute(
                  orphan, QStringLiteral("PRAGMA foreign_keys = OFF; INSERT INTO Fuel "
                                         "(VehicleID, FuelGals) VALUES (99, 1)")),
              QString());
    QString errors;
    EXPECT_EQ(cli({QStringLiteral("check"), orphan}, &errors), 1);
    EXPECT_TRUE(errors.contains(orphan)) << errors.toStdString();

    const QString damaged = dir.filePath(QStringLiteral("damaged.mdb"));
    QByteArray bytes = testing_support::fileBytes(path);
    // Past the first page: the file still opens, its tables' pages do not read.
    for (qsizetype i = 4096; i < bytes.size(); i += 7)
        bytes[i] = char(0x5a);
    testing_support::writeFileBytes(damaged, bytes);
    EXPECT_EQ(cli({QStringLiteral("check"), damaged}, &errors), 1);
    EXPECT_TRUE(errors.contains(damaged)) << errors.toStdString();

    const QString foreign = dir.filePath(QStringLiteral("foreign.mdb"));
    ASSERT_EQ(testing_support::sqlExecute(foreign, QStringLiteral("CREATE TABLE t (x)")),
              QString());
    EXPECT_EQ(cli({QStringLiteral("check"), foreign}), 1);

    const QString missing = dir.filePath(QStringLiteral("missing.mdb"));
    EXPECT_EQ(cli({QStringLiteral("check"), missing}, &errors), 2);
    EXPECT_TRUE(errors.contains(missing)) << errors.toStdString();
    EXPECT_EQ(cli({QStringLiteral("check")}), 2);
    EXPECT_EQ(cli({QStringLiteral("restore"), path}), 2);
}

TEST_F(CliTest, BackupWritesACheckedCopyOrNothing) {
    const QString copy = dir.filePath(QStringLiteral("copy.mdb"));
    EXPECT_EQ(cli({QStringLiteral("backup"), path, copy}), 0);
    EXPECT_EQ(lookups(copy), QStringLiteral("Civic"));
    EXPECT_EQ(cli({QStringLiteral("check"), copy}), 0);

    QString errors;
    const QString nowhere = dir.filePath(QStringLiteral("no/folder/copy.mdb"));
    EXPECT_EQ(cli({QStringLiteral("backup"), path, nowhere}, &errors), 1);
    EXPECT_TRUE(errors.contains(nowhere)) << errors.toStdString();
    EXPECT_EQ(cli({QStringLiteral("backup"), dir.filePath(QStringLiteral("missing.mdb")), copy}),
              2);
    EXPECT_EQ(lookups(copy), QStringLiteral("Civic"));
    EXPECT_EQ(cli({QStringLiteral("backup"), path}), 2);
}

} // namespace backup_test
