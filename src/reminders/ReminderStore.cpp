#include "ReminderStore.h"

#include "history/StoredColumns.h"
#include "store/Connection.h"
#include "store/Statement.h"
#include "store/StoreErrors.h"

#include <sqlite3.h>

namespace reminders {

namespace {

using namespace history::stored;

const char* const kTable = "drivolex_reminder";

const char* const kColumns =
    "r.ReminderID, r.VehicleID, r.Name, r.DueDate, r.DueMiles, r.RepeatMiles, r.RepeatMonths, "
    "r.Note, r.DoneDate, r.DoneMiles, r.DoneWorkOrderID, r.Closed";

std::optional<QDate> dayAt(const store::Statement& stmt, int column) {
    const QDate day = QDate::fromString(textAt(stmt, column), Qt::ISODate);
    return day.isValid() ? std::optional<QDate>(day) : std::nullopt;
}

Reminder reminderAt(const store::Statement& stmt) {
    Reminder reminder;
    reminder.reminderId = stmt.columnInt64(0);
    reminder.vehicleId = integerAt(stmt, 1).value_or(0);
    reminder.name = textAt(stmt, 2);
    reminder.dueDate = dayAt(stmt, 3);
    reminder.dueMiles = integerAt(stmt, 4);
    reminder.repeatMiles = integerAt(stmt, 5);
    if (const std::optional<qint64> months = integerAt(stmt, 6))
        reminder.repeatMonths = int(*months);
    reminder.note = textAt(stmt, 7);
    reminder.doneDate = dayAt(stmt, 8);
    reminder.doneMiles = integerAt(stmt, 9);
    reminder.doneWorkOrderId = integerAt(stmt, 10);
    reminder.closed = integerAt(stmt, 11).value_or(0) != 0;
    return reminder;
}

template <class T> QVariant stored(const std::optional<T>& value) {
    return value ? QVariant::fromValue(qint64(*value)) : QVariant();
}
QVariant storedDay(const std::optional<QDate>& day) {
    return day ? QVariant(day->toString(Qt::ISODate)) : QVariant();
}

// Binds the reminder's fields from index 1 in the order of kColumns after its key.
void bindFields(store::Statement& stmt, const Reminder& r) {
    stmt.bind(1, r.vehicleId);
    stmt.bind(2, r.name.trimmed());
    stmt.bind(3, storedDay(r.dueDate));
    stmt.bind(4, stored(r.dueMiles));
    stmt.bind(5, stored(r.repeatMiles));
    stmt.bind(6, stored(r.repeatMonths));
    stmt.bind(7, r.note.isEmpty() ? QVariant() : QVariant(r.note));
    stmt.bind(8, storedDay(r.doneDate));
    stmt.bind(9, stored(r.doneMiles));
    stmt.bind(10, stored(r.doneWorkOrderId));
    stmt.bind(11, qint64(r.closed ? 1 : 0));
}

void refuseUnsound(const Reminder& reminder) {
    const QString problem = reminderProblem(reminder);
    if (!problem.isEmpty())
        store::raise(store::errInvalidOperation, problem);
}

void stepDone(sqlite3* db, store::Statement& stmt, const store::SqlErrorContext& context) {
    store::checkSqlite(db, stmt.step(), context);
}

// Writes every field of a stored reminder inside the caller's transaction; false when
// no row has its key.
bool updateRow(sqlite3* db, const Reminder& reminder, const store::SqlErrorContext& context) {
    store::Statement update(
        db,
        QStringLiteral("UPDATE drivolex_reminder SET VehicleID = ?1, Name = ?2, "
                       "DueDate = ?3, DueMiles = ?4, RepeatMiles = ?5, "
                       "RepeatMonths = ?6, Note = ?7, DoneDate = ?8, "
                       "DoneMiles = ?9, DoneWorkOrderID = ?10, Closed = ?11 "
                       "WHERE ReminderID = ?12"),
        context);
    bindFields(update, reminder);
    update.bind(12, reminder.reminderId);
    stepDone(db, update, context);
    return sqlite3_changes(db) == 1;
}

void writeFields(sqlite3* db, const Reminder& reminder) {
    refuseUnsound(reminder);
    const store::SqlErrorContext context = contextOf(db, kTable);
    store::Transaction transaction(db, context);
    if (!updateRow(db, reminder, context))
        store::raise(
            store::errInvalidOperation,
            QStringLiteral("The reminder '%1' is no longer in the file.").arg(reminder.name));
    transaction.commit();
}

} // namespace

bool hasReminderTable(sqlite3* db) {
    store::Statement stmt(db,
                          QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'table' AND "
                                         "name = 'drivolex_reminder'"),
                          contextOf(db, kTable));
    return nextRow(db, stmt, kTable);
}

void createReminderTable(sqlite3* db, const store::SqlErrorContext& context) {
    // Days as ISO text, miles as whole numbers; the order that did it last is kept by
    // its number only (an order deleted later leaves the reminder as it is).
    store::execute(
        db,
        QStringLiteral("CREATE TABLE IF NOT EXISTS drivolex_reminder ("
                       "ReminderID INTEGER PRIMARY KEY, "
                       "VehicleID INTEGER NOT NULL REFERENCES VehicleInfo (VehicleID) ON DELETE "
                       "CASCADE, "
                       "Name TEXT NOT NULL, DueDate TEXT, DueMiles INTEGER, RepeatMiles INTEGER, "
                       "RepeatMonths INTEGER, Note TEXT, DoneDate TEXT, DoneMiles INTEGER, "
                       "DoneWorkOrderID INTEGER, Closed INTEGER NOT NULL DEFAULT 0)"),
        context);
    store::execute(db,
                   QStringLiteral("CREATE INDEX IF NOT EXISTS drivolex_reminder_vehicle ON "
                                  "drivolex_reminder (VehicleID)"),
                   context);
}

