// The Reminders window on a real file: what it lists, the dialog that adds and edits,
// Done and Delete, the Due Soon thresholds, and the main window's status line.
#include "records/GasWindowFixture.h"
#include "reminders/ReminderStore.h"
#include "reminderwindows/ReminderWindows.h"
#include "reminderwindows/frmReminderEdit.h"
#include "reminderwindows/frmReminders.h"

#include "platform/FileDialog.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QTableWidget>
#include <QTimer>
#include <functional>

namespace {

using records_test::execute;
using records_test::scalar;
using reminderwindows::frmReminderEdit;
using reminderwindows::frmReminders;

class ReminderWindowTest : public records_test::GasWindowTest {
protected:
    // Civic has driven to 11,000 miles; Pickup has no readings.
    void addVehiclesAndDriving() {
        addVehicles({QStringLiteral("Civic"), QStringLiteral("Pickup")});
        const QDate today = QDate::currentDate();
        addPurchases(
            QStringLiteral("Civic"),
            {{today.addDays(-60).toString(QStringLiteral("M/d/yyyy")), "10", "10000", true, "30"},
             {today.addDays(-10).toString(QStringLiteral("M/d/yyyy")), "10", "11000", true, "30"}});
    }

    qint64 store(const QString& vehicle, const QString& name, std::optional<QDate> dueDate,
                 std::optional<qint64> dueMiles, std::optional<qint64> repeatMiles = std::nullopt,
                 std::optional<int> repeatMonths = std::nullopt) {
        reminders::Reminder r;
        r.vehicleId = vehicleId(vehicle);
        r.name = name;
        r.dueDate = dueDate;
        r.dueMiles = dueMiles;
        r.repeatMiles = repeatMiles;
        r.repeatMonths = repeatMonths;
        auto db = store::Database::OpenDatabase(path);
        return reminders::addReminder(db->handle(), r);
    }

    // Civic's oil 300 miles overdue and repeating, its tune-up due in 10 days, Pickup's
    // grease in 100.
    void addThreeReminders() {
        const QDate today = QDate::currentDate();
        oil = store(QStringLiteral("Civic"), QStringLiteral("Change Oil"), std::nullopt, 10700,
                    5000, 6);
        tuneUp = store(QStringLiteral("Civic"), QStringLiteral("Tune Up"), today.addDays(10),
                       std::nullopt);
        store(QStringLiteral("Pickup"), QStringLiteral("Grease"), today.addDays(100), std::nullopt);
    }

    frmReminders& openReminders() {
        if (!form) {
            showFrame();
            reminderwindows::registerReminderWindow(*form);
        }
        item("mnuReminders")->trigger();
        window = qobject_cast<frmReminders*>(form->openChildWindow(shell::ChildWindow::Reminders));
        EXPECT_NE(window, nullptr);
        return *window;
    }

    // The list's row of a reminder by its name: every cell's text.
    QStringList row(const QString& name) const {
        QTableWidget* list = window->dbgReminders;
        for (int r = 0; r < list->rowCount(); ++r)
            if (list->item(r, frmReminders::ReminderColumn)->text() == name) {
                QStringList cells;
                for (int c = 0; c < list->columnCount(); ++c)
                    cells << list->item(r, c)->text();
                return cells;
            }
        return {};
    }
    QString state(const QString& name) const { return row(name).value(frmReminders::StateColumn); }
    void selectRow(const QString& name) {
        for (const auto& line : window->lines())
            if (line.reminder.name == name)
                window->selectReminder(line.reminder.reminderId);
    }

    // Opens the dialog with the command and drives it while it is shown; what is left
    // open is cancelled.
    void inDialog(const std::function<void()>& open,
                  const std::function<void(frmReminderEdit&)>& drive) {
        bool driven = false;
        QTimer::singleShot(0, form.get(), [&] {
            auto* dialog = qobject_cast<frmReminderEdit*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr) << "no reminder dialog";
            driven = true;
            drive(*dialog);
            if (dialog->isVisible())
                dialog->reject();
        });
        open();
        EXPECT_TRUE(driven);
    }

    // The dialog's focus is on the field (or the box inside it).
    static bool focusedIn(QWidget& dialog, QWidget* field) {
        QWidget* focus = dialog.focusWidget();
        return focus && (focus == field || field->isAncestorOf(focus));
    }

