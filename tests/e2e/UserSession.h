#pragma once

// A user at the keyboard of the whole program: the main window as the program
// starts it, driven through its menus, buttons and keys, with every message box
// answered through the box seam and every file dialog through the dialog seam.
// What the program saved is read back from the file with plain SQL.
#include "backupwindows/BackupCommands.h"
#include "platform/FileDialog.h"
#include "platform/RegistryStore.h"
#include "records/RecordWindows.h"
#include "reminderwindows/ReminderWindows.h"
#include "shell/AppState.h"
#include "shell/MDIForm1.h"
#include "store/modCreateDB.h"
#include "support/MsgBoxRecorder.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>
#include <sqlite3.h>

// Test failures show texts as texts.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace e2e {

// Rows of a query on the file, each row's values joined by "|" (no value: empty).
inline QStringList queryFile(const QString& path, const QString& sql) {
    QStringList rows;
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr) !=
        SQLITE_OK) {
        sqlite3_close(db);
        ADD_FAILURE() << "cannot open " << path.toStdString();
        return rows;
    }
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &stmt, nullptr) != SQLITE_OK)
        ADD_FAILURE() << sqlite3_errmsg(db) << " in " << sql.toStdString();
    while (stmt && sqlite3_step(stmt) == SQLITE_ROW) {
        QStringList values;
        for (int column = 0; column < sqlite3_column_count(stmt); ++column) {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, column));
            values << (text ? QString::fromUtf8(text) : QString());
        }
        rows << values.join(QLatin1Char('|'));
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return rows;
}

