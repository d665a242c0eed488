// Due states at their boundaries of days and miles, the estimate of when a reminder by
// miles falls due on a steady and on an irregular history, and what Done makes of a
// reminder with each kind of repeat.
#include "reminders/DueState.h"

#include <gtest/gtest.h>

namespace {

using namespace reminders;

const QDate kToday(2026, 12, 9);

Reminder dueOn(std::optional<QDate> date, std::optional<qint64> miles) {
    Reminder reminder;
    reminder.vehicleId = 1;
    reminder.name = QStringLiteral("Change Oil");
    reminder.dueDate = date;
    reminder.dueMiles = miles;
    return reminder;
}

Driving at(qint64 miles) {
    Driving driving;
    driving.latestMiles = miles;
    driving.latestDate = kToday;
    return driving;
}

ReminderStatus status(const Reminder& reminder, const Driving& driving = {},
                      const DueThresholds& thresholds = {}) {
    return statusOf(reminder, driving, kToday, thresholds);
}

TEST(DueStateTest, DaysAndMilesAtTheirBoundaries) {
    EXPECT_EQ(status(dueOn(kToday, {})).state, DueState::DueSoon);
    EXPECT_EQ(status(dueOn(kToday, {})).dueText, QStringLiteral("due today"));
    EXPECT_EQ(status(dueOn(kToday.addDays(-1), {})).state, DueState::Overdue);
    EXPECT_EQ(status(dueOn(kToday.addDays(-1), {})).dueText, QStringLiteral("overdue by 1 day"));
    EXPECT_EQ(status(dueOn(kToday.addDays(30), {})).state, DueState::DueSoon);
    EXPECT_EQ(status(dueOn(kToday.addDays(31), {})).state, DueState::Upcoming);
    EXPECT_EQ(status(dueOn(kToday.addDays(31), {})).dueText, QStringLiteral("due in 31 days"));

    const Reminder oil = dueOn({}, 55500);
    EXPECT_EQ(status(oil, at(55500)).state, DueState::DueSoon);
    EXPECT_EQ(status(oil, at(55500)).dueText, QStringLiteral("due now at 55,500 miles"));
    EXPECT_EQ(status(oil, at(55501)).dueText, QStringLiteral("overdue by 1 mile"));
    EXPECT_EQ(status(oil, at(55820)).state, DueState::Overdue);
    EXPECT_EQ(status(oil, at(55820)).dueText, QStringLiteral("overdue by 320 miles"));
    EXPECT_EQ(status(oil, at(55000)).state, DueState::DueSoon);
    EXPECT_EQ(status(oil, at(54999)).state, DueState::Upcoming);
    EXPECT_EQ(status(oil, at(54999)).dueText, QStringLiteral("due in 501 miles"));
    // No reading of the odometer: nothing can be said of the miles.
    EXPECT_EQ(status(oil).state, DueState::Upcoming);
    EXPECT_EQ(status(oil).dueText, QStringLiteral("due at 55,500 miles"));

    // The thresholds are the user's; both ends overdue are both told.
    EXPECT_EQ(status(oil, at(54000), DueThresholds{7, 1500}).state, DueState::DueSoon);
    EXPECT_EQ(status(dueOn(kToday.addDays(8), {}), {}, DueThresholds{7, 1500}).state,
              DueState::Upcoming);
    EXPECT_EQ(status(dueOn(kToday.addDays(-3), 55500), at(55600)).dueText,
              QStringLiteral("overdue by 100 miles and 3 days"));

    Reminder closed = oil;
    closed.closed = true;
    closed.doneDate = QDate(2026, 5, 1);
    EXPECT_EQ(status(closed, at(60000)).state, DueState::Done);
    EXPECT_EQ(status(closed, at(60000)).dueText, QStringLiteral("done 5/1/2026"));
}

TEST(DueStateTest, EstimateFromTheLastNinetyDaysOfDriving) {
    // Steady: 300 miles every ten days, 30 a day.
    std::vector<Reading> steady;
    for (int i = 0; i <= 8; ++i)
        steady.push_back(Reading{kToday.addDays(-80 + 10 * i), 50000.0 + 300 * i});
    // A year-old reading of another pace takes no part.
    steady.push_back(Reading{kToday.addDays(-400), 30000});
    const Driving driving = drivingOf(steady, kToday);
    ASSERT_TRUE(driving.milesPerDay.has_value());
    EXPECT_DOUBLE_EQ(*driving.milesPerDay, 30.0);
    EXPECT_EQ(driving.latestMiles, 52400);
    EXPECT_EQ(driving.latestDate, kToday);
    // 1,500 miles left at 30 a day: 50 days on, past the 30 days of Due Soon.
    const ReminderStatus later = statusOf(dueOn({}, 53900), driving, kToday, {});
    EXPECT_EQ(later.estimatedDate, kToday.addDays(50));
    EXPECT_EQ(later.state, DueState::Upcoming);
    // 600 miles left, above the 500 of Due Soon, yet 20 days away at this pace.
    const ReminderStatus soon = statusOf(dueOn({}, 53000), driving, kToday, {});
    EXPECT_EQ(soon.estimatedDate, kToday.addDays(20));
    EXPECT_EQ(soon.state, DueState::DueSoon);
    // A due day before the estimate is the estimate.
    EXPECT_EQ(statusOf(dueOn(kToday.addDays(40), 53900), driving, kToday, {}).estimatedDate,
              kToday.addDays(40));

    // Irregular: parked for two months, then a long trip; the pace is the whole stretch's,
    // from the earliest day's lowest reading to the latest day's highest.
    const std::vector<Reading> irregular{{kToday.addDays(-85), 20000},
                                         {kToday.addDays(-85), 19990},
                                         {kToday.addDays(-20), 20010},
                                         {kToday.addDays(-5), 21500},
                                         {kToday.addDays(-5), 21700}};
    const Driving trip = drivingOf(irregular, kToday);
    ASSERT_TRUE(trip.milesPerDay.has_value());
    EXPECT_DOUBLE_EQ(*trip.milesPerDay, 1710.0 / 80);
    EXPECT_EQ(trip.latestMiles, 21700);
    EXPECT_EQ(statusOf(dueOn({}, 22550), trip, kToday, {}).estimatedDate, kToday.addDays(-5 + 40));

    // Too little history: one reading, readings under two weeks apart, no miles between.
    EXPECT_FALSE(drivingOf({{kToday, 1000}}, kToday).milesPerDay);
    EXPECT_FALSE(drivingOf({{kToday.addDays(-13), 1000}, {kToday, 1400}}, kToday).milesPerDay);
    EXPECT_FALSE(drivingOf({{kToday.addDays(-60), 1000}, {kToday, 1000}}, kToday).milesPerDay);
    EXPECT_FALSE(
        statusOf(dueOn({}, 2000), drivingOf({{kToday, 1000}}, kToday), kToday, {}).estimatedDate);
}

TEST(DueStateTest, DoneMovesARepeatingReminderOnAndClosesAPlainOne) {
    Reminder both = dueOn(QDate(2026, 12, 1), 55500);
    both.repeatMiles = 5000;
    both.repeatMonths = 6;
    Reminder next = doneAt(both, QDate(2026, 12, 3), 55820, 77);
    EXPECT_EQ(next.dueMiles, 60820);
    EXPECT_EQ(next.dueDate, QDate(2027, 6, 3));
    EXPECT_EQ(next.doneDate, QDate(2026, 12, 3));
    EXPECT_EQ(next.doneMiles, 55820);
    EXPECT_EQ(next.doneWorkOrderId, 77);
    EXPECT_FALSE(next.closed);
    // The earlier of the two wins: by miles at a fast pace, by the day when parked.
    EXPECT_EQ(statusOf(next, at(60900), QDate(2027, 1, 1), {}).state, DueState::Overdue);
    EXPECT_EQ(statusOf(next, at(56000), QDate(2027, 6, 4), {}).state, DueState::Overdue);

    Reminder months = dueOn(QDate(2026, 12, 1), 55500);
    months.repeatMonths = 12;
    next = doneAt(months, QDate(2027, 1, 31), 56000);
    EXPECT_EQ(next.dueDate, QDate(2028, 1, 31));
    EXPECT_FALSE(next.dueMiles) << "it does not repeat by miles";

    Reminder miles = dueOn(QDate(2026, 12, 1), 55500);
    miles.repeatMiles = 3000;
    EXPECT_FALSE(doneAt(miles, kToday, 55400).dueDate);
    EXPECT_EQ(doneAt(miles, kToday, 55400).dueMiles, 58400);
    // Done without an odometer reading: counted on from where it was due.
    EXPECT_EQ(doneAt(miles, kToday, std::nullopt).dueMiles, 58500);

    const Reminder plain = doneAt(dueOn(kToday, {}), kToday, 55000);
    EXPECT_TRUE(plain.closed);
    EXPECT_EQ(plain.dueDate, kToday) << "kept as it was due";
    EXPECT_EQ(reminderProblem(plain), QString());
}

TEST(DueStateTest, ProblemsNameTheField) {
    Reminder reminder = dueOn({}, {});
    EXPECT_TRUE(reminderProblem(reminder).contains(QStringLiteral("due date")));
    reminder.dueMiles = 1000;
    reminder.name = QStringLiteral("  ");
    EXPECT_TRUE(reminderProblem(reminder).contains(QStringLiteral("name")));
    reminder.name = QStringLiteral("Tune Up");
    reminder.repeatMonths = 0;
    EXPECT_TRUE(reminderProblem(reminder).contains(QStringLiteral("months")));
    reminder.repeatMonths.reset();
    reminder.repeatMiles = -5;
    EXPECT_TRUE(reminderProblem(reminder).contains(QStringLiteral("miles")));
    reminder.repeatMiles = 5000;
    EXPECT_EQ(reminderProblem(reminder), QString());
    reminder.dueMiles.reset();
    reminder.dueDate = kToday;
    EXPECT_TRUE(reminderProblem(reminder).contains(QStringLiteral("due odometer")));
}

} // namespace
