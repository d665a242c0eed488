#include "platform/ProcessStarter.h"

#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

using namespace platform;

TEST(ProcessStarter, EmptyPathFailsWithoutReachingTheStarter) {
    QStringList started;
    setProcessStarter([&](const QString& program) {
        started << program;
        return true;
    });
    EXPECT_FALSE(startDetached(QString()));
    EXPECT_TRUE(started.isEmpty());
    EXPECT_TRUE(startDetached(QStringLiteral("/opt/tool with spaces/run")));
    EXPECT_EQ(started, QStringList{QStringLiteral("/opt/tool with spaces/run")});
    setProcessStarter({});
}

TEST(ProcessStarter, RealStarterRunsProgramsButNeverACommandLine) {
    setProcessStarter({});
    EXPECT_TRUE(startDetached(QStringLiteral("/bin/true")));
    EXPECT_FALSE(startDetached(QStringLiteral("/no/such/program")));

    QTemporaryDir dir;
    const QString marker = dir.filePath(QStringLiteral("ran"));
    EXPECT_FALSE(startDetached(QStringLiteral("/bin/true; touch ") + marker));
    EXPECT_FALSE(startDetached(QStringLiteral("touch ") + marker));
    QThread::msleep(200); // a shell, had one been used, would have made the file by now
    EXPECT_FALSE(QFile::exists(marker));
}
