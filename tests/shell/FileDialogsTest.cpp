#include "ScriptedFileDialog.h"
#include "platform/FileDialog.h"
#include "shell/modGetFileName.h"
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

TEST(FileDialogs, JoinPathDoesNotDoubleTheSeparator) {
    EXPECT_EQ(modGetFileName::joinPath("/home/u", "a.mdb"), QStringLiteral("/home/u/a.mdb"));
    EXPECT_EQ(modGetFileName::joinPath("/", "a.mdb"), QStringLiteral("/a.mdb"));
}

} // namespace
