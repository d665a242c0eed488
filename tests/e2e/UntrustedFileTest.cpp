// A file is taken into use only once it has passed the checks File Open makes, also
// when it is the file remembered from the last run: a file whose layout is not the
// program's, or that holds a trigger, opens no record window, is named in one box
// with the reason, and is left exactly as it was. What another program stores in a
// file the program has open never runs.
#include "FileTroubles.h"

using namespace e2e;

namespace {

QByteArray bytesOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

class UntrustedFile : public TroubleSession {
protected:
    // Last run made the file and put rows in it; another program then changed it.
    void rememberFileChangedBy(const QString& sql) {
        startWithNewDatabase();
        putInSomeRows();
        killProgram();
        executeOnFile(databasePath, sql);
        before = bytesOf(databasePath);
    }

    // One box that names the file and the words of the reason; no record window
    // opened, nothing written.
    void expectRefused(const QString& reason) {
        ASSERT_EQ(boxes.count(), 1);
        const QString prompt = boxes.last().prompt;
        EXPECT_TRUE(prompt.contains(databasePath)) << prompt.toStdString();
        EXPECT_TRUE(prompt.contains(reason)) << prompt.toStdString();
        EXPECT_TRUE(program->mdiArea()->subWindowList().isEmpty()) << "a window was left";
        EXPECT_TRUE(bytesOf(databasePath) == before) << "the file was written";
        EXPECT_FALSE(QFile::exists(databasePath + QStringLiteral("-journal")));
        boxes.clear();
    }

    QByteArray before;
};

// The file remembered from the last run is shown as in use, as before; the first
// record window finds it is not fit to be used.
TEST_F(UntrustedFile, RememberedFileIsCheckedByTheFirstRecordWindow) {
    const struct {
        const char* change;
        const char* reason;
    } cases[] = {
        {"ALTER TABLE Fuel DROP COLUMN FuelCost; ALTER TABLE Fuel ADD COLUMN FuelCost TEXT",
         "field 'FuelCost' of table 'Fuel' has another type"},
        {"CREATE TRIGGER wipe AFTER INSERT ON Fuel BEGIN DELETE FROM WorkOrder; END", "trigger"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.change);
        ASSERT_NO_FATAL_FAILURE(rememberFileChangedBy(QLatin1String(c.change)));
        start();
        EXPECT_EQ(program->windowTitle(), QStringLiteral("Drivolex - ") + databasePath);
        EXPECT_EQ(boxes.count(), 0) << "starting asks nothing";

        for (const QString& window :
             {QStringLiteral("Gas Purchases"), QStringLiteral("Vehicle Information"),
              QStringLiteral("Service Records")}) {
            SCOPED_TRACE(window.toStdString());
            choose("mnuWindow", window);
            ASSERT_NO_FATAL_FAILURE(expectRefused(QLatin1String(c.reason)));
        }
        EXPECT_EQ(query(QStringLiteral("SELECT count(*) FROM WorkOrder")), QStringList{"1"});
        killProgram();
        QFile::remove(databasePath);
    }
}

TEST_F(UntrustedFile, FileOpenRefusesAFileWithATrigger) {
    ASSERT_NO_FATAL_FAILURE(rememberFileChangedBy(QStringLiteral(
        "CREATE TRIGGER wipe AFTER INSERT ON Fuel BEGIN DELETE FROM WorkOrder; END")));
    start();
    answerFileDialogsWith(databasePath);
    choose("mnuFile", QStringLiteral("Open"));
    EXPECT_EQ(boxes.last().title, QStringLiteral("Open Data File"));
    ASSERT_NO_FATAL_FAILURE(expectRefused(QStringLiteral("trigger named 'wipe'")));
}

// Another program adds a trigger while the fuel window is open: the next purchase
// saves, and every work order stays.
TEST_F(UntrustedFile, TriggerAddedWhileTheFileIsOpenDoesNotFireOnAFuelSave) {
    startWithNewDatabase();
    putInSomeRows();
    QWidget* fuel = openWindow(QStringLiteral("Gas Purchases"), QStringLiteral("Gas Purchases"));
    ASSERT_NE(fuel, nullptr);
    pick(qobject_cast<QComboBox*>(labelled(fuel, QStringLiteral("Vehicle"))),
         QStringLiteral("Alpha"));
    executeOnFile(databasePath, QStringLiteral("CREATE TRIGGER wipe AFTER INSERT ON Fuel BEGIN "
                                               "DELETE FROM WorkOrder; END"));

    press(fuel, "cmdAdd");
    typeInto(fuel, QStringLiteral("Date"), QStringLiteral("2/1/2024"));
    typeInto(fuel, QStringLiteral("Gals"), QStringLiteral("9"));
    typeInto(fuel, QStringLiteral("Cost"), QStringLiteral("30"));
    typeInto(fuel, QStringLiteral("Miles"), QStringLiteral("400"));
    press(fuel, "cmdUpdate");
    EXPECT_EQ(boxes.count(), 0) << boxes.last().prompt.toStdString();
    EXPECT_EQ(query(QStringLiteral("SELECT count(*) FROM Fuel")), QStringList{"2"});
    EXPECT_EQ(query(QStringLiteral("SELECT count(*) FROM WorkOrder")), QStringList{"1"})
        << "the trigger fired";
    expectFileSound();
}

} // namespace
