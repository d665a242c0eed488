#pragma once

#include "Reminder.h"

#include <QDate>
#include <QString>
#include <optional>
#include <vector>

struct sqlite3;

namespace reminders {

enum class DueState { Overdue, DueSoon, Upcoming, Done };
QString stateText(DueState state); // "Overdue", "Due Soon", "Upcoming", "Done"

// How near a reminder must be to be Due Soon; kept in the program's settings.
struct DueThresholds {
    int days = 30;
    qint64 miles = 500;
};

// What the file tells of a vehicle's driving: its latest odometer reading (of the
// latest day among fuel purchases and work orders, the highest that day) and the miles
// it ran a day over the last 90 days up to today.
struct Driving {
    std::optional<qint64> latestMiles;
    std::optional<QDate> latestDate;
    // Empty with too little history: fewer than two readings at least 14 days apart in
    // those 90 days, or no miles between them.
    std::optional<double> milesPerDay;
};

// A day's odometer reading, from a fuel purchase or a work order.
struct Reading {
    QDate date;
    double miles = 0;
};
// The driving from readings in any order.
Driving drivingOf(const std::vector<Reading>& readings, const QDate& today);
// The readings of a vehicle from the file: one select over Fuel and WorkOrder.
Driving readDriving(sqlite3* db, qint64 vehicleId, const QDate& today = QDate::currentDate());

struct ReminderStatus {
    DueState state = DueState::Upcoming;
    // What is due, as the due list and the status line say it: "overdue by 320 miles",
    // "overdue by 3 days", "due in 12 days", "due in 250 miles", "due today", "done 5/1/2026".
    QString dueText;
    // When a reminder with due miles is expected to fall due at the vehicle's pace (the
    // earlier of that and its due date); empty without due miles or enough history.
    std::optional<QDate> estimatedDate;
};

// Overdue once its day has passed or the latest odometer reading is past its miles;
// Due Soon within the thresholds' days or miles (its day or its miles reached count,
// and so does an estimated date within the days); Upcoming otherwise; Done when closed.
ReminderStatus statusOf(const Reminder& reminder, const Driving& driving, const QDate& today,
                        const DueThresholds& thresholds);

} // namespace reminders
