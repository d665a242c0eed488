#include "ScriptedFileDialog.h"
#include "platform/FileDialog.h"
#include "shell/modGetFileName.h"
#include "store/StoreTestFiles.h"
#include "store/modCreateDB.h"
#include "support/MsgBoxRecorder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using shell_test::ScriptedDialog;
using testing_support::MsgBoxRecorder;

namespace {

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

TEST(FileDialogs, NewDialogStartsInTheProgramFolderAndReturnsFolderAndName) {
    QTemporaryDir dir;
    const QString chosen = dir.filePath(QStringLiteral("cars.mdb"));
    ScriptedDialog dialog(chosen);
    MsgBoxRecorder boxes;
    EXPECT_EQ(modGetFileName::GetNewDatabaseName(), chosen);
    EXPECT_EQ(dialog.title, QStringLiteral("Create New Database"));
    EXPECT_EQ(dialog.initDir, QCoreApplication::applicationDirPath());
    EXPECT_EQ(dialog.filters,
              QStringList{QStringLiteral("Microsoft Database Files   *.mdb: *.mdb")});
    EXPECT_FALSE(dialog.mustExist);
    EXPECT_TRUE(dialog.overwritePrompt);
    EXPECT_EQ(boxes.count(), 0);
}

TEST(FileDialogs, CancelledDialogsGiveEmptyTextAndNoBox) {
    ScriptedDialog dialog{QString()};
    MsgBoxRecorder boxes;
    EXPECT_TRUE(modGetFileName::GetNewDatabaseName().isEmpty());
    bool rejected = true;
    EXPECT_TRUE(modGetFileName::GetOpenDatabaseName(nullptr, &rejected).isEmpty());
    EXPECT_FALSE(rejected);
    EXPECT_EQ(dialog.shown, 2);
    EXPECT_EQ(boxes.count(), 0);
}

TEST(FileDialogs, OpeningADatabaseTellsWhichFileIsOpen) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("cars.mdb"));
    {
        MsgBoxRecorder quiet;
        ASSERT_TRUE(modCreateDB::CreateNewDatabase(path));
        modCreateDB::CurrentDatabase.reset();
    }
    ScriptedDialog dialog(path);
    MsgBoxRecorder boxes;
    EXPECT_EQ(modGetFileName::GetOpenDatabaseName(), path);
    EXPECT_EQ(dialog.title, QStringLiteral("Open Data File"));
    EXPECT_EQ(dialog.initDir, QCoreApplication::applicationDirPath());
    EXPECT_TRUE(dialog.mustExist);
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.last().prompt, QStringLiteral("Database ") + path + " is open");
    EXPECT_EQ(boxes.last().style, 0);
    EXPECT_EQ(boxes.last().title, QStringLiteral("Drivolex"));
}

TEST(FileDialogs, FilesThatAreNoDatabaseOfOursAreRejectedWithTheirNameAndReason) {
    QTemporaryDir dir;
    const QString text = dir.filePath(QStringLiteral("notes.mdb"));
    writeFile(text, "These are not the records you are looking for.\n");
    const QString empty = dir.filePath(QStringLiteral("empty.mdb"));
    writeFile(empty, QByteArray());
    const QString missing = dir.filePath(QStringLiteral("gone.mdb"));

    for (const QString& path : {text, empty, missing}) {
        ScriptedDialog dialog(path);
        MsgBoxRecorder boxes;
        bool rejected = false;
        EXPECT_TRUE(modGetFileName::GetOpenDatabaseName(nullptr, &rejected).isEmpty());
        EXPECT_TRUE(rejected) << path.toStdString();
        ASSERT_EQ(boxes.count(), 1);
        EXPECT_TRUE(boxes.last().prompt.contains(path)) << boxes.last().prompt.toStdString();
        EXPECT_EQ(boxes.last().style, 48);
    }
    EXPECT_EQ(QFile(empty).size(), 0); // the check wrote nothing into the file
}

// The check reads the file; it never writes it, nor anything beside it. A SQLite file
// of another program in WAL mode stays in WAL mode.
TEST(FileDialogs, TheCheckOfAForeignFileLeavesItAsItWas) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("photos.mdb"));
    ASSERT_EQ(testing_support::sqlExecute(path, "PRAGMA journal_mode = WAL; CREATE TABLE Photo "
                                                "(Name TEXT); INSERT INTO Photo VALUES ('sea')"),
              QString());
    ASSERT_FALSE(QFile::exists(path + "-wal"));
    const QByteArray bytes = testing_support::fileBytes(path);
    ASSERT_EQ(bytes.mid(18, 2), QByteArray("\x02\x02")) << "the header says WAL mode";

    ScriptedDialog dialog(path);
    MsgBoxRecorder boxes;
    bool rejected = false;
    EXPECT_TRUE(modGetFileName::GetOpenDatabaseName(nullptr, &rejected).isEmpty());
    EXPECT_TRUE(rejected);
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_TRUE(boxes.last().prompt.contains(QStringLiteral("table 'Fuel' is missing")))
        << boxes.last().prompt.toStdString();
    EXPECT_EQ(testing_support::fileBytes(path), bytes);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("photos.mdb")});
    EXPECT_EQ(testing_support::sqlScalar(path, "PRAGMA journal_mode"), QStringLiteral("wal"));
}

// Only a file that passes is opened for writing: that plays back the journal a crash
// left and brings a file of an older version up to date.
TEST(FileDialogs, AFileOfOursLeftByACrashOrOfAnOlderVersionPasses) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("cars.mdb"));
    {
        MsgBoxRecorder quiet;
        ASSERT_TRUE(modCreateDB::CreateNewDatabase(path));
        modCreateDB::CurrentDatabase.reset();
    }
    testing_support::declareTextColumnsAsVersion1(path);
    testing_support::leaveHotJournal(
        path, "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 3000) "
              "INSERT INTO VehicleInfo (VehicleLookup) SELECT 'V' || i FROM n");

    ScriptedDialog dialog(path);
    MsgBoxRecorder boxes;
    EXPECT_EQ(modGetFileName::GetOpenDatabaseName(), path);
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.last().prompt, QStringLiteral("Database ") + path + " is open");
    EXPECT_FALSE(QFile::exists(path + "-journal"));
    EXPECT_EQ(testing_support::sqlScalar(path, "SELECT count(*) FROM VehicleInfo"), "0");
    EXPECT_EQ(testing_support::sqlScalar(
                  path, "SELECT type FROM pragma_table_info('WorkOrderMemo') WHERE cid = 0"),
              QStringLiteral("MEMO TEXT"));
    EXPECT_TRUE(testing_support::fileIsConsistent(path));
}

TEST(FileDialogs, JoinPathDoesNotDoubleTheSeparator) {
    EXPECT_EQ(modGetFileName::joinPath("/home/u", "a.mdb"), QStringLiteral("/home/u/a.mdb"));
    EXPECT_EQ(modGetFileName::joinPath("/", "a.mdb"), QStringLiteral("/a.mdb"));
}

} // namespace
