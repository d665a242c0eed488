// A file made read-only while the program has it open: saving and deleting give
// the store's read-only error, nothing in the file changes, the new row stays
// pending and saves once the file may be written again.
#include "ChildProcess.h"
#include "FileSnapshot.h"
#include "SeededDatabase.h"
#include "ShimVfs.h"
#include "platform/AppError.h"
#include "store/Database.h"
#include "store/Recordset.h"
#include "store/StoreErrors.h"
#include "support/UnwritableFile.h"

#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <cerrno>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <pwd.h>
#include <sqlite3.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace crash;
using namespace store;
using testing_support::setImmutable;

namespace {

int errorNumberOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const platform::AppError& error) {
        return error.number();
    }
    return 0;
}

std::unique_ptr<Recordset> pendingVehicle(Database& db) {
    auto rs = db.OpenRecordset(QStringLiteral("VehicleInfo"));
    rs->AddNew();
    rs->setValue(QStringLiteral("VehicleLookup"), QStringLiteral("Pending"));
    return rs;
}

QStringList lookups(const QString& path) {
    const Snapshot snapshot = readSnapshot(path);
    QStringList names;
    for (const auto& [key, row] : snapshot.at(QStringLiteral("VehicleInfo")))
        names << row.value(QStringLiteral("vehiclelookup"));
    return names;
}

class ReadOnly : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(createSeededDatabase(path));
    }

    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("cars.mdb"));
};

} // namespace

// An immutable file cannot be written even through a handle opened before, and
// not even by the administrator.
TEST_F(ReadOnly, AFileMadeImmutableWhileOpenRefusesSavesAndDeletes) {
    auto db = Database::OpenDatabase(path);
    auto rs = pendingVehicle(*db);
    auto orders = db->OpenRecordset(QStringLiteral("WorkOrder"));
    const QByteArray before = fileBytes(path);
    if (!setImmutable(path, true))
        GTEST_SKIP() << "the file system or our rights do not allow an immutable file";
    const auto clear = qScopeGuard([&] { setImmutable(path, false); });

    EXPECT_EQ(errorNumberOf([&] { rs->Update(); }), errReadOnly);
    EXPECT_EQ(errorNumberOf([&] { orders->Delete(); }), errReadOnly);
    EXPECT_EQ(rs->editMode(), EditMode::AddNew);
    EXPECT_EQ(rs->value(QStringLiteral("VehicleLookup")), QVariant("Pending"));
    EXPECT_TRUE(fileBytes(path) == before) << "the file changed";
    EXPECT_FALSE(QFile::exists(path + QStringLiteral("-journal")));

    ASSERT_TRUE(setImmutable(path, false));
    EXPECT_EQ(errorNumberOf([&] { rs->Update(); }), 0);
    EXPECT_EQ(lookups(path), (QStringList{"Kept", "Pending"}));
    EXPECT_EQ(fileCheck(path), "ok");
}

// A write that the system refuses in the middle of a save (a file system turned
// read-only, say) is reported as read-only too, and the file keeps what it had.
TEST_F(ReadOnly, AWriteRefusedByTheSystemIsReportedAsReadOnly) {
    shim::install();
    const auto uninstall = qScopeGuard([] { shim::uninstall(); });
    const Snapshot before = readSnapshot(path);
    for (const int systemErrno : {EROFS, EPERM, EACCES}) {
        SCOPED_TRACE(systemErrno);
        auto db = Database::OpenDatabase(path);
        auto rs = pendingVehicle(*db);
        shim::failWritesAfter(1, SQLITE_IOERR_WRITE, systemErrno);
        EXPECT_EQ(errorNumberOf([&] { rs->Update(); }), errReadOnly);
        shim::stopFailing();
        EXPECT_EQ(rs->editMode(), EditMode::AddNew);
        EXPECT_EQ(difference(before, readSnapshot(path)).toStdString(), "");
    }
    EXPECT_EQ(fileCheck(path), "ok");
}

// Permission bits do not stop the administrator, so this part runs in a helper
// process as an ordinary user when we are root. The helper opens the file, starts
// a new vehicle, takes write permission away, reports what Update and Delete said,
// waits for us to look at the file, gives permission back and saves.
class ReadOnlyPermissions : public ReadOnly, public ::testing::WithParamInterface<const char*> {};

TEST_P(ReadOnlyPermissions, RemovedWhileOpenRefuseSavesAndDeletes) {
    const QString folder = dir.filePath(QStringLiteral("user"));
    const QString userPath = folder + QStringLiteral("/cars.mdb");
    ASSERT_EQ(::mkdir(QFile::encodeName(folder).constData(), 0755), 0);
    ASSERT_TRUE(QFile::rename(path, userPath));

    ChildProcess::Options options;
    options.goPipe = true;
    if (::geteuid() == 0) {
        const passwd* nobody = ::getpwnam("nobody");
        if (!nobody)
            GTEST_SKIP() << "no unprivileged user to run the helper as";
        options.user = nobody->pw_uid;
        options.group = nobody->pw_gid;
        ASSERT_EQ(::chmod(QFile::encodeName(dir.path()).constData(), 0711), 0);
        for (const QString& owned : {folder, userPath})
            ASSERT_EQ(::chown(QFile::encodeName(owned).constData(), nobody->pw_uid, nobody->pw_gid),
                      0);
    }
    const QByteArray before = fileBytes(userPath);

    ChildProcess child(QStringLiteral(CRASH_CHILD),
                       {QLatin1String(GetParam()), userPath,
                        QString::number(ChildProcess::kReportFd),
                        QString::number(ChildProcess::kGoFd)},
                       options);
    ASSERT_TRUE(child.started());
    QByteArray out;
    for (int waited = 0; out.count('\n') < 2 && waited < 100; ++waited)
        out += child.readFor(100);
    // The error number and then the edit mode: 2 while the new row is pending.
    EXPECT_TRUE(out.startsWith("UPDATE " + QByteArray::number(errReadOnly) + " 2\n"))
        << out.toStdString();
    EXPECT_TRUE(out.contains("DELETE " + QByteArray::number(errReadOnly) + " 0\n"))
        << out.toStdString();
    EXPECT_TRUE(fileBytes(userPath) == before) << "the file changed";
    EXPECT_FALSE(QFile::exists(userPath + QStringLiteral("-journal")));

    child.sendGo();
    out = child.readToEnd();
    const int status = child.wait();
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(out.toStdString(), "SAVE 0 0\n");
    EXPECT_EQ(lookups(userPath), (QStringList{"Kept", "Pending"}));
    EXPECT_EQ(fileCheck(userPath), "ok");
}

INSTANTIATE_TEST_SUITE_P(FileAndFolder, ReadOnlyPermissions,
                         ::testing::Values("readonly", "readonly-folder"), [](const auto& info) {
                             return std::string(info.param) == "readonly" ? "FileOnly"
                                                                          : "FileAndFolder";
                         });