std::vector<Reminder> readReminders(sqlite3* db, std::optional<qint64> vehicleId) {
    std::vector<Reminder> reminders;
    if (!hasReminderTable(db))
        return reminders;
    QString sql = QStringLiteral("SELECT ") + QLatin1String(kColumns) +
                  QStringLiteral(" FROM drivolex_reminder AS r JOIN VehicleInfo AS v ON "
                                 "v.VehicleID = r.VehicleID");
    if (vehicleId)
        sql += QStringLiteral(" WHERE r.VehicleID = ?");
    // Undated ones after the dated, unmetered after the metered.
    sql += QStringLiteral(" ORDER BY v.VehicleLookup, v.VehicleID, r.Closed, r.DueDate IS NULL, "
                          "r.DueDate, r.DueMiles IS NULL, r.DueMiles, r.Name, r.ReminderID");
    store::Statement stmt(db, sql, contextOf(db, kTable));
    if (vehicleId)
        stmt.bind(1, *vehicleId);
    while (nextRow(db, stmt, kTable))
        reminders.push_back(reminderAt(stmt));
    return reminders;
}

std::optional<Reminder> readReminder(sqlite3* db, qint64 reminderId) {
    if (!hasReminderTable(db))
        return std::nullopt;
    store::Statement stmt(db,
                          QStringLiteral("SELECT ") + QLatin1String(kColumns) +
                              QStringLiteral(" FROM drivolex_reminder AS r WHERE ReminderID = ?"),
                          contextOf(db, kTable));
    stmt.bind(1, reminderId);
    if (!nextRow(db, stmt, kTable))
        return std::nullopt;
    return reminderAt(stmt);
}

qint64 addReminder(sqlite3* db, const Reminder& reminder) {
    refuseUnsound(reminder);
    const store::SqlErrorContext context = contextOf(db, kTable);
    store::Transaction transaction(db, context);
    const qint64 key = insertReminder(db, reminder, context);
    transaction.commit();
    return key;
}

qint64 insertReminder(sqlite3* db, const Reminder& reminder,
                      const store::SqlErrorContext& context) {
    refuseUnsound(reminder);
    createReminderTable(db, context);
    store::Statement insert(db,
                            QStringLiteral("INSERT INTO drivolex_reminder (VehicleID, Name, "
                                           "DueDate, DueMiles, RepeatMiles, RepeatMonths, Note, "
                                           "DoneDate, DoneMiles, DoneWorkOrderID, Closed) VALUES "
                                           "(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11)"),
                            context);
    bindFields(insert, reminder);
    stepDone(db, insert, context);
    return sqlite3_last_insert_rowid(db);
}

void updateReminder(sqlite3* db, const Reminder& reminder) {
    writeFields(db, reminder);
}

void deleteReminder(sqlite3* db, qint64 reminderId) {
    if (!hasReminderTable(db))
        return;
    store::SqlErrorContext context = contextOf(db, kTable);
    context.deleting = true;
    store::Transaction transaction(db, context);
    store::Statement remove(
        db, QStringLiteral("DELETE FROM drivolex_reminder WHERE ReminderID = ?"), context);
    remove.bind(1, reminderId);
    stepDone(db, remove, context);
    transaction.commit();
}

Reminder markDone(sqlite3* db, qint64 reminderId, const QDate& date, std::optional<qint64> miles) {
    const std::optional<Reminder> reminder = readReminder(db, reminderId);
    if (!reminder)
        store::raise(store::errInvalidOperation,
                     QStringLiteral("The reminder is no longer in the file."));
    const Reminder done = doneAt(*reminder, date, miles);
    writeFields(db, done);
    return done;
}

std::vector<Reminder> recordServicesDone(sqlite3* db, qint64 workOrderId) {
    std::vector<Reminder> done;
    if (!hasReminderTable(db))
        return done;
    const store::SqlErrorContext context = contextOf(db, kTable);
    // The open reminders of the order's vehicle named as one of its services, that this
    // order has not done already.
    store::Statement select(
        db,
        QStringLiteral("SELECT ") + QLatin1String(kColumns) +
            QStringLiteral(", o.Date, o.Mileage FROM WorkOrder AS o JOIN drivolex_reminder AS r "
                           "ON r.VehicleID = o.VehicleID WHERE o.WorkOrderID = ?1 AND r.Closed = 0 "
                           "AND (r.DoneWorkOrderID IS NULL OR r.DoneWorkOrderID <> ?1) AND "
                           "EXISTS (SELECT 1 FROM WorkDone AS d WHERE d.WorkOrderID = ?1 AND "
                           "lower(trim(d.WorkDescription)) = lower(trim(r.Name)))"),
        context);
    select.bind(1, workOrderId);
    std::vector<Reminder> due;
    std::optional<QDate> orderDate;
    std::optional<qint64> orderMiles;
    while (nextRow(db, select, kTable)) {
        due.push_back(reminderAt(select));
        const QDateTime date = dateAt(select, 12);
        if (date.isValid())
            orderDate = date.date();
        orderMiles = integerAt(select, 13);
    }
    select.reset();
    // An order without a date does nothing: there is no day to count the next one from.
    if (due.empty() || !orderDate)
        return done;
    store::Transaction transaction(db, context);
    for (const Reminder& reminder : due) {
        const Reminder next = doneAt(reminder, *orderDate, orderMiles, workOrderId);
        updateRow(db, next, context);
        done.push_back(next);
    }
    transaction.commit();
    return done;
}

} // namespace reminders