    QString reminderRows() const {
        return scalar(path, "SELECT group_concat(Name || '|' || ifnull(DueDate, '') || '|' || "
                            "ifnull(DueMiles, '') || '|' || ifnull(RepeatMiles, '') || '|' || "
                            "ifnull(RepeatMonths, '') || '|' || Closed, ';') FROM "
                            "(SELECT * FROM drivolex_reminder ORDER BY ReminderID)");
    }

    QPointer<frmReminders> window;
    qint64 oil = 0;
    qint64 tuneUp = 0;
};

TEST_F(ReminderWindowTest, ListsEachReminderWithItsStateAndFollowsTheThresholds) {
    addVehiclesAndDriving();
    addThreeReminders();
    openReminders();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Reminders"));
    EXPECT_TRUE(window->subWindow()->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(window->subWindow()->windowFlags() & Qt::WindowCloseButtonHint);
    QStringList vehicles;
    for (int i = 0; i < window->cboVehicleID->count(); ++i)
        vehicles << window->cboVehicleID->itemText(i);
    EXPECT_EQ(vehicles, (QStringList{"All Vehicles", "Civic", "Pickup"}));
    EXPECT_EQ(window->dbgReminders->rowCount(), 3);
    const QDate today = QDate::currentDate();
    EXPECT_EQ(row(QStringLiteral("Change Oil")).mid(0, 6),
              (QStringList{"Civic", "Change Oil", "", "10,700", "every 5,000 miles or 6 months",
                           "Overdue"}));
    EXPECT_EQ(row(QStringLiteral("Tune Up")),
              (QStringList{"Civic", "Tune Up", today.addDays(10).toString("M/d/yyyy"), "", "",
                           "Due Soon", ""}));
    EXPECT_EQ(row(QStringLiteral("Grease")).value(frmReminders::StateColumn),
              QStringLiteral("Upcoming"));

    // Due Soon within 5 days: the tune-up is upcoming, and the setting is kept.
    window->txtSoonDays->setValue(5);
    EXPECT_EQ(state(QStringLiteral("Tune Up")), QStringLiteral("Upcoming"));
    EXPECT_EQ(reminderwindows::readThresholds(form->registryStore()).days, 5);
    EXPECT_EQ(form->dueRemindersText(),
              QStringLiteral("1 reminder due: Civic - Change Oil (overdue by 300 miles)"));

    // One vehicle at a time.
    window->cboVehicleID->setCurrentIndex(window->cboVehicleID->findText(QStringLiteral("Pickup")));
    EXPECT_EQ(window->dbgReminders->rowCount(), 1);
    EXPECT_EQ(boxes.count(), 0);
}

TEST_F(ReminderWindowTest, AddThroughTheDialogStoresTheReminderAndEditChangesIt) {
    addVehiclesAndDriving();
    openReminders();
    EXPECT_FALSE(window->cmdEdit->isEnabled()) << "nothing to edit yet";
    inDialog([&] { click(window->cmdAdd); },
             [&](frmReminderEdit& dialog) {
                 EXPECT_EQ(dialog.lblName->buddy(), dialog.txtName);
                 EXPECT_EQ(dialog.lblDueMiles->buddy(), dialog.txtDueMiles);
                 dialog.cboVehicle->setCurrentIndex(
                     dialog.cboVehicle->findText(QStringLiteral("Pickup")));
                 dialog.txtName->setCurrentIndex(
                     dialog.txtName->findText(QStringLiteral("Change Oil")));
                 retype(dialog.txtDueMiles, QStringLiteral("55,500"));
                 retype(dialog.txtRepeatMiles, QStringLiteral("5000"));
                 retype(dialog.txtRepeatMonths, QStringLiteral("6"));
                 click(dialog.chkDueDate);
                 dialog.dtpDueDate->setDate(QDate(2027, 3, 1));
                 dialog.txtNote->setPlainText(QStringLiteral("5W-30"));
                 click(dialog.cmdOK);
                 EXPECT_FALSE(dialog.isVisible());
             });
    EXPECT_EQ(reminderRows(), QStringLiteral("Change Oil|2027-03-01|55500|5000|6|0"));
    EXPECT_EQ(scalar(path, "SELECT Note FROM drivolex_reminder"), QStringLiteral("5W-30"));
    EXPECT_EQ(row(QStringLiteral("Change Oil")).value(0), QStringLiteral("Pickup"));
    EXPECT_TRUE(window->cmdEdit->isEnabled()) << "the new row is the current one";

    // Enter on the row edits it.
    window->dbgReminders->setFocus();
    inDialog([&] { QTest::keyClick(window->dbgReminders, Qt::Key_Return); },
             [&](frmReminderEdit& dialog) {
                 EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Edit Reminder"));
                 EXPECT_EQ(dialog.txtDueMiles->text(), QStringLiteral("55500"));
                 EXPECT_TRUE(dialog.chkDueDate->isChecked());
                 click(dialog.chkDueDate);
                 retype(dialog.txtRepeatMonths, QString());
                 click(dialog.cmdOK);
             });
    EXPECT_EQ(reminderRows(), QStringLiteral("Change Oil||55500|5000||0"));
    EXPECT_EQ(row(QStringLiteral("Change Oil")).value(frmReminders::RepeatColumn),
              QStringLiteral("every 5,000 miles"));
    EXPECT_EQ(boxes.count(), 0);
}

TEST_F(ReminderWindowTest, ABadEntryNamesItsFieldKeepsTheFocusThereAndStoresNothing) {
    addVehiclesAndDriving();
    openReminders();
    inDialog([&] { click(window->cmdAdd); },
             [&](frmReminderEdit& dialog) {
                 click(dialog.cmdOK);
                 ASSERT_EQ(boxes.count(), 1);
                 EXPECT_EQ(boxes.last().prompt, QStringLiteral("Enter the reminder's name."));
                 EXPECT_TRUE(focusedIn(dialog, dialog.txtName));

                 dialog.txtName->setCurrentText(QStringLiteral("Tires"));
                 retype(dialog.txtDueMiles, QStringLiteral("12k"));
                 click(dialog.cmdOK);
                 ASSERT_EQ(boxes.count(), 2);
                 EXPECT_TRUE(boxes.last().prompt.startsWith(
                     QStringLiteral("Due miles must be a whole number")))
                     << boxes.last().prompt.toStdString();
                 EXPECT_TRUE(boxes.last().prompt.contains(QStringLiteral("\"12k\"")));
                 EXPECT_TRUE(focusedIn(dialog, dialog.txtDueMiles));

                 retype(dialog.txtDueMiles, QString());
                 click(dialog.cmdOK);
                 ASSERT_EQ(boxes.count(), 3);
                 EXPECT_EQ(boxes.last().prompt,
                           QStringLiteral("Enter a due date, a due odometer, or both."));

                 retype(dialog.txtDueMiles, QStringLiteral("20000"));
                 retype(dialog.txtRepeatMonths, QStringLiteral("0"));
                 click(dialog.cmdOK);
                 ASSERT_EQ(boxes.count(), 4);
                 EXPECT_TRUE(boxes.last().prompt.contains(QStringLiteral("months")));
                 EXPECT_TRUE(focusedIn(dialog, dialog.txtRepeatMonths));
                 EXPECT_TRUE(dialog.isVisible()) << "the entries stay for another try";
             });
    EXPECT_EQ(scalar(path, "SELECT count(*) FROM drivolex_reminder").toInt(), 0);
    EXPECT_EQ(window->dbgReminders->rowCount(), 0);
}

TEST_F(ReminderWindowTest, DoneRollsARepeatingReminderForwardAndClosesAPlainOne) {
    addVehiclesAndDriving();
    addThreeReminders();
    openReminders();
    const QDate today = QDate::currentDate();
    selectRow(QStringLiteral("Change Oil"));
    click(window->cmdDone);
    // Done today at the latest reading, 11,000: next at 16,000 or in six months.
    EXPECT_EQ(row(QStringLiteral("Change Oil")).mid(2, 4),
              (QStringList{today.addMonths(6).toString("M/d/yyyy"), "16,000",
                           "every 5,000 miles or 6 months", "Upcoming"}));
    EXPECT_EQ(
        scalar(path, QStringLiteral("SELECT DoneDate || '|' || DoneMiles FROM drivolex_reminder "
                                    "WHERE ReminderID = %1")
                         .arg(oil)
                         .toUtf8()
                         .constData()),
        today.toString(Qt::ISODate) + QStringLiteral("|11000"));

    selectRow(QStringLiteral("Tune Up"));
    click(window->cmdDone);
    EXPECT_EQ(state(QStringLiteral("Tune Up")), QStringLiteral("Done"));
    EXPECT_EQ(
        scalar(path, QStringLiteral("SELECT Closed FROM drivolex_reminder WHERE ReminderID = %1")
                         .arg(tuneUp)
                         .toUtf8()
                         .constData()),
        QStringLiteral("1"));
    EXPECT_FALSE(window->cmdDone->isEnabled()) << "a closed reminder is done already";
    EXPECT_EQ(boxes.count(), 0);
}

TEST_F(ReminderWindowTest, DeleteAsksFirstAndNoKeepsTheReminder) {
    addVehiclesAndDriving();
    addThreeReminders();
    openReminders();
    selectRow(QStringLiteral("Tune Up"));
    window->dbgReminders->setFocus();
    boxes.answerNext(platform::vbNo);
    QTest::keyClick(window->dbgReminders, Qt::Key_Delete);
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.last().title, QStringLiteral("Delete Record?"));
    EXPECT_TRUE(boxes.last().prompt.contains(QStringLiteral("Tune Up")));
    EXPECT_EQ(count("drivolex_reminder"), 3);

    click(window->cmdDelete); // Yes
    EXPECT_EQ(count("drivolex_reminder"), 2);
    EXPECT_TRUE(row(QStringLiteral("Tune Up")).isEmpty());
    EXPECT_EQ(window->dbgReminders->rowCount(), 2);
}

