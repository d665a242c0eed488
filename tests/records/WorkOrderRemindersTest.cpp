// A work order's services recorded as done on the vehicle's reminders: ticked in the
// Services boxes, typed into the services grid, or stored before the order's date and
// miles were saved; once per order, and with the order kept when the reminder cannot be
// written.
#include "WorkOrderDetailsFixture.h"

#include "records/RecordsetTableModel.h"
#include "reminders/ReminderStore.h"
#include "store/Connection.h"
#include "store/Database.h"

#include <QCheckBox>

using namespace records_test;

namespace {

class WorkOrderRemindersTest : public WorkOrderDetailsTest {
protected:
    // The Civic with an order at 55,820 miles and an oil change due at 55,500 that
    // repeats every 5,000; the Pickup with an oil change of its own.
    void SetUp() override {
        WorkOrderDetailsTest::SetUp();
        addVehicles({"Civic", "Pickup"});
        civic = vehicleID("Civic");
        order = addOrder(civic, "2026-03-01", 55820);
        civicOil = addReminder(civic, " change oil ");
        pickupOil = addReminder(vehicleID("Pickup"), "Change Oil");
    }
    qint64 addReminder(int vehicle, const char* name) {
        reminders::Reminder reminder;
        reminder.vehicleId = vehicle;
        reminder.name = QLatin1String(name);
        reminder.dueMiles = 55500;
        reminder.repeatMiles = 5000;
        store::ConnectionHandle connection = store::openConnection(path, false);
        return reminders::addReminder(connection.get(), reminder);
    }
    // The reminder as the file holds it now, read with a connection of its own.
    reminders::Reminder stored(qint64 reminderId) const {
        store::ConnectionHandle connection = store::openConnection(path, false);
        const std::optional<reminders::Reminder> reminder =
            reminders::readReminder(connection.get(), reminderId);
        EXPECT_TRUE(reminder.has_value());
        return reminder.value_or(reminders::Reminder{});
    }
    // The reminder was done by the order and falls due 5,000 miles after it.
    void expectDoneByOrder(qint64 reminderId) const {
        const reminders::Reminder reminder = stored(reminderId);
        EXPECT_EQ(reminder.dueMiles, 60820);
        EXPECT_EQ(reminder.doneMiles, 55820);
        EXPECT_EQ(reminder.doneDate, QDate(2026, 3, 1));
        EXPECT_EQ(reminder.doneWorkOrderId, order);
        EXPECT_FALSE(reminder.closed);
    }
    void expectNotDone(qint64 reminderId) const {
        const reminders::Reminder reminder = stored(reminderId);
        EXPECT_EQ(reminder.dueMiles, 55500);
        EXPECT_FALSE(reminder.doneWorkOrderId.has_value());
    }
    void tick(QCheckBox* box) {
        chooseTab(0);
        box->setFocus();
        QTest::keyClick(box, Qt::Key_Space);
    }
    // Runs SQL on the file with a connection of its own, as another tool does.
    void execute(const QByteArray& sql) const {
        store::ConnectionHandle connection = store::openConnection(path, false);
        ASSERT_EQ(sqlite3_exec(connection.get(), sql.constData(), nullptr, nullptr, nullptr),
                  SQLITE_OK)
            << sqlite3_errmsg(connection.get());
    }
    void saveMiles(const QString& miles) {
        click(window->cmdEdit);
        retype(window->txtMiles, miles);
        click(window->cmdUpdate);
        ASSERT_FALSE(window->isEditing());
    }

