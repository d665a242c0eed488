// drivolex-cli reminders, run as a script runs it: one line a reminder with its state
// today, the vehicle found whatever its letter case, an iCalendar file a calendar
// library reads back with one event per reminder that has a day, and bad arguments
// refused with exit status 2 naming what is wrong.
#include "CliRun.h"
#include "reminders/ReminderStore.h"
#include "store/Connection.h"
#include "store/StoreTestFiles.h"
#include "store/modCreateDB.h"
#include "support/MsgBoxRecorder.h"

#include <QDate>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// Failures show texts as text.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace cli_test {

namespace {

class RemindersCliTest : public ::testing::Test {
protected:
    // The Civic last read at 55,820 miles ten days ago (too little history for an
    // estimate); an oil change overdue by its miles, an inspection due in 12 days; the
    // Pickup's tune-up months away and its wipers done.
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        db = dir.filePath(QStringLiteral("cars.mdb"));
        {
            testing_support::MsgBoxRecorder quiet;
            ASSERT_TRUE(modCreateDB::CreateNewDatabase(db));
            modCreateDB::CurrentDatabase.reset();
        }
        const QString reading = today.addDays(-10).toString(Qt::ISODate);
        ASSERT_EQ(
            testing_support::sqlExecute(
                db, QStringLiteral("INSERT INTO VehicleInfo VALUES ('Civic', 1, 'Honda', 'Civic', "
                                   "2015, 'VIN1');"
                                   "INSERT INTO VehicleInfo VALUES ('Pickup', 2, 'Ford', 'F150', "
                                   "2012, NULL);"
                                   "INSERT INTO Fuel VALUES ('%1 00:00:00', 12, 55820, -1, 400000, "
                                   "'Dayton', 'OH', 1, 1);")
                        .arg(reading)),
            QString());
        store::ConnectionHandle connection = store::openConnection(db, false);
        add(connection.get(), 1, "Change Oil", std::nullopt, 55500);
        add(connection.get(), 1, "Inspection", today.addDays(12), std::nullopt);
        add(connection.get(), 2, "Tune Up", today.addDays(100), std::nullopt);
        const qint64 wipers = add(connection.get(), 2, "Wipers", today.addDays(5), std::nullopt);
        reminders::markDone(connection.get(), wipers, today, std::nullopt);
    }
    static qint64 add(sqlite3* connection, qint64 vehicle, const char* name,
                      std::optional<QDate> dueDate, std::optional<qint64> dueMiles) {
        reminders::Reminder reminder;
        reminder.vehicleId = vehicle;
        reminder.name = QLatin1String(name);
        reminder.dueDate = dueDate;
        reminder.dueMiles = dueMiles;
        return reminders::addReminder(connection, reminder);
    }
    static CliRun reminders(const QStringList& arguments) {
        return runCli(QStringList{QStringLiteral("reminders")} + arguments);
    }
    // The calendar as Python's icalendar reads it: the number of events, then each
    // event's summary on a line. The system's interpreter is the one Debian installs
    // python3-icalendar for (another earlier on the PATH may lack it).
    static QStringList calendarEvents(const QString& path) {
        const QString system = QStringLiteral("/usr/bin/python3");
        QProcess python;
        python.start(QFile::exists(system) ? system : QStringLiteral("python3"),
                     {QStringLiteral("-c"),
                      QStringLiteral("import icalendar,sys; cal=icalendar.Calendar.from_ical("
                                     "open(sys.argv[1],'rb').read()); ev=cal.walk('VEVENT'); "
                                     "print(len(ev)); [print(e['SUMMARY']) for e in ev]"),
                      path});
        EXPECT_TRUE(python.waitForFinished(60000));
        EXPECT_EQ(python.exitCode(), 0)
            << "python3-icalendar: " << python.readAllStandardError().toStdString();
        return QString::fromUtf8(python.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    }

    const QDate today = QDate::currentDate();
    QTemporaryDir dir;
    QString db;
};

TEST_F(RemindersCliTest, ListsEachReminderWithItsStateAndWritesACalendarOfThoseWithADay) {
    const CliRun all = reminders({db});
    ASSERT_EQ(all.status, 0) << all.err.toStdString();
    QStringList lines = all.out.split(u'\n', Qt::SkipEmptyParts);
    std::sort(lines.begin(), lines.end());
    EXPECT_EQ(lines, (QStringList{"Civic: Change Oil: Overdue: overdue by 320 miles",
                                  "Civic: Inspection: Due Soon: due in 12 days",
                                  "Pickup: Tune Up: Upcoming: due in 100 days",
                                  "Pickup: Wipers: Done: done " + today.toString("M/d/yyyy")}))
        << all.out.toStdString();

    const QString ics = dir.filePath(QStringLiteral("cars.ics"));
    QFile old(ics);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("an older calendar");
    old.close();
    const CliRun written = reminders({db, QStringLiteral("--ics"), ics});
    ASSERT_EQ(written.status, 0) << written.err.toStdString();
    EXPECT_TRUE(written.out.contains(QStringLiteral("cars.ics: 3 events")))
        << written.out.toStdString();
    QStringList events = calendarEvents(ics);
    ASSERT_FALSE(events.isEmpty());
    EXPECT_EQ(events.takeFirst(), QStringLiteral("3")) << "the wipers are done";
    std::sort(events.begin(), events.end());
    EXPECT_EQ(events, (QStringList{"Civic: Change Oil", "Civic: Inspection", "Pickup: Tune Up"}))
        << "the oil change due by its miles now has a day too";

    // One vehicle, its Look Up in other letters: its lines and its events only.
    const CliRun civic = reminders(
        {db, QStringLiteral("--vehicle"), QStringLiteral("CIVIC"), QStringLiteral("--ics"), ics});
    ASSERT_EQ(civic.status, 0) << civic.err.toStdString();
    EXPECT_FALSE(civic.out.contains(QStringLiteral("Pickup"))) << civic.out.toStdString();
    EXPECT_TRUE(civic.out.contains(QStringLiteral("Civic: Inspection: Due Soon: due in 12 days")));
    events = calendarEvents(ics);
    std::sort(events.begin(), events.end());
    EXPECT_EQ(events, (QStringList{"2", "Civic: Change Oil", "Civic: Inspection"}));
}

TEST_F(RemindersCliTest, AFuelioBackupsReminderComesInAndIsListedDueByItsMiles) {
    // A vehicle in miles: an oil change at 50,000 to be done again at 55,500, the
    // latest fill-up at 55,820.
    const QString backup = dir.filePath(QStringLiteral("rav4.csv"));
    QFile out(backup);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write("\"## Vehicle\"\n"
              "\"Name\",\"Description\",\"DistUnit\",\"FuelUnit\",\"ConsumptionUnit\"\n"
              "\"Rav4\",\"\",\"1\",\"1\",\"1\"\n"
              "\"## Log\"\n"
              "\"Data\",\"Odo (mi)\",\"Fuel (us gallons)\",\"Full\",\"Price (optional)\","
              "\"mpg (optional)\",\"latitude (optional)\",\"longitude (optional)\","
              "\"City (optional)\",\"Notes (optional)\",\"Missed\",\"TankNumber\",\"FuelType\","
              "\"VolumePrice\",\"StationID (optional)\",\"ExcludeDistance\",\"UniqueId\","
              "\"TankCalc\"\n"
              "\"2024-05-01 08:00\",\"55820\",\"11\",\"1\",\"40.00\",\"\",\"\",\"\",\"\",\"\","
              "\"0\",\"1\",\"100\",\"3.6\",\"0\",\"0\",\"1\",\"0\"\n"
              "\"## Costs\"\n"
              "\"CostTitle\",\"Date\",\"Odo\",\"CostTypeID\",\"Notes\",\"Cost\",\"flag\",\"idR\","
              "\"read\",\"RemindOdo\",\"RemindDate\",\"isTemplate\",\"RepeatOdo\","
              "\"RepeatMonths\",\"isIncome\",\"UniqueId\"\n"
              "\"Change Oil\",\"2024-01-10\",\"50000\",\"0\",\"\",\"45.00\",\"0\",\"0\",\"0\","
              "\"55500\",\"\",\"0\",\"5000\",\"0\",\"0\",\"1\"\n");
    out.close();
    const QStringList import = {QStringLiteral("import"),   backup,
                                QStringLiteral("--into"),   db,
                                QStringLiteral("--format"), QStringLiteral("fuelio")};
    const CliRun preview = runCli(import + QStringList{QStringLiteral("--dry-run")});
    ASSERT_EQ(preview.status, 0) << preview.err.toStdString();
    EXPECT_TRUE(preview.out.contains(QStringLiteral("2 rows to write (with 1 reminder)")))
        << preview.out.toStdString();
    const CliRun imported = runCli(import);
    ASSERT_EQ(imported.status, 0) << imported.err.toStdString();
    EXPECT_TRUE(imported.out.contains(QStringLiteral("and 1 reminder written into")))
        << imported.out.toStdString();

    const CliRun listed = reminders({db, QStringLiteral("--vehicle"), QStringLiteral("rav4")});
    ASSERT_EQ(listed.status, 0) << listed.err.toStdString();
    EXPECT_EQ(listed.out, QStringLiteral("Rav4: Change Oil: Overdue: overdue by 320 miles\n"));
}

TEST_F(RemindersCliTest, BadUsageUnknownVehiclesAndMissingFilesAreRefusedNamingThem) {
    const QString ics = dir.filePath(QStringLiteral("out.ics"));
    const struct {
        QStringList arguments;
        const char* named;
    } refused[] = {
        {{}, "reminders needs one database file"},
        {{db, db}, "reminders needs one database file"},
        {{db, QStringLiteral("--vehicle"), QStringLiteral("Tractor"), QStringLiteral("--ics"), ics},
         "no vehicle has the Look Up 'Tractor'"},
        {{dir.filePath(QStringLiteral("none.mdb"))}, "none.mdb"},
        {{db, QStringLiteral("--ics")}, "--ics"},
        {{db, QStringLiteral("--ics=")}, "--ics needs the calendar file to write"},
        {{db, QStringLiteral("--calendar"), ics}, "--calendar"},
    };
    for (const auto& bad : refused) {
        const CliRun run = reminders(bad.arguments);
        EXPECT_EQ(run.status, 2) << bad.named;
        EXPECT_TRUE(run.err.contains(QLatin1String(bad.named))) << run.err.toStdString();
        EXPECT_TRUE(run.out.isEmpty()) << run.out.toStdString();
    }
    EXPECT_FALSE(QFile::exists(ics)) << "nothing written on bad usage";

    // A calendar that cannot be written: status 1, its path named, nothing left behind.
    const QString nowhere = dir.filePath(QStringLiteral("no/such/folder/cars.ics"));
    const CliRun unwritten = reminders({db, QStringLiteral("--ics"), nowhere});
    EXPECT_EQ(unwritten.status, 1);
    EXPECT_TRUE(unwritten.err.contains(QStringLiteral("cars.ics"))) << unwritten.err.toStdString();
}

} // namespace

} // namespace cli_test
