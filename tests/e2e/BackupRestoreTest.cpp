// Backing up and restoring through the File menu while the record windows are open:
// File > Back Up copies what was saved, File > Restore From Backup lists the backups
// the program took by itself and puts one back, asking the window that holds a row
// not saved yet first.
#include "RecordWindowsByHand.h"

#include "backup/BackupFolder.h"
#include "backupwindows/frmRestore.h"

#include <QAction>
#include <QDateTime>
#include <QTableWidget>

using namespace e2e;

namespace {

class BackupRestore : public RecordWindowsByHand {
protected:
    void TearDown() override {
        backupwindows::frmRestore::setChooser({});
        RecordWindowsByHand::TearDown();
    }
    QWidget* vehicleWindow() {
        return openWindow(QStringLiteral("Vehicle Information"),
                          QStringLiteral("Vehicle Information"));
    }
    static QString lookups(const QString& file) {
        return queryFile(file, QStringLiteral("SELECT group_concat(VehicleLookup, ',') FROM "
                                              "(SELECT VehicleLookup FROM VehicleInfo "
                                              "ORDER BY VehicleID)"))
            .value(0);
    }
    // The restore list answers by choosing its first (newest) row; what it showed is kept.
    void chooseNewestBackup() {
        listed.clear();
        backupwindows::frmRestore::setChooser([this](backupwindows::frmRestore& dialog) {
            QTableWidget* grid = dialog.findChild<QTableWidget*>(QStringLiteral("grdBackups"));
            EXPECT_NE(grid, nullptr);
            EXPECT_FALSE(grid->accessibleName().isEmpty());
            for (int row = 0; grid && row < grid->rowCount(); ++row) {
                QStringList cells;
                for (int column = 1; column < grid->columnCount(); ++column)
                    if (column != 2) // the size varies with the engine's page use
                        cells << grid->item(row, column)->text();
                listed << cells.join(QLatin1Char('|'));
            }
            return 0;
        });
    }
    QStringList listed; // why|vehicles|fuel purchases|work orders, newest first
};

// The new vehicle being typed is not in the copy; the copy is whole.
TEST_F(BackupRestore, BackUpCopiesWhatWasSaved) {
    startWithNewDatabase();
    QWidget* vehicles = vehicleWindow();
    addVehicle(vehicles, QStringLiteral("Civic"), QStringLiteral("Honda"), QStringLiteral("Civic"),
               QStringLiteral("2019"));
    press(vehicles, "cmdAdd");
    typeInto(vehicles, QStringLiteral("Look Up"), QStringLiteral("Typed"));

    const QString copy = folder.filePath(QStringLiteral("copy.mdb"));
    QString offered, startFolder;
    platform::FileDialog::setShower([&](const platform::FileDialog& dialog) {
        offered = dialog.defaultFileName();
        startFolder = dialog.initDir();
        return copy;
    });
    choose("mnuFile", QStringLiteral("Back Up..."));
    EXPECT_EQ(boxes.count(), 0);
    EXPECT_TRUE(offered.startsWith(QStringLiteral("Garage ") +
                                   QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"))))
        << offered.toStdString();
    EXPECT_EQ(startFolder, folder.path());
    EXPECT_EQ(lookups(copy), QStringLiteral("Civic"));
    EXPECT_EQ(queryFile(copy, QStringLiteral("PRAGMA integrity_check")), QStringList{"ok"});
    // The row typed is still there to save.
    press(vehicles, "cmdUpdate");
    EXPECT_EQ(lookups(databasePath), QStringLiteral("Civic,Typed"));

    // A folder that is not there: a box names the copy, and the file goes on as it was.
    answerFileDialogsWith(folder.filePath(QStringLiteral("gone/copy.mdb")));
    choose("mnuFile", QStringLiteral("Back Up..."));
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_TRUE(boxes.last().prompt.contains(folder.filePath(QStringLiteral("gone/copy.mdb"))));
    expectFileSound();
}

// The backups taken before the day's first change and before a vehicle delete are
// listed with their counts. A kept row stops the restore; a row given up lets it go,
// and the vehicle window opens again on the restored rows.
TEST_F(BackupRestore, RestoreAsksTheWindowHoldingAnUnsavedRow) {
    startWithNewDatabase();
    QWidget* vehicles = vehicleWindow();
    addVehicle(vehicles, QStringLiteral("Civic"), QStringLiteral("Honda"), QStringLiteral("Civic"),
               QStringLiteral("2019"));
    addVehicle(vehicles, QStringLiteral("Camry"), QStringLiteral("Toyota"), QStringLiteral("Camry"),
               QStringLiteral("2020"));
    press(vehicles, "cmdDelete"); // Camry, the row on show
    ASSERT_EQ(lookups(databasePath), QStringLiteral("Civic"));
    const QAction* undoDelete = program->findChild<QAction*>(QStringLiteral("mnuEditUndoDelete"));
    ASSERT_NE(undoDelete, nullptr);
    EXPECT_TRUE(undoDelete->isEnabled());
    boxes.clear();
    press(vehicles, "cmdAdd");
    typeInto(vehicles, QStringLiteral("Look Up"), QStringLiteral("Golf"));

    chooseNewestBackup();
    boxes.answerNext(platform::vbYes); // restore?
    boxes.answerNext(platform::vbNo);  // give up the Golf? no
    choose("mnuFile", QStringLiteral("Restore From Backup..."));
    EXPECT_EQ(listed, (QStringList{QStringLiteral("Before a vehicle delete|2|0|0"),
                                   QStringLiteral("First change of the day|0|0|0")}));
    ASSERT_EQ(boxes.count(), 2);
    EXPECT_TRUE(boxes.last().prompt.contains(QStringLiteral("Vehicle Information")));
    EXPECT_EQ(lookups(databasePath), QStringLiteral("Civic"));
    EXPECT_EQ(backup::listBackups(databasePath).size(), 2);
    ASSERT_EQ(windowTitled(QStringLiteral("Vehicle Information")), vehicles);
    EXPECT_EQ(shown(labelled(vehicles, QStringLiteral("Look Up"))), QStringLiteral("Golf"));

    boxes.clear();
    boxes.answerNext(platform::vbYes);
    boxes.answerNext(platform::vbYes);
    choose("mnuFile", QStringLiteral("Restore From Backup..."));
    EXPECT_EQ(boxes.count(), 2);
    EXPECT_EQ(lookups(databasePath), QStringLiteral("Civic,Camry"));
    expectFileSound();
    // The file as it was is one more backup; the program may close again.
    const QList<backup::BackupEntry> kept = backup::listBackups(databasePath);
    ASSERT_EQ(kept.size(), 3);
    EXPECT_EQ(kept.first().reason, QStringLiteral("before-restore"));
    EXPECT_EQ(lookups(kept.first().path), QStringLiteral("Civic"));
    QWidget* reopened = windowTitled(QStringLiteral("Vehicle Information"));
    ASSERT_NE(reopened, nullptr);
    EXPECT_TRUE(program->statusText().contains(QStringLiteral("restored")));
    // The Camry's delete was made in the file that was replaced: it is no longer offered.
    EXPECT_FALSE(undoDelete->isEnabled());
    boxes.clear();
    expectExitCloses();
}

} // namespace