    int civic = 0;
    int order = 0;
    qint64 civicOil = 0;
    qint64 pickupOil = 0;
};

TEST_F(WorkOrderRemindersTest, TickingTheServiceRollsTheVehiclesReminderOnOnce) {
    open();
    pick(QStringLiteral("Civic"));
    tick(window->Check2); // Change Oil
    ASSERT_TRUE(window->Check2->isChecked());
    expectDoneByOrder(civicOil);
    expectNotDone(pickupOil);

    // Unticked and ticked again, then the order saved again: done once, by this order.
    tick(window->Check2);
    tick(window->Check2);
    ASSERT_TRUE(window->Check2->isChecked());
    ASSERT_NO_FATAL_FAILURE(saveMiles(QStringLiteral("55820")));
    expectDoneByOrder(civicOil);
    EXPECT_EQ(boxes.count(), 0) << (boxes.count() ? boxes.last().prompt.toStdString() : "");
}

TEST_F(WorkOrderRemindersTest, TypingTheServiceIntoTheGridRollsTheReminderOn) {
    open();
    pick(QStringLiteral("Civic"));
    chooseTab(1);
    clickCell(window->dbgService, 0, 0);
    type(window->dbgService, QStringLiteral("Rotate tyres"));
    press(Qt::Key_Return);
    expectNotDone(civicOil);
    type(window->dbgService, QStringLiteral("CHANGE OIL"));
    press(Qt::Key_Return);
    expectDoneByOrder(civicOil);
    type(window->dbgService, QStringLiteral("Change oil"));
    press(Qt::Key_Return);
    expectDoneByOrder(civicOil); // the same order twice is done once
    expectNotDone(pickupOil);
    EXPECT_EQ(boxes.count(), 0) << (boxes.count() ? boxes.last().prompt.toStdString() : "");
}

TEST_F(WorkOrderRemindersTest, SavingTheOrdersMilesDoesItsStoredServicesOnce) {
    // A service stored with the order at other miles, by a tool that knows no
    // reminders: the order saved with its miles does it.
    addRow("WorkDone", nullptr, {{"WorkOrderID", order}, {"WorkDescription", "Change Oil"}});
    ASSERT_NO_FATAL_FAILURE(execute("UPDATE WorkOrder SET Mileage = 55000 WHERE WorkOrderID = " +
                                    QByteArray::number(order)));
    open();
    pick(QStringLiteral("Civic"));
    ASSERT_NO_FATAL_FAILURE(saveMiles(QStringLiteral("55820")));
    expectDoneByOrder(civicOil);
    ASSERT_NO_FATAL_FAILURE(saveMiles(QStringLiteral("56000")));
    EXPECT_EQ(stored(civicOil).dueMiles, 60820) << "not moved a second time";
}

TEST_F(WorkOrderRemindersTest, AReminderTheFileRefusesLosesNoServiceOfTheOrder) {
    open();
    pick(QStringLiteral("Civic"));
    // The file refuses any change of a reminder from now on (on the window's own
    // connection: the file's checks would not take the file with a trigger).
    sqlite3* shared = window->Data1->Database()->handle();
    ASSERT_EQ(sqlite3_exec(shared,
                           "CREATE TEMP TRIGGER no_done BEFORE UPDATE ON main.drivolex_reminder "
                           "BEGIN SELECT RAISE(ABORT, 'reminders are read only'); END",
                           nullptr, nullptr, nullptr),
              SQLITE_OK)
        << sqlite3_errmsg(shared);
    tick(window->Check2);
    ASSERT_EQ(boxes.count(), 1) << "the reminder's failure is told";
    EXPECT_TRUE(boxes.last().prompt.contains(QLatin1String("read only")))
        << boxes.last().prompt.toStdString();
    boxes.clear();
    EXPECT_TRUE(window->Check2->isChecked()) << "the service is stored";
    EXPECT_EQ(fileValue("SELECT group_concat(WorkDescription) FROM WorkDone WHERE WorkOrderID = " +
                        QByteArray::number(order)),
              QStringLiteral("Change Oil"));
    expectNotDone(civicOil);

    chooseTab(1);
    clickCell(window->dbgService, 1, 0);
    type(window->dbgService, QStringLiteral("change oil"));
    press(Qt::Key_Return);
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_EQ(window->dbgService->recordsetModel()->storedRowCount(), 2) << "the line is stored";
    EXPECT_EQ(window->dbgService->recordsetModel()->pendingRow(), -1);
    expectFileConsistent();
}

} // namespace
