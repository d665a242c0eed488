// A user who keeps "oil due" in mind no more: the Reminders window opened from the
// Window menu, a reminder added through its dialog, done, and rolled on to the next.
#include "RecordWindowsByHand.h"

#include <QTableWidget>
#include <QTimer>

using namespace e2e;

namespace {

class RemindersTask : public RecordWindowsByHand {
protected:
    // Presses a button that opens a modal dialog and works the dialog while it is up.
    void pressForDialog(QWidget* window, const char* button,
                        const std::function<void(QWidget*)>& work) {
        bool worked = false;
        QTimer::singleShot(0, program.get(), [&] {
            QWidget* dialog = QApplication::activeModalWidget();
            ASSERT_NE(dialog, nullptr) << "no dialog came up";
            worked = true;
            work(dialog);
            if (dialog->isVisible())
                press(dialog, "cmdCancel");
        });
        press(window, button);
        EXPECT_TRUE(worked);
    }
};

TEST_F(RemindersTask, AddAReminderFromTheWindowMenuAndMarkItDone) {
    startWithNewDatabase();
    QWidget* vehicles =
        openWindow(QStringLiteral("Vehicle Information"), QStringLiteral("Vehicle Information"));
    addVehicle(vehicles, QStringLiteral("Civic"), QStringLiteral("Honda"), QStringLiteral("Civic"),
               QStringLiteral("2019"));
    press(vehicles, "cmdClose");

    QWidget* reminders = openWindow(QStringLiteral("Reminders"), QStringLiteral("Reminders"));
    ASSERT_NE(reminders, nullptr);
    EXPECT_EQ(shown(labelled(reminders, QStringLiteral("Vehicle"))),
              QStringLiteral("All Vehicles"));
    pressForDialog(reminders, "cmdAdd", [](QWidget* dialog) {
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Add Reminder"));
        EXPECT_EQ(shown(labelled(dialog, QStringLiteral("Vehicle"))), QStringLiteral("Civic"));
        typeInto(dialog, QStringLiteral("Name"), QStringLiteral("Change Oil"));
        typeInto(dialog, QStringLiteral("Due miles"), QStringLiteral("3,000"));
        typeInto(dialog, QStringLiteral("Repeat every (miles)"), QStringLiteral("3000"));
        typeInto(dialog, QStringLiteral("Repeat every (months)"), QStringLiteral("6"));
        press(dialog, "cmdOK");
        EXPECT_FALSE(dialog->isVisible());
    });
    EXPECT_EQ(value(QStringLiteral("SELECT v.VehicleLookup, r.Name, r.DueMiles, r.RepeatMiles, "
                                   "r.RepeatMonths, r.DueDate FROM drivolex_reminder r JOIN "
                                   "VehicleInfo v USING (VehicleID)")),
              QStringLiteral("Civic|Change Oil|3000|3000|6|"));
    auto* list = reminders->findChild<QTableWidget*>(QStringLiteral("dbgReminders"));
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->rowCount(), 1);
    EXPECT_EQ(list->item(0, 5)->text(), QStringLiteral("Upcoming"));

    // Done today; the car has no odometer reading yet, so the miles count from 3,000.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(0, 1)).center());
    press(reminders, "cmdDone");
    const QDate today = QDate::currentDate();
    EXPECT_EQ(value(QStringLiteral("SELECT DoneDate, DueMiles, DueDate, Closed FROM "
                                   "drivolex_reminder")),
              QStringLiteral("%1|6000|%2|0")
                  .arg(today.toString(Qt::ISODate), today.addMonths(6).toString(Qt::ISODate)));
    EXPECT_EQ(list->item(0, 3)->text(), QStringLiteral("6,000"));
    EXPECT_EQ(boxes.count(), 0);
    expectFileSound();
}

} // namespace
