#pragma once

#include "records/BoundTextBox.h"
#include "records/DataControl.h"
#include "records/RecordWindows.h"
#include "records/frmVehicleInfo.h"
#include "shell/ShellTestSupport.h"
#include "store/Database.h"
#include "store/Recordset.h"
#include "store/modCreateDB.h"

#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <sqlite3.h>

namespace records_test {

// One value read straight from the file (empty text for no row or no value).
inline QString scalar(const QString& path, const char* sql) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* stmt = nullptr;
    QString result;
    if (sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr) == SQLITE_OK &&
        sqlite3_step(stmt) == SQLITE_ROW && sqlite3_column_text(stmt, 0))
        result = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return result;
}

inline void execute(const QString& path, const char* sql) {
    sqlite3* db = nullptr;
    sqlite3_open(path.toUtf8().constData(), &db);
    ASSERT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sql;
    sqlite3_close(db);
}

// The buttons a user can press: shown, enabled and not covered by another button.
inline QStringList usableButtons(QWidget& window) {
    QStringList usable;
    for (QPushButton* button : window.findChildren<QPushButton*>()) {
        const QPoint centre = button->geometry().center();
        if (button->isVisible() && button->isEnabled() && window.childAt(centre) == button)
            usable << button->objectName();
    }
    usable.sort();
    return usable;
}

// A main window whose remembered database is a new file with the program's layout,
// its Window menu wired to the real record windows, shown and active.
class RecordWindowTest : public shell_test::ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        ASSERT_TRUE(dir.isValid());
        path = dir.filePath(QStringLiteral("cars.mdb"));
        ASSERT_TRUE(modCreateDB::CreateNewDatabase(path));
        modCreateDB::CurrentDatabase.reset();
        boxes.clear();
    }

    shell::MDIForm1& showFrame() {
        shell_test::rememberPath(path);
        makeForm();
        records::registerRecordWindows(*form);
        form->resize(900, 700);
        form->show();
        EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
        return *form;
    }

    // Rows of VehicleInfo by look-up text, with a year, through the record store.
    void addVehicles(const QStringList& lookups) {
        auto db = store::Database::OpenDatabase(path);
        auto rs = db->OpenRecordset(QStringLiteral("VehicleInfo"));
        int year = 2001;
        for (const QString& lookup : lookups) {
            rs->AddNew();
            rs->setValue(QStringLiteral("VehicleLookup"), lookup);
            rs->setValue(QStringLiteral("VehicleYear"), year++);
            rs->Update();
        }
    }

    // Deletes a vehicle as the user does: in the vehicle window (which comes to the
    // front), moved to the vehicle, Delete, Yes. Its fuel and work orders go with it.
    void deleteVehicleInItsWindow(const QString& lookup) {
        item("mnuVehicleInformation")->trigger();
        auto* vehicles = qobject_cast<records::frmVehicleInfo*>(
            form->openChildWindow(shell::ChildWindow::VehicleInformation));
        ASSERT_NE(vehicles, nullptr);
        ASSERT_EQ(form->mdiArea()->activeSubWindow(), vehicles->subWindow());
        click(vehicles->Data1->findChild<QToolButton*>(QStringLiteral("btnFirst")));
        for (int i = 0; i < 100 && vehicles->txtLookUp->text() != lookup; ++i)
            click(vehicles->Data1->findChild<QToolButton*>(QStringLiteral("btnNext")));
        ASSERT_EQ(vehicles->txtLookUp->text(), lookup);
        const int before = boxes.count();
        click(vehicles->cmdDelete); // answered Yes
        ASSERT_EQ(boxes.count(), before + 1) << "only the question";
    }

    int count(const char* table) const {
        return scalar(path, (QByteArray("SELECT count(*) FROM ") + table).constData()).toInt();
    }

    // The file is sound: no damage, no row whose owner is missing.
    void expectFileConsistent() const {
        EXPECT_EQ(scalar(path, "PRAGMA integrity_check"), QStringLiteral("ok"));
        EXPECT_EQ(scalar(path, "PRAGMA foreign_key_check"), QString());
    }

    static void click(QAbstractButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
    // Replaces a box's text as a user would: select all, type.
    static void retype(QLineEdit* box, const QString& text) {
        box->setFocus();
        box->selectAll();
        if (text.isEmpty())
            QTest::keyClick(box, Qt::Key_Delete);
        else
            QTest::keyClicks(box, text);
    }

    // The last box is the window's error box: its number first, then the given words.
    void expectErrorBox(int number, const QString& mentions) const {
        ASSERT_GE(boxes.count(), 1);
        const QString prefix = QStringLiteral("Error #%1\r\n").arg(number);
        EXPECT_TRUE(boxes.last().prompt.startsWith(prefix)) << boxes.last().prompt.toStdString();
        EXPECT_TRUE(boxes.last().prompt.contains(mentions)) << boxes.last().prompt.toStdString();
        EXPECT_EQ(boxes.last().style, 48);
        EXPECT_EQ(boxes.last().title, QStringLiteral("Error"));
    }

    // Exit and the session's end are refused, with the main window's box.
    void expectCloseRefused() {
        const int before = boxes.count();
        EXPECT_FALSE(form->sessionMayEnd());
        ASSERT_EQ(boxes.count(), before + 1);
        EXPECT_EQ(boxes.last().title, QStringLiteral("Can Not Shutdown"));
    }
    void expectCloseAllowed() {
        const int before = boxes.count();
        EXPECT_TRUE(form->sessionMayEnd());
        EXPECT_EQ(boxes.count(), before);
    }

    QTemporaryDir dir;
    QString path;
};

} // namespace records_test
