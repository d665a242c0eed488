// A writer killed at any moment leaves a sound file that holds every change the
// record store had acknowledged: the child process changes rows of every table and
// reports each change before and after the store saves it; we kill it with SIGKILL
// at random moments, or the moment a save has been acknowledged, and check the file
// after every kill before the next child carries on with it.
#include "ChildProcess.h"
#include "FileSnapshot.h"
#include "StepLine.h"
#include "platform/AppError.h"
#include "store/StoreErrors.h"
#include "store/StoreTestFiles.h"
#include "store/modCreateDB.h"
#include "support/MsgBoxRecorder.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <random>
#include <sys/wait.h>

using namespace crash;

namespace {

constexpr int kKills = 60;
constexpr qint64 kTimeBudgetMs = 45000;

quint64 runSeed() {
    const QByteArray given = qgetenv("DRIVOLEX_CRASH_SEED");
    return given.isEmpty() ? std::random_device{}() : given.toULongLong();
}

struct KillTally {
    int kills = 0;
    int acknowledged = 0;
    int killedMidStep = 0;     // a change was reported as begun but not as done
    int midStepFoundSaved = 0; // ... and the file held it
};

// The child's complete lines; a line cut short by the kill was never reported.
QList<QByteArray> completeLines(const QByteArray& out) {
    QList<QByteArray> lines = out.split('\n');
    lines.removeLast();
    return lines;
}

int acknowledgements(const QByteArray& out) {
    int count = 0;
    for (const QByteArray& line : completeLines(out))
        count += line.startsWith("ACK") ? 1 : 0;
    return count;
}

// When the writer is killed: a random moment after its first report, or at once
// after its n-th acknowledged save, while the commit's last steps (the journal's
// removal) may still be under way.
enum class KillMoment { Random, RightAfterAcknowledgement };

void killWriters(KillMoment moment) {
    const quint64 seed = runSeed();
    SCOPED_TRACE("DRIVOLEX_CRASH_SEED=" + std::to_string(seed));
    std::mt19937_64 random(seed);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("crash.mdb"));
    {
        testing_support::MsgBoxRecorder boxes;
        ASSERT_TRUE(modCreateDB::CreateNewDatabase(path));
        modCreateDB::CurrentDatabase.reset();
    }
    Snapshot model = readSnapshot(path);

    KillTally tally;
    QElapsedTimer timer;
    timer.start();
    while (tally.kills < kKills && timer.elapsed() < kTimeBudgetMs) {
        ChildProcess child(QStringLiteral(CRASH_CHILD),
                           {QStringLiteral("steps"), path, QString::number(random()),
                            QString::number(ChildProcess::kReportFd)});
        ASSERT_TRUE(child.started());
        // The kill's moment counts from the child's first report, so that a slow
        // start (a busy machine, a sanitizer build) does not leave it idle.
        QByteArray out;
        QElapsedTimer starting;
        starting.start();
        while (!out.contains('\n') && starting.elapsed() < 10000)
            out += child.readFor(20);
        if (moment == KillMoment::Random) {
            out += child.readFor(std::uniform_int_distribution<int>(5, 400)(random));
        } else {
            const int wanted = std::uniform_int_distribution<int>(1, 8)(random);
            QElapsedTimer saving;
            saving.start();
            while (acknowledgements(out) < wanted && saving.elapsed() < 10000)
                out += child.readFor(1);
        }
        const int status = child.kill();
        out += child.readToEnd();
        ++tally.kills;
        SCOPED_TRACE("kill " + std::to_string(tally.kills));

        std::optional<Step> pending;
        for (const QByteArray& text : completeLines(out)) {
            const std::optional<Line> line = parseLine(text);
            ASSERT_TRUE(line) << "unreadable report: " << text.toStdString();
            ASSERT_NE(line->tag, Line::Tag::Fail) << line->text.toStdString();
            if (line->tag == Line::Tag::Try) {
                pending = line->step;
                continue;
            }
            QString why;
            ASSERT_TRUE(applyStep(model, line->step, &why)) << why.toStdString();
            pending.reset();
            ++tally.acknowledged;
        }
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL)
            << "the child ended on its own, status " << status << ": " << out.toStdString();

        Snapshot actual;
        try {
            actual = readSnapshot(path);
        } catch (const platform::AppError& error) {
            FAIL() << "the file does not open after the kill: " << error.text().toStdString();
        }
        ASSERT_EQ(testing_support::sqlScalar(path, QStringLiteral("PRAGMA integrity_check"))
                      .toStdString(),
                  "ok");
        ASSERT_EQ(testing_support::sqlScalar(path, QStringLiteral("PRAGMA foreign_key_check"))
                      .toStdString(),
                  "");

        if (pending)
            ++tally.killedMidStep;
        const QString missing = difference(model, actual);
        if (missing.isEmpty())
            continue;
        // Only the one change that was under way may be there besides.
        ASSERT_TRUE(pending) << missing.toStdString();
        Step step = *pending;
        if (step.kind == Step::Kind::Add)
            step.key = addedKey(model, actual, step.table);
        Snapshot withPending = model;
        QString why;
        ASSERT_TRUE(step.key != 0 && applyStep(withPending, step, &why))
            << missing.toStdString() << "\n"
            << why.toStdString();
        ASSERT_EQ(difference(withPending, actual).toStdString(), "")
            << "killed during " << describe(*pending).toStdString();
        model = withPending;
        ++tally.midStepFoundSaved;
    }

    EXPECT_GE(tally.kills, 50) << "only " << timer.elapsed() << " ms for the kills";
    EXPECT_GE(tally.acknowledged, tally.kills / 2) << "the writers got too little done";
    EXPECT_GT(rowCount(model), 0);
    std::printf("%d kills in %lld ms, %d changes acknowledged, %d kills during a change (%d of "
                "those saved), %d rows at the end\n",
                tally.kills, static_cast<long long>(timer.elapsed()), tally.acknowledged,
                tally.killedMidStep, tally.midStepFoundSaved, rowCount(model));
}

} // namespace

TEST(CrashSafety, KilledWritersLeaveEveryAcknowledgedChangeInASoundFile) {
    killWriters(KillMoment::Random);
}

TEST(CrashSafety, WritersKilledRightAfterASaveKeepIt) {
    killWriters(KillMoment::RightAfterAcknowledgement);
}