TEST_F(ReminderWindowTest, TheStatusLineTellsWhatIsDueOnOpeningAndItsClickOpensTheWindow) {
    addVehiclesAndDriving();
    addThreeReminders();
    shell_test::rememberPath(path);
    makeForm(false);
    records::registerRecordWindows(*form);
    reminderwindows::registerReminderWindow(*form);
    form->MDIForm_Load();
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    QLabel* due = form->findChild<QLabel*>(QStringLiteral("lblRemindersDue"));
    ASSERT_EQ(due, form->dueRemindersLine());
    EXPECT_TRUE(due->isVisible());
    EXPECT_EQ(form->dueRemindersText(),
              QStringLiteral("2 reminders due: Civic - Change Oil (overdue by 300 "
                             "miles), Civic - Tune Up (due in 10 days)"));
    EXPECT_FALSE(due->accessibleName().isEmpty());
    EXPECT_EQ(due->accessibleDescription(), form->dueRemindersText());
    EXPECT_EQ(due->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(boxes.count(), 0) << "no box interrupts the start";

    QTest::mouseClick(due, Qt::LeftButton);
    window = qobject_cast<frmReminders*>(form->openChildWindow(shell::ChildWindow::Reminders));
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(form->mdiArea()->activeSubWindow(), window->subWindow());

    // Done in the window: the line follows.
    selectRow(QStringLiteral("Change Oil"));
    click(window->cmdDone);
    EXPECT_EQ(form->dueRemindersText(),
              QStringLiteral("1 reminder due: Civic - Tune Up (due in 10 days)"));

    // The tune-up deleted behind the window's back: the line follows when another
    // window comes to the front.
    execute(path, "DELETE FROM drivolex_reminder WHERE Name = 'Tune Up'");
    item("mnuVehicleInformation")->trigger();
    EXPECT_FALSE(due->isVisible());

    // Another file, with nothing due, taken into use: the line goes.
    execute(path, "UPDATE drivolex_reminder SET DueMiles = 10000, Closed = 0");
    form->refreshDueReminders();
    ASSERT_TRUE(due->isVisible());
    window->cmdClose->click();
    const QString other = dir.filePath(QStringLiteral("other.mdb"));
    ASSERT_TRUE(modCreateDB::CreateNewDatabase(other));
    modCreateDB::CurrentDatabase.reset();
    platform::FileDialog::setShower([other](const platform::FileDialog&) { return other; });
    item("mnuFileOpen")->trigger();
    platform::FileDialog::setShower({});
    EXPECT_EQ(shell::DatabasePath, other);
    EXPECT_FALSE(due->isVisible());
    EXPECT_TRUE(form->dueRemindersText().isEmpty());
}

} // namespace
