// File New and File Open from the main window's menu.
#include "ScriptedFileDialog.h"
#include "ShellTestSupport.h"
#include "store/modCreateDB.h"

#include <QFile>
#include <QTemporaryDir>

using namespace shell_test;

namespace {

class FileMenu : public ShellTest {
protected:
    QString createDatabase(const QString& name) {
        const QString path = dir.filePath(name);
        testing_support::MsgBoxRecorder quiet;
        EXPECT_TRUE(modCreateDB::CreateNewDatabase(path));
        return path;
    }
    void startWith(const QString& path) {
        rememberPath(path);
        makeForm();
        boxes.clear();
        writes.clear();
    }
    QString lastOpened() const {
        return platform::RegistryStore().readText(platform::HKEY_LOCAL_MACHINE,
                                                  QStringLiteral("Drivolex\\Database"),
                                                  QStringLiteral("LastOpened"));
    }
    QTemporaryDir dir;
};

TEST_F(FileMenu, NewCreatesTheDatabaseAndTakesItIntoUse) {
    makeForm();
    const QString path = dir.filePath(QStringLiteral("garage.mdb"));
    ScriptedDialog dialog(path);
    item("mnuFileNew")->trigger();
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.last().title, QStringLiteral("Success"));
    EXPECT_EQ(shell::DatabasePath, path);
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Drivolex - ") + path);
    EXPECT_TRUE(item("mnuWindow")->isEnabled());
    EXPECT_EQ(lastOpened(), path);
    EXPECT_TRUE(QFile::exists(path));
}

TEST_F(FileMenu, CancelledOrFailedNewChangesNothing) {
    const QString old = createDatabase(QStringLiteral("old.mdb"));
    startWith(old);
    {
        ScriptedDialog cancel{QString()};
        item("mnuFileNew")->trigger();
        EXPECT_EQ(boxes.count(), 0);
    }
    {
        ScriptedDialog failing(dir.filePath(QStringLiteral("missing/new.mdb")));
        item("mnuFileNew")->trigger();
        ASSERT_EQ(boxes.count(), 1);
        EXPECT_EQ(boxes.last().prompt,
                  QStringLiteral("There was an error Creating your database."));
    }
    EXPECT_EQ(shell::DatabasePath, old);
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Drivolex - ") + old);
    EXPECT_TRUE(writes.isEmpty());
}

TEST_F(FileMenu, OpenNamesTheFileThenTakesItIntoUse) {
    const QString path = createDatabase(QStringLiteral("cars.mdb"));
    makeForm();
    ScriptedDialog dialog(path);
    QString captionWhenBoxShown;
    auto previous =
        platform::setMsgBoxResponder([&](const QString& prompt, int style, const QString& title) {
            captionWhenBoxShown = form->windowTitle();
            EXPECT_EQ(prompt, QStringLiteral("Database ") + path + " is open");
            EXPECT_EQ(style, 0);
            EXPECT_EQ(title, QStringLiteral("Drivolex"));
            return int(platform::vbOK);
        });
    item("mnuFileOpen")->trigger();
    platform::setMsgBoxResponder(std::move(previous));
    EXPECT_EQ(captionWhenBoxShown, QStringLiteral("Drivolex"));
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Drivolex - ") + path);
    EXPECT_TRUE(item("mnuWindow")->isEnabled());
    EXPECT_EQ(lastOpened(), path);
}

TEST_F(FileMenu, CancelledOpenLeavesNoDatabaseButKeepsCaptionAndRememberedPath) {
    const QString old = createDatabase(QStringLiteral("old.mdb"));
    startWith(old);
    ScriptedDialog cancel{QString()};
    item("mnuFileOpen")->trigger();
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.last().prompt,
              QStringLiteral("A valid database needs to be selected to work with this program."));
    EXPECT_EQ(boxes.last().style, 64);
    EXPECT_EQ(boxes.last().title, QStringLiteral("Need Valid Database"));
    EXPECT_TRUE(shell::DatabasePath.isEmpty());
    EXPECT_FALSE(item("mnuWindow")->isEnabled());
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Drivolex - ") + old);
    EXPECT_EQ(lastOpened(), old);
}

TEST_F(FileMenu, OpeningAFileThatIsNoDatabaseKeepsTheDatabaseInUse) {
    const QString old = createDatabase(QStringLiteral("old.mdb"));
    startWith(old);
    const QString bogus = dir.filePath(QStringLiteral("bogus.mdb"));
    QFile file(bogus);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("PK\x03\x04 not a database at all");
    file.close();

    ScriptedDialog dialog(bogus);
    item("mnuFileOpen")->trigger();
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_TRUE(boxes.last().prompt.contains(bogus));
    EXPECT_EQ(shell::DatabasePath, old);
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Drivolex - ") + old);
    EXPECT_TRUE(item("mnuWindow")->isEnabled());
    EXPECT_EQ(lastOpened(), old);
    EXPECT_TRUE(writes.isEmpty());
}

} // namespace
