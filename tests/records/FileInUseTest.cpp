// The database file while record windows have it open: File New does not replace it,
// and a window opened after File Open works on the file now at the path.
#include "GasWindowFixture.h"

#include "shell/ScriptedFileDialog.h"

#include <QFile>
#include <cstdio>

using namespace records_test;

namespace {

class FileInUseTest : public GasWindowTest {
protected:
    QByteArray bytes() const {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};

} // namespace

TEST_F(FileInUseTest, ANewPurchaseLeftUntickedIsStoredAsNotFull) {
    addVehicles({"Alpha"});
    records::frmGas& w = open();
    pick(QStringLiteral("Alpha"));
    click(w.cmdAdd);
    EXPECT_FALSE(w.Check1->isChecked());
    retype(w.txtDate, QStringLiteral("3/15/2024"));
    retype(w.txtGals, QStringLiteral("10"));
    click(w.cmdUpdate);
    ASSERT_TRUE(boxes.boxes().isEmpty());
    EXPECT_EQ(scalar(path, "SELECT quote(FuelFull) FROM Fuel"), QStringLiteral("0"));
    EXPECT_FALSE(w.Check1->isChecked());
}

TEST_F(FileInUseTest, FileNewDoesNotReplaceTheFileAWindowHasOpen) {
    addVehicles({"Alpha"});
    records::frmGas& w = open();
    pick(QStringLiteral("Alpha"));
    const QByteArray before = bytes();
    {
        shell_test::ScriptedDialog dialog(path);
        item("mnuFileNew")->trigger();
    }
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.last().prompt, QStringLiteral("There was an error Creating your database."));
    EXPECT_EQ(boxes.last().style, 48);
    EXPECT_EQ(boxes.last().title,
              QStringLiteral("The file '%1' is in use by an open window and cannot be replaced.")
                  .arg(path));
    EXPECT_EQ(bytes(), before);
    EXPECT_EQ(shell::DatabasePath, path);

    // The window goes on working on its file.
    click(w.cmdAdd);
    retype(w.txtDate, QStringLiteral("3/15/2024"));
    click(w.cmdUpdate);
    EXPECT_EQ(boxes.count(), 1);
    EXPECT_EQ(count("Fuel"), 1);
    expectFileConsistent();
}

TEST_F(FileInUseTest, AWindowOpenedAfterFileOpenShowsTheFileNowAtThePath) {
    addVehicles({"Alpha"});
    open(); // holds the file now at the path
    // Another database file is moved to the path, as a copy from a backup would be.
    const QString other = dir.filePath(QStringLiteral("backup.mdb"));
    {
        testing_support::MsgBoxRecorder quiet;
        ASSERT_TRUE(modCreateDB::CreateNewDatabase(other));
        modCreateDB::CurrentDatabase.reset();
    }
    execute(other, "INSERT INTO VehicleInfo (VehicleLookup) VALUES ('Backup')");
    ASSERT_EQ(
        std::rename(QFile::encodeName(other).constData(), QFile::encodeName(path).constData()), 0);

    {
        shell_test::ScriptedDialog dialog(path);
        item("mnuFileOpen")->trigger();
    }
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.last().prompt, QStringLiteral("Database ") + path + " is open");
    item("mnuVehicleInformation")->trigger();
    auto* vehicles = qobject_cast<records::frmVehicleInfo*>(
        form->openChildWindow(shell::ChildWindow::VehicleInformation));
    ASSERT_NE(vehicles, nullptr);
    EXPECT_EQ(vehicles->Data1->Recordset()->value(QStringLiteral("VehicleLookup")),
              QVariant(QStringLiteral("Backup")));
}