class UserSession : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        forgetEverything();
    }
    void TearDown() override {
        program.reset();
        platform::FileDialog::setShower({});
        forgetEverything();
    }

    // Starts the program as its main does: the frame, its record windows, start-up,
    // shown and active.
    shell::MDIForm1& start() {
        program = std::make_unique<shell::MDIForm1>();
        records::registerRecordWindows(*program);
        backupwindows::registerBackupCommands(*program);
        reminderwindows::registerReminderWindow(*program);
        program->MDIForm_Load();
        program->show();
        EXPECT_TRUE(QTest::qWaitForWindowActive(program.get()));
        return *program;
    }
    // Ends this run of the program without asking (as if it was killed), so that
    // the next start() begins where the user left the settings and the file.
    void killProgram() {
        program.reset();
        shell::DatabasePath.clear();
        modCreateDB::CurrentDatabase.reset();
    }

    // The program started on a new database made with File New, its Success box seen.
    void startWithNewDatabase() {
        start();
        databasePath = folder.filePath(QStringLiteral("Garage.mdb"));
        answerFileDialogsWith(databasePath);
        choose("mnuFile", QStringLiteral("New"));
        ASSERT_EQ(boxes.count(), 1);
        ASSERT_EQ(boxes.last().title, QStringLiteral("Success"));
        boxes.clear();
    }

    // File dialogs answer with this path (empty: the user cancels).
    void answerFileDialogsWith(const QString& chosen) {
        platform::FileDialog::setShower([chosen](const platform::FileDialog&) { return chosen; });
    }

    // Opens a top menu by clicking its title, moves to the item and presses Enter, as
    // a user does; fails when the menu or the item cannot be reached.
    void choose(const char* menuName, const QString& itemText) {
        QMenu* menu = program->findChild<QMenu*>(QLatin1String(menuName));
        ASSERT_NE(menu, nullptr) << menuName;
        ASSERT_TRUE(menu->menuAction()->isVisible() && menu->menuAction()->isEnabled())
            << menuName << " cannot be opened";
        QMenuBar* bar = program->menuBar();
        QTest::mouseClick(bar, Qt::LeftButton, {},
                          bar->actionGeometry(menu->menuAction()).center());
        ASSERT_TRUE(QTest::qWaitFor([menu] { return menu->isVisible(); }, 2000))
            << menuName << " did not open";
        QAction* wanted = nullptr;
        for (QAction* action : menu->actions()) {
            QString caption = action->text();
            caption.remove(QLatin1Char('&'));
            if (action->isVisible() && caption == itemText)
                wanted = action;
        }
        if (!wanted || !wanted->isEnabled()) {
            menu->hide();
            FAIL() << "no usable item \"" << itemText.toStdString() << "\" in " << menuName;
        }
        menu->setActiveAction(wanted);
        // The offscreen platform leaves the closing menu as the active window, where a
        // desktop gives the activation back to the program before the item acts: do
        // what the desktop does, so that windows come to the front and keys reach the
        // control with the focus.
        const auto giveBack = QObject::connect(menu, &QMenu::aboutToHide, program.get(), [this] {
            QApplication::setActiveWindow(program.get());
        });
        QTest::keyClick(menu, Qt::Key_Return);
        QObject::disconnect(giveBack);
        QApplication::processEvents();
        if (program->isVisible() && QApplication::activeWindow() != program.get())
            QApplication::setActiveWindow(program.get());
    }

    // Opens a record window (or brings it forward) from the Window menu.
    QWidget* openWindow(const QString& menuItem, const QString& caption) {
        choose("mnuWindow", menuItem);
        QWidget* window = windowTitled(caption);
        EXPECT_NE(window, nullptr) << caption.toStdString();
        EXPECT_EQ(frontWindow(), window) << caption.toStdString() << " is not in front";
        return window;
    }

    // The record window in front, or null.
    QWidget* frontWindow() const {
        QMdiSubWindow* sub = program->mdiArea()->activeSubWindow();
        return sub ? sub->widget() : nullptr;
    }
    // The open record window with this caption, or null.
    QWidget* windowTitled(const QString& caption) const {
        for (QMdiSubWindow* sub : program->mdiArea()->subWindowList())
            if (sub->windowTitle() == caption)
                return sub->widget();
        return nullptr;
    }

    // The control a label names (its caption without the Alt marker), as a screen
    // reader finds it.
    static QWidget* labelled(QWidget* window, const QString& caption) {
        for (QLabel* label : window->findChildren<QLabel*>()) {
            QString text = label->text();
            text.remove(QLatin1Char('&'));
            if (text == caption && label->buddy())
                return label->buddy();
        }
        ADD_FAILURE() << "no control labelled \"" << caption.toStdString() << "\"";
        return nullptr;
    }

    // Clicks a button of the window; fails when it is hidden, disabled or covered.
    static void press(QWidget* window, const char* buttonName) {
        auto* button = window->findChild<QAbstractButton*>(QLatin1String(buttonName));
        ASSERT_NE(button, nullptr) << buttonName;
        ASSERT_TRUE(button->isVisible() && button->isEnabled()) << buttonName << " is not usable";
        ASSERT_EQ(window->childAt(button->mapTo(window, button->rect().center())), button)
            << buttonName << " is covered";
        QTest::mouseClick(button, Qt::LeftButton);
        QApplication::processEvents();
    }

    // Replaces the text of an entry box by typing: select everything, then the keys.
    static void type(QWidget* box, const QString& text) {
        ASSERT_NE(box, nullptr);
        ASSERT_TRUE(box->isEnabled() && box->isVisible()) << "the box does not take input";
        box->setFocus();
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        if (text.isEmpty())
            QTest::keyClick(box, Qt::Key_Delete);
        else
            QTest::keyClicks(box, text);
    }
    static void typeInto(QWidget* window, const QString& label, const QString& text) {
        type(labelled(window, label), text);
    }

    // What a box or label shows.
    static QString shown(QWidget* control) {
        if (auto* edit = qobject_cast<QLineEdit*>(control))
            return edit->text();
        if (auto* label = qobject_cast<QLabel*>(control))
            return label->text();
        if (auto* memo = qobject_cast<QPlainTextEdit*>(control))
            return memo->toPlainText();
        if (auto* combo = qobject_cast<QComboBox*>(control))
            return combo->currentText();
        ADD_FAILURE() << "cannot read " << (control ? control->objectName().toStdString() : "null");
        return {};
    }

    // Picks an entry of a drop-down list by typing its first letters, as a user does.
    static void pick(QComboBox* list, const QString& entry) {
        ASSERT_NE(list, nullptr);
        ASSERT_TRUE(list->isEnabled() && list->isVisible()) << "the list cannot be used";
        list->setFocus();
        QTest::keyClicks(list, entry);
        QApplication::processEvents();
        EXPECT_EQ(list->currentText(), entry) << "the list did not move to the entry";
    }

    QStringList query(const QString& sql) const { return queryFile(databasePath, sql); }
    QString value(const QString& sql) const {
        const QStringList rows = query(sql);
        return rows.isEmpty() ? QString() : rows.first();
    }
    // The file is sound: no damage, no row whose owner is missing.
    void expectFileSound() const {
        EXPECT_EQ(query(QStringLiteral("PRAGMA integrity_check")), QStringList{"ok"});
        EXPECT_EQ(query(QStringLiteral("PRAGMA foreign_key_check")), QStringList{});
    }

    QTemporaryDir folder;
    QString databasePath;
    testing_support::MsgBoxRecorder boxes;
    std::unique_ptr<shell::MDIForm1> program;

private:
    // No remembered file, no open file: the program as it is first installed.
    static void forgetEverything() {
        const QString settings = QSettings(QSettings::IniFormat, QSettings::UserScope,
                                           QStringLiteral("Drivolex"), QStringLiteral("Drivolex"))
                                     .fileName();
        QFile::remove(settings);
        shell::DatabasePath.clear();
        modCreateDB::CurrentDatabase.reset();
    }
};

} // namespace e2e
