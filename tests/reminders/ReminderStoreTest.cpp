// Reminders in a real file: stored, read in their order, refused when unsound, done by
// a work order's services once per order, gone with their vehicle; the status line's
// text and the calendar file made from them.
#include "reminders/ReminderStore.h"
#include "history/HistoryFiles.h"
#include "platform/AppError.h"
#include "reminders/DueList.h"
#include "reminders/IcsCalendar.h"

namespace {

using namespace reminders;

const QDate kToday(2026, 12, 9);

class ReminderStoreTest : public history_test::HistoryFile {
protected:
    void SetUp() override {
        makeFile(QStringLiteral(R"(
            INSERT INTO VehicleInfo (VehicleLookup, VehicleID) VALUES ('Civic', 1), ('Van', 2);
            INSERT INTO Fuel (FuelDate, FuelGals, FuelMiles, FuelFull, VehicleID)
                VALUES ('2026-11-01 00:00:00', 10, 54900, -1, 1),
                       ('2026-12-01 00:00:00', 10, 55820, -1, 1);
            INSERT INTO WorkOrder VALUES (1, 40, 55800, '2026-11-30 00:00:00');
            INSERT INTO WorkOrder VALUES (2, 41, 1000, '2026-11-30 00:00:00');
            INSERT INTO WorkDone VALUES (40, 1, ' change oil '), (40, 2, 'Rotate Tires');
            INSERT INTO WorkDone VALUES (41, 3, 'Change Oil');
        )"));
    }
    Reminder reminder(qint64 vehicle, const QString& name, std::optional<qint64> miles,
                      std::optional<QDate> date = {}) const {
        Reminder r;
        r.vehicleId = vehicle;
        r.name = name;
        r.dueMiles = miles;
        r.dueDate = date;
        return r;
    }
};

TEST_F(ReminderStoreTest, StoredReadAndRefusedWhole) {
    EXPECT_FALSE(hasReminderTable(connection.get()));
    EXPECT_TRUE(readReminders(connection.get()).empty()) << "no table reads as none";
    Reminder oil = reminder(1, QStringLiteral("Change Oil"), 55500);
    oil.repeatMiles = 5000;
    oil.note = QStringLiteral("0W-20, 5 quarts");
    const qint64 key = addReminder(connection.get(), oil);
    addReminder(connection.get(), reminder(2, QStringLiteral("Tune Up"), {}, kToday));
    addReminder(connection.get(), reminder(1, QStringLiteral("Brakes"), {}, kToday));
    const std::vector<Reminder> all = readReminders(connection.get());
    ASSERT_EQ(all.size(), 3u);
    // Civic first, its dated reminder before the one by miles; then the Van.
    EXPECT_EQ(all[0].name, QStringLiteral("Brakes"));
    EXPECT_EQ(all[1].reminderId, key);
    EXPECT_EQ(all[1].note, QStringLiteral("0W-20, 5 quarts"));
    EXPECT_EQ(all[1].repeatMiles, 5000);
    EXPECT_EQ(all[2].vehicleId, 2);
    EXPECT_EQ(scalar(QStringLiteral("SELECT DueDate FROM drivolex_reminder WHERE Name = 'Brakes'")),
              QStringLiteral("2026-12-09"));

    Reminder unsound = all[1];
    unsound.name.clear();
    EXPECT_THROW(updateReminder(connection.get(), unsound), platform::AppError);
    EXPECT_THROW(addReminder(connection.get(), reminder(1, QStringLiteral("Wax"), {})),
                 platform::AppError);
    EXPECT_EQ(readReminders(connection.get(), 1).size(), 2u);
    EXPECT_EQ(readReminder(connection.get(), key)->name, QStringLiteral("Change Oil"));

    deleteReminder(connection.get(), key);
    EXPECT_FALSE(readReminder(connection.get(), key));
    // The vehicle's delete takes its reminders with it.
    ASSERT_EQ(testing_support::sqlExecute(path, QStringLiteral("PRAGMA foreign_keys = ON; "
                                                               "DELETE FROM VehicleInfo WHERE "
                                                               "VehicleID = 2")),
              QString());
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM drivolex_reminder")),
              QStringLiteral("1"));
}

TEST_F(ReminderStoreTest, AWorkOrdersServicesDoTheirRemindersOnce) {
    Reminder oil = reminder(1, QStringLiteral("Change Oil"), 55500, QDate(2026, 12, 20));
    oil.repeatMiles = 5000;
    oil.repeatMonths = 6;
    const qint64 oilKey = addReminder(connection.get(), oil);
    const qint64 plainKey =
        addReminder(connection.get(), reminder(1, QStringLiteral("ROTATE TIRES"), 56000));
    const qint64 otherKey =
        addReminder(connection.get(), reminder(1, QStringLiteral("Tune Up"), 56000));
    const qint64 vanKey =
        addReminder(connection.get(), reminder(2, QStringLiteral("Change Oil"), 900));

    const std::vector<Reminder> done = recordServicesDone(connection.get(), 40);
    ASSERT_EQ(done.size(), 2u);
    const Reminder moved = *readReminder(connection.get(), oilKey);
    EXPECT_EQ(moved.dueMiles, 60800);
    EXPECT_EQ(moved.dueDate, QDate(2027, 5, 30));
    EXPECT_EQ(moved.doneWorkOrderId, 40);
    EXPECT_TRUE(readReminder(connection.get(), plainKey)->closed);
    EXPECT_FALSE(readReminder(connection.get(), otherKey)->doneDate);
    EXPECT_FALSE(readReminder(connection.get(), vanKey)->doneDate) << "another vehicle's";
    // Saved again: nothing moves twice.
    EXPECT_TRUE(recordServicesDone(connection.get(), 40).empty());
    EXPECT_EQ(readReminder(connection.get(), oilKey)->dueMiles, 60800);

    Reminder marked = markDone(connection.get(), vanKey, kToday, 1200);
    EXPECT_TRUE(marked.closed);
    EXPECT_EQ(readReminder(connection.get(), vanKey)->doneMiles, 1200);
}

TEST_F(ReminderStoreTest, DrivingFromTheReadingsThatMatterOfEveryKind) {
    ASSERT_EQ(testing_support::sqlExecute(path, QStringLiteral(R"(
        INSERT INTO Fuel (FuelDate, FuelMiles, VehicleID) VALUES
            ('2010-05-01 00:00:00', 100, 2), ('2026-10-01 00:00:00', 500, 2),
            ('2026-10-01 00:00:00', 520, 2);
        INSERT INTO WorkOrder VALUES (2, 42, 2900, '12/5/2026');
        INSERT INTO WorkOrder VALUES (2, 43, 3100, '2026-12-05 00:00:00');
    )")),
              QString());
    // The latest day's highest reading, wherever it is kept and however it is written;
    // the pace from the first day of the last 90 to the latest.
    const Driving van = readDriving(connection.get(), 2, kToday);
    EXPECT_EQ(van.latestMiles, 3100);
    EXPECT_EQ(van.latestDate, QDate(2026, 12, 5));
    ASSERT_TRUE(van.milesPerDay.has_value());
    EXPECT_DOUBLE_EQ(*van.milesPerDay, (3100.0 - 500) / 65);
    // Long after the last reading: the latest is still known, the pace no longer.
    const Driving later = readDriving(connection.get(), 2, QDate(2027, 6, 1));
    EXPECT_EQ(later.latestMiles, 3100);
    EXPECT_FALSE(later.milesPerDay);
    // A file whose only readings are of another kind.
    ASSERT_EQ(testing_support::sqlExecute(
                  path, QStringLiteral("INSERT INTO VehicleInfo (VehicleLookup, VehicleID) VALUES "
                                       "('Old', 3); INSERT INTO WorkOrder VALUES (3, 44, 77, "
                                       "'3/15/2024')")),
              QString());
    EXPECT_EQ(readDriving(connection.get(), 3, kToday).latestMiles, 77);
    EXPECT_FALSE(readDriving(connection.get(), 1, QDate(2030, 1, 1)).milesPerDay);
}

TEST_F(ReminderStoreTest, StatusLineAndCalendar) {
    addReminder(connection.get(), reminder(1, QStringLiteral("Change Oil"), 55500));
    addReminder(connection.get(), reminder(2, QStringLiteral("Tune Up"), {}, kToday.addDays(12)));
    addReminder(connection.get(),
                reminder(1, QStringLiteral("Timing Belt; front, rear"), 90000, QDate(2028, 3, 1)));
    Reminder closed = reminder(1, QStringLiteral("Wax"), {}, QDate(2026, 1, 1));
    closed.closed = true;
    addReminder(connection.get(), closed);
    const std::vector<ReminderLine> lines =
        reminderLines(connection.get(), std::nullopt, kToday, {});
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(dueStatusText(lines),
              QStringLiteral("2 reminders due: Civic - Change Oil (overdue by 320 miles), "
                             "Van - Tune Up (due in 12 days)"));
    EXPECT_EQ(dueStatusText(reminderLines(connection.get(), 2, kToday, {})),
              QStringLiteral("1 reminder due: Van - Tune Up (due in 12 days)"));

    const QByteArray ics = icsCalendar(lines, QDateTime(kToday, QTime(8, 0), Qt::UTC));
    EXPECT_TRUE(ics.startsWith("BEGIN:VCALENDAR\r\nVERSION:2.0\r\n"));
    EXPECT_TRUE(ics.endsWith("END:VCALENDAR\r\n"));
    // The three open ones: overdue by miles alone, it is due on the day written.
    EXPECT_EQ(ics.count("BEGIN:VEVENT"), 3);
    EXPECT_TRUE(ics.contains("DTSTART;VALUE=DATE:20261209\r\n"));
    EXPECT_TRUE(ics.contains("SUMMARY:Civic: Timing Belt\\; front\\, rear\r\n"));
    EXPECT_TRUE(ics.contains("DTSTART;VALUE=DATE:20261221\r\n"));
    EXPECT_TRUE(ics.contains("DTSTAMP:20261209T080000Z\r\n"));
    for (const QByteArray& line : ics.split('\n'))
        EXPECT_LE(line.size(), 76) << line.toStdString(); // 75 octets and the CR
    EXPECT_EQ(icsCalendar(lines, QDateTime(kToday, QTime(9, 0), Qt::UTC)).count("UID:"), 3);
    EXPECT_EQ(ics.mid(ics.indexOf("UID:"), 50),
              icsCalendar(lines, QDateTime(kToday.addDays(3), QTime(9, 0), Qt::UTC))
                  .mid(ics.indexOf("UID:"), 50))
        << "a reminder keeps its UID";
}

} // namespace
