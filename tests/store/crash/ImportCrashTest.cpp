// An import killed while it writes: whatever the moment, the file afterwards (once the
// next connection has played its journal back) is byte for byte the file before.
#include "ChildProcess.h"
#include "SeededDatabase.h"
#include "store/StoreTestFiles.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <random>
#include <sys/wait.h>

using namespace crash;

namespace {

constexpr int kKills = 6;
// The rows the child imports (CrashChild.cpp), after the seeded file's two.
constexpr int kImportedRows = 20000;
constexpr qint64 kTimeBudgetMs = 40000;

TEST(ImportCrash, AnImportKilledMidWriteLeavesTheFileAsItWas) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("crash.mdb"));
    ASSERT_TRUE(createSeededDatabase(path));
    // SQLite does not journal a free page it takes into use (its content is of no
    // account), so a rollback may leave other bytes in one; a file without free pages
    // comes back byte for byte.
    ASSERT_EQ(testing_support::sqlExecute(path, QStringLiteral("VACUUM")), QString());
    ASSERT_EQ(testing_support::sqlScalar(path, QStringLiteral("PRAGMA freelist_count")),
              QStringLiteral("0"));
    const QByteArray before = fileBytes(path);
    std::mt19937_64 random(std::random_device{}());
    QElapsedTimer timer;
    timer.start();
    int kills = 0, finished = 0;
    while (kills < kKills && timer.elapsed() < kTimeBudgetMs) {
        testing_support::writeFileBytes(path, before);
        QFile::remove(path + QStringLiteral("-journal"));
        ChildProcess child(QStringLiteral(CRASH_CHILD), {QStringLiteral("import"), path,
                                                         QString::number(ChildProcess::kReportFd)});
        ASSERT_TRUE(child.started());
        // Killed only once rows are being written, at a random moment after.
        QByteArray out;
        for (int waited = 0; !out.contains("WRITING") && waited < 20000; waited += 50)
            out += child.readFor(50);
        ASSERT_TRUE(out.contains("WRITING")) << out.toStdString();
        out += child.readFor(std::uniform_int_distribution<int>(0, 400)(random));
        const int status = child.kill();
        out += child.readToEnd();
        if (out.contains("DONE")) {
            ++finished; // the commit came first: try again
            continue;
        }
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << out.toStdString();
        // The next connection that may write plays the journal back.
        ASSERT_EQ(testing_support::sqlExecute(path, QStringLiteral("SELECT 1 FROM Fuel")),
                  QString());
        // Killed between its commit and its word of it: the import is there whole.
        const QString rows =
            testing_support::sqlScalar(path, QStringLiteral("SELECT count(*) FROM Fuel"));
        if (rows == QString::number(2 + kImportedRows)) {
            ASSERT_EQ(fileCheck(path), "ok");
            ++finished;
            continue;
        }
        ++kills;
        SCOPED_TRACE("kill " + std::to_string(kills));
        ASSERT_EQ(rows, QStringLiteral("2")) << "neither the file before nor the import whole";
        ASSERT_FALSE(QFile::exists(path + QStringLiteral("-journal")));
        ASSERT_EQ(fileCheck(path), "ok");
        const QByteArray after = fileBytes(path);
        qsizetype differs = 0;
        while (differs < std::min(after.size(), before.size()) && after[differs] == before[differs])
            ++differs;
        ASSERT_TRUE(after == before)
            << "the file differs after the kill from byte " << differs << " (" << after.size()
            << " bytes, " << before.size() << " before)";
    }
    EXPECT_GE(kills, kKills / 2);
    std::printf("%d kills mid-write in %lld ms, %d imports finished first\n", kills,
                static_cast<long long>(timer.elapsed()), finished);
}

} // namespace
