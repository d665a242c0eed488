// A full disk (or quota) during a save: the store says so clearly, the file stays
// as it was after the last save that returned, the row stays pending, and the
// same row saves once there is room again.
#include "FileSnapshot.h"
#include "SeededDatabase.h"
#include "ShimVfs.h"
#include "platform/AppError.h"
#include "store/Database.h"
#include "store/Recordset.h"
#include "store/StoreErrors.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <cerrno>
#include <functional>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/mount.h>
#include <unistd.h>

using namespace crash;
using namespace store;

namespace {

platform::AppError errorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const platform::AppError& error) {
        return error;
    }
    return platform::AppError(0, QStringLiteral("no error"));
}

class DiskFull : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(createSeededDatabase(path));
        shim::install();
    }
    void TearDown() override { shim::uninstall(); }

    // Runs `change` on a fresh copy of the file with the disk full after 0, 1, 2,
    // ... writes, until a change needs no more writes than that. Each time the
    // change must fail with `expectedNumber` and leave the file as it was; done
    // again on the same record set once there is room, it must leave the file as
    // the change does without any failure. Returns how many write positions failed.
    int failAtEveryWrite(int code, int systemErrno, int expectedNumber,
                         const std::function<std::unique_ptr<Recordset>(Database&)>& prepare,
                         const std::function<void(Recordset&)>& change) {
        const QByteArray original = fileBytes(path);
        const Snapshot before = readSnapshot(path);
        {
            auto db = Database::OpenDatabase(path);
            change(*prepare(*db));
        }
        const Snapshot after = readSnapshot(path);
        for (int okWrites = 0; okWrites < 200; ++okWrites) {
            SCOPED_TRACE("writes before the disk is full: " + std::to_string(okWrites));
            restore(original);
            auto db = Database::OpenDatabase(path);
            std::unique_ptr<Recordset> rs = prepare(*db);
            shim::failWritesAfter(okWrites, code, systemErrno);
            const platform::AppError error = errorOf([&] { change(*rs); });
            const bool failed = shim::failedWrites() > 0;
            shim::stopFailing();
            if (!failed) {
                EXPECT_EQ(error.number(), 0) << error.text().toStdString();
                return okWrites;
            }
            EXPECT_EQ(error.number(), expectedNumber) << error.text().toStdString();
            EXPECT_TRUE(error.text().contains(path)) << error.text().toStdString();
            EXPECT_EQ(difference(before, readSnapshot(path)).toStdString(), "");
            EXPECT_EQ(fileCheck(path), "ok");

            // Room again: what was kept goes through on the same record set.
            const platform::AppError retry = errorOf([&] { change(*rs); });
            EXPECT_EQ(retry.number(), 0) << retry.text().toStdString();
            EXPECT_EQ(difference(after, readSnapshot(path)).toStdString(), "");
            if (::testing::Test::HasFailure())
                return okWrites;
        }
        ADD_FAILURE() << "the change never got through";
        return 0;
    }

    void restore(const QByteArray& bytes) {
        QFile::remove(path + QStringLiteral("-journal"));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }

    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("cars.mdb"));
};

std::unique_ptr<Recordset> newFuelRow(Database& db) {
    auto rs = db.OpenRecordset(
        QStringLiteral("Select * from Fuel where VehicleID = 1 Order by FuelDate, FuelMiles"));
    rs->AddNew();
    rs->setValue(QStringLiteral("FuelDate"), QStringLiteral("4/2/2024"));
    rs->setValue(QStringLiteral("FuelCost"), QStringLiteral("$41.07"));
    rs->setValue(QStringLiteral("FuelCity"), QStringLiteral("Bowling Green"));
    rs->setValue(QStringLiteral("VehicleID"), 1);
    return rs;
}

} // namespace

TEST_F(DiskFull, AddingARowAtAnyWriteKeepsTheFileAndThePendingRow) {
    const int positions =
        failAtEveryWrite(SQLITE_FULL, ENOSPC, errDiskFull, newFuelRow, [](Recordset& rs) {
            // The same row each time: still pending after a failure.
            EXPECT_EQ(rs.editMode(), EditMode::AddNew);
            EXPECT_EQ(rs.value(QStringLiteral("FuelCity")), QVariant("Bowling Green"));
            rs.Update();
        });
    EXPECT_GE(positions, 3) << "a save writes the journal, the file and the journal header";
}

