#include "ScriptedFileDialog.h"
#include "platform/FileDialog.h"
#include "shell/modGetFileName.h"
#include "store/StoreTestFiles.h"
#include "store/modCreateDB.h"
#include "support/MsgBoxRecorder.h"
#include "support/UnwritableFile.h"

#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTimer>
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
    EXPECT_EQ(dialog.initDir, modGetFileName::startFolder(QCoreApplication::applicationDirPath()));
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
    EXPECT_EQ(dialog.initDir, modGetFileName::startFolder(QCoreApplication::applicationDirPath()));
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

// An environment variable set for as long as the object lives.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const QByteArray& value) : m_name(name), m_old(qgetenv(name)) {
        qputenv(name, value);
    }
    ~ScopedEnv() { qputenv(m_name, m_old); }

private:
    const char* m_name;
    QByteArray m_old;
};

TEST(FileDialogs, DialogsStartInTheProgramFolderOnlyWhenTheUserMayWriteThere) {
    QTemporaryDir home;
    const QString papers = home.filePath(QStringLiteral("Papers"));
    ASSERT_TRUE(QDir().mkpath(papers));
    ASSERT_TRUE(QDir().mkpath(home.filePath(QStringLiteral("config"))));
    writeFile(home.filePath(QStringLiteral("config/user-dirs.dirs")),
              "XDG_DOCUMENTS_DIR=\"$HOME/Papers\"\n");
    const ScopedEnv homeVariable("HOME", QFile::encodeName(home.path()));
    const ScopedEnv configVariable("XDG_CONFIG_HOME",
                                   QFile::encodeName(home.filePath(QStringLiteral("config"))));

    QTemporaryDir program;
    EXPECT_EQ(modGetFileName::startFolder(program.path()), program.path());

    // An installed program's folder, like /usr/bin: the documents folder, by its XDG name.
    ASSERT_EQ(::chmod(QFile::encodeName(program.path()).constData(), 0555), 0);
    const bool administrator = ::geteuid() == 0;
    if (administrator && !testing_support::setImmutable(program.path(), true)) {
        ::chmod(QFile::encodeName(program.path()).constData(), 0755);
        GTEST_SKIP() << "this file system cannot make a folder unwritable for the administrator";
    }
    EXPECT_EQ(modGetFileName::startFolder(program.path()), papers);
    EXPECT_EQ(modGetFileName::startFolder(home.filePath(QStringLiteral("gone"))), papers)
        << "a folder that is not there";
    // No documents folder: the home folder.
    ASSERT_TRUE(QDir(papers).removeRecursively());
    EXPECT_EQ(modGetFileName::startFolder(program.path()), QDir::homePath());

    if (administrator)
        testing_support::setImmutable(program.path(), false);
    ::chmod(QFile::encodeName(program.path()).constData(), 0755);
}

TEST(FileDialogs, FilterDescriptionIsShownOnce) {
    EXPECT_EQ(platform::FileDialog::nameFilterOf(QLatin1String(modGetFileName::kDatabaseFilter)),
              QStringLiteral("Microsoft Database Files (*.mdb)"));
    EXPECT_EQ(platform::FileDialog::nameFilterOf(QStringLiteral("Text: *.txt")),
              QStringLiteral("Text (*.txt)"));
    EXPECT_EQ(platform::FileDialog::nameFilterOf(QStringLiteral("*.csv: *.csv")),
              QStringLiteral("*.csv"));

    // The real dialog, as the user sees it.
    QStringList shown;
    QString folder;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        for (QComboBox* list : dialog->findChildren<QComboBox*>(QStringLiteral("fileTypeCombo")))
            for (int i = 0; i < list->count(); ++i)
                shown << list->itemText(i);
        folder = dialog->directory().absolutePath();
        dialog->reject();
    });
    MsgBoxRecorder boxes;
    EXPECT_TRUE(modGetFileName::GetOpenDatabaseName().isEmpty());
    EXPECT_EQ(shown, QStringList{QStringLiteral("Microsoft Database Files (*.mdb)")});
    EXPECT_EQ(
        folder,
        QDir(modGetFileName::startFolder(QCoreApplication::applicationDirPath())).absolutePath());
}

} // namespace
