// A backup or a restore killed at any moment: the file in use is always whole and
// holds either its old rows or all of the restored ones, and a backup's name never
// leads to half a copy.
#include "ChildProcess.h"
#include "FileSnapshot.h"
#include "SeededDatabase.h"
#include "store/StoreTestFiles.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <random>
#include <sys/wait.h>

using namespace crash;

namespace {

constexpr int kKills = 20;
constexpr qint64 kTimeBudgetMs = 30000;

// Enough pages that a copy takes many writes, each held back by the child.
void addBulk(const QString& path, int vehicleId, int rows) {
    ASSERT_EQ(testing_support::sqlExecute(
                  path, QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 "
                                       "FROM n WHERE i < %1) INSERT INTO Fuel (VehicleID, "
                                       "FuelGals, FuelCity) SELECT %2, i, 'Town ' || i FROM n")
                            .arg(rows)
                            .arg(vehicleId)),
              QString());
}

// Kills the child at random moments after its first report, or before one when it
// is slow to give any; calls check after each kill.
template <class Check> void killRepeatedly(const QStringList& arguments, Check check) {
    std::mt19937_64 random(std::random_device{}());
    QElapsedTimer timer;
    timer.start();
    int kills = 0, finished = 0;
    while (kills < kKills && timer.elapsed() < kTimeBudgetMs) {
        ChildProcess child(QStringLiteral(CRASH_CHILD), arguments);
        ASSERT_TRUE(child.started());
        const QByteArray out = child.readFor(std::uniform_int_distribution<int>(5, 600)(random));
        const int status = child.kill();
        const QByteArray rest = child.readToEnd();
        ++kills;
        finished += int((out + rest).count('\n'));
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL)
            << "the child ended on its own: " << (out + rest).toStdString();
        SCOPED_TRACE("kill " + std::to_string(kills));
        check();
        if (::testing::Test::HasFatalFailure())
            return;
    }
    EXPECT_GE(kills, kKills / 2);
    std::printf("%d kills in %lld ms, %d runs finished between them\n", kills,
                static_cast<long long>(timer.elapsed()), finished);
}

TEST(BackupCrash, KilledBackupsNeverLeaveHalfACopyUnderItsName) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("crash.mdb"));
    ASSERT_TRUE(createSeededDatabase(path));
    addBulk(path, 1, 20000);
    const Snapshot rows = readSnapshot(path);
    const QByteArray bytes = fileBytes(path);
    const QString copies = dir.filePath(QStringLiteral("copies"));
    ASSERT_TRUE(QDir().mkdir(copies));
    const QString copy = copies + QStringLiteral("/copy.mdb");

    killRepeatedly(
        {QStringLiteral("backups"), path, copy, QString::number(ChildProcess::kReportFd)}, [&] {
            ASSERT_EQ(fileBytes(path), bytes) << "the file in use was changed";
            // Only the final name and temporary ones, which nothing reads.
            for (const QString& name :
                 QDir(copies).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot))
                if (name != QLatin1String("copy.mdb")) {
                    ASSERT_TRUE(name.startsWith(QLatin1Char('.')) &&
                                name.endsWith(QLatin1String(".creating")))
                        << name.toStdString();
                }
            if (!QFile::exists(copy))
                return;
            ASSERT_EQ(fileCheck(copy), "ok");
            ASSERT_EQ(difference(rows, readSnapshot(copy)).toStdString(), "");
        });
}

TEST(BackupCrash, KilledRestoresLeaveTheOldRowsOrAllTheRestoredOnes) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("crash.mdb"));
    ASSERT_TRUE(createSeededDatabase(path));
    addBulk(path, 1, 20000);
    const QString first = dir.filePath(QStringLiteral("first.backup"));
    const QString second = dir.filePath(QStringLiteral("second.backup"));
    ASSERT_TRUE(QFile::copy(path, first));
    addBulk(path, 1, 500);
    ASSERT_TRUE(QFile::copy(path, second));
    const Snapshot firstRows = readSnapshot(first);
    const Snapshot secondRows = readSnapshot(second);

    killRepeatedly(
        {QStringLiteral("restores"), path, first, second, QString::number(ChildProcess::kReportFd)},
        [&] {
            ASSERT_EQ(fileCheck(path), "ok");
            const Snapshot now = readSnapshot(path);
            ASSERT_TRUE(difference(firstRows, now).isEmpty() ||
                        difference(secondRows, now).isEmpty())
                << "a mix: " << difference(firstRows, now).toStdString();
        });
}

} // namespace