TEST_F(DiskFull, ChangingALongNoteAtAnyWriteKeepsTheOldTextOrTheNew) {
    const QString longer(6000, u'x');
    failAtEveryWrite(
        SQLITE_FULL, ENOSPC, errDiskFull,
        [](Database& db) {
            auto rs = db.OpenRecordset(
                QStringLiteral("Select * from WorkOrderMemo where WorkorderID = 1"));
            rs->Edit();
            return rs;
        },
        [&](Recordset& rs) {
            EXPECT_EQ(rs.editMode(), EditMode::Edit); // the edit is kept after a failure
            rs.setValue(QStringLiteral("WorkOrderMemo"), longer);
            rs.Update();
        });
}

TEST_F(DiskFull, DeletingAVehicleWithItsRowsAtAnyWriteKeepsThemAll) {
    failAtEveryWrite(
        SQLITE_FULL, ENOSPC, errDiskFull,
        [](Database& db) { return db.OpenRecordset(QStringLiteral("VehicleInfo")); },
        [](Recordset& rs) {
            EXPECT_EQ(rs.value(QStringLiteral("VehicleLookup")), QVariant("Kept"));
            rs.Delete();
        });
}

// A quota reaches SQLite as a plain write error; the system's reason decides.
TEST_F(DiskFull, AFullQuotaIsReportedAsAFullDisk) {
    failAtEveryWrite(SQLITE_IOERR_WRITE, EDQUOT, errDiskFull, newFuelRow,
                     [](Recordset& rs) { rs.Update(); });
}

// The real thing on a small file system, where the system allows us to mount one.
TEST_F(DiskFull, ASmallFileSystemThatFillsUp) {
    QTemporaryDir mountDir;
    if (::mount("tmpfs", QFile::encodeName(mountDir.path()).constData(), "tmpfs", 0, "size=256k") !=
        0)
        GTEST_SKIP() << "no permission to mount a small file system here";
    const auto unmount =
        qScopeGuard([&] { ::umount2(QFile::encodeName(mountDir.path()).constData(), MNT_DETACH); });
    const QString small = mountDir.filePath(QStringLiteral("cars.mdb"));
    ASSERT_TRUE(QFile::copy(path, small));

    // Fill the file system to the last block.
    QFile filler(mountDir.filePath(QStringLiteral("filler")));
    ASSERT_TRUE(filler.open(QIODevice::WriteOnly));
    const QByteArray block(4096, 'f');
    while (filler.write(block) == block.size() && filler.flush()) {
    }
    filler.close();

    const QByteArray bytesBefore = fileBytes(small);
    auto db = Database::OpenDatabase(small);
    auto rs = db->OpenRecordset(QStringLiteral("Select * from WorkOrder where VehicleID = 1"));
    rs->AddNew();
    rs->setValue(QStringLiteral("VehicleID"), 1);
    rs->setValue(QStringLiteral("Mileage"), 130000);
    auto notes = db->OpenRecordset(QStringLiteral("WorkOrderMemo"));
    notes->Edit();
    notes->setValue(QStringLiteral("WorkOrderMemo"), QString(40000, u'm'));

    const platform::AppError error = errorOf([&] { notes->Update(); });
    EXPECT_EQ(error.number(), errDiskFull) << error.text().toStdString();
    EXPECT_EQ(notes->editMode(), EditMode::Edit);
    EXPECT_TRUE(fileBytes(small) == bytesBefore) << "the file changed";
    EXPECT_FALSE(QFile::exists(small + QStringLiteral("-journal")));

    ASSERT_TRUE(QFile::remove(filler.fileName()));
    EXPECT_NO_THROW(notes->Update());
    EXPECT_NO_THROW(rs->Update());
    const Snapshot after = readSnapshot(small);
    EXPECT_EQ(after.at(QStringLiteral("WorkOrder")).size(), 2u);
    EXPECT_EQ(after.at(QStringLiteral("WorkOrderMemo")).begin()->second.value("workordermemo"),
              QString(40000, u'm'));
    EXPECT_EQ(fileCheck(small), "ok");
}
