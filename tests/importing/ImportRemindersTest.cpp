// A Fuelio backup's reminders written with its costs: each one a reminder of the target
// vehicle named after its cost, in miles, last done by the cost's work order; the latest
// cost's reminder of a service kept; none written twice, none by a cancelled import.
#include "ImportFiles.h"
#include "backup/FileCheck.h"
#include "exchange/ImportFormats.h"
#include "reminders/ReminderStore.h"

#include <QFile>
#include <cmath>

using namespace importing;

namespace {

class ImportRemindersTest : public import_test::ImportFile {
protected:
    // A Fuelio backup of one vehicle in km: two oil changes with reminders (the later
    // one's stands), tyres due again six months on, a wash with none.
    QString fuelioBackup() const {
        const QString file = dir.filePath(QStringLiteral("octavia.csv"));
        QFile out(file);
        EXPECT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(
            "\"## Vehicle\"\n"
            "\"Name\",\"Description\",\"DistUnit\",\"FuelUnit\",\"ConsumptionUnit\","
            "\"ImportCSVDateFormat\",\"VIN\",\"Insurance\",\"Plate\",\"Make\",\"Model\",\"Year\","
            "\"TankCount\",\"Tank1Type\",\"Tank2Type\",\"Active\",\"Tank1Capacity\","
            "\"Tank2Capacity\",\"FuelUnitTank2\",\"FuelConsumptionTank2\"\n"
            "\"Octavia\",\"\",\"0\",\"0\",\"0\",\"yyyy-MM-dd\",\"TMB123\",\"\",\"\",\"Skoda\","
            "\"Octavia\",\"2015\",\"1\",\"100\",\"0\",\"1\",\"50\",\"0\",\"0\",\"0\"\n"
            "\"## Log\"\n"
            "\"Data\",\"Odo (km)\",\"Fuel (litres)\",\"Full\",\"Price (optional)\","
            "\"l/100km (optional)\",\"latitude (optional)\",\"longitude (optional)\","
            "\"City (optional)\",\"Notes (optional)\",\"Missed\",\"TankNumber\",\"FuelType\","
            "\"VolumePrice\",\"StationID (optional)\",\"ExcludeDistance\",\"UniqueId\","
            "\"TankCalc\"\n"
            "\"2021-06-12 08:30\",\"12000\",\"40\",\"1\",\"60.00\",\"\",\"\",\"\",\"Praha\",\"\","
            "\"0\",\"1\",\"100\",\"1.5\",\"0\",\"0\",\"1\",\"0\"\n"
            "\"## CostCategories\"\n"
            "\"CostTypeID\",\"Name\",\"priority\",\"color\"\n"
            "\"1\",\"Service\",\"0\",\"0\"\n"
            "\"## Costs\"\n"
            "\"CostTitle\",\"Date\",\"Odo\",\"CostTypeID\",\"Notes\",\"Cost\",\"flag\",\"idR\","
            "\"read\",\"RemindOdo\",\"RemindDate\",\"isTemplate\",\"RepeatOdo\",\"RepeatMonths\","
            "\"isIncome\",\"UniqueId\"\n"
            "\"Oil change\",\"2021-07-01\",\"13000\",\"1\",\"5W30\",\"89.90\",\"0\",\"0\",\"0\","
            "\"28000\",\"2022-07-01\",\"0\",\"15000\",\"12\",\"0\",\"5\"\n"
            "\"Oil change\",\"2020-07-01\",\"5000\",\"1\",\"\",\"80.00\",\"0\",\"0\",\"1\","
            "\"20000\",\"2021-07-01\",\"0\",\"15000\",\"12\",\"0\",\"3\"\n"
            "\"Tyres\",\"2021-03-01\",\"11000\",\"1\",\"\",\"300\",\"0\",\"0\",\"0\",\"0\",\"\","
            "\"0\",\"0\",\"6\",\"0\",\"4\"\n"
            "\"Car wash\",\"2021-05-01\",\"12000\",\"1\",\"\",\"10\",\"0\",\"0\",\"0\",\"0\",\"\","
            "\"0\",\"0\",\"0\",\"0\",\"6\"\n");
        return file;
    }
    ImportPlan planBackup() const {
        const exchange::ImportedFile file =
            exchange::readImportFile(fuelioBackup(), QStringLiteral("fuelio"));
        EXPECT_TRUE(file.error.isEmpty()) << file.error.toStdString();
        return plan(file);
    }
    ImportResult importBackup(const ImportProgress& progress = {}) {
        return writeImport(db(), path, planBackup(), progress);
    }
    static qint64 miles(double km) { return std::llround(km / 1.609344); }
};

TEST_F(ImportRemindersTest, EachServicesLatestReminderComesInMilesDoneByItsOrder) {
    makeFile(QStringLiteral("INSERT INTO VehicleInfo (VehicleLookup, VehicleID) VALUES "
                            "('Civic', 1), ('octavia', 2);"));
    EXPECT_EQ(planBackup().remindersTaken(), 2) << "the preview counts what the import writes";
    const ImportResult result = importBackup();
    EXPECT_EQ(result.workOrdersWritten, 4);
    EXPECT_EQ(result.remindersWritten, 2);

    const std::vector<reminders::Reminder> stored = reminders::readReminders(db());
    ASSERT_EQ(stored.size(), 2u);
    const reminders::Reminder& oil = stored[1].name == "Oil change" ? stored[1] : stored[0];
    const reminders::Reminder& tyres = stored[1].name == "Oil change" ? stored[0] : stored[1];
    EXPECT_EQ(oil.name, "Oil change");
    EXPECT_EQ(oil.vehicleId, 2) << "the existing vehicle of the same Look Up";
    EXPECT_EQ(oil.dueDate, QDate(2022, 7, 1)) << "the later cost's, not the earlier one's";
    EXPECT_EQ(oil.dueMiles, miles(28000));
    EXPECT_EQ(oil.repeatMiles, miles(15000));
    EXPECT_EQ(oil.repeatMonths, 12);
    EXPECT_EQ(oil.doneDate, QDate(2021, 7, 1));
    EXPECT_EQ(oil.doneMiles, miles(13000));
    EXPECT_EQ(QString::number(*oil.doneWorkOrderId),
              scalar(QStringLiteral("SELECT WorkOrderID FROM WorkOrder WHERE Date LIKE "
                                    "'2021-07-01%'")));
    EXPECT_FALSE(oil.closed);
    // Only a repeat: due that far after the cost.
    EXPECT_EQ(tyres.name, "Tyres");
    EXPECT_EQ(tyres.dueDate, QDate(2021, 9, 1));
    EXPECT_EQ(tyres.dueMiles, std::nullopt);
    EXPECT_EQ(tyres.repeatMonths, 6);
    EXPECT_TRUE(backup::checkFile(path).sound) << "the file's checks take the reminders' table";

    // The order that brought it does not do it again; the same file again brings no
    // order and no reminder twice.
    EXPECT_TRUE(reminders::recordServicesDone(db(), *oil.doneWorkOrderId).empty());
    EXPECT_EQ(planBackup().remindersTaken(), 0);
    const ImportResult again = importBackup();
    EXPECT_EQ(again.workOrdersWritten, 0);
    EXPECT_EQ(again.remindersWritten, 0);
    EXPECT_EQ(reminders::readReminders(db()).size(), 2u);
}

TEST_F(ImportRemindersTest, ACancelledImportLeavesNoReminder) {
    makeFile();
    const ImportResult result = importBackup([](int, int) { return false; });
    EXPECT_TRUE(result.cancelled);
    EXPECT_EQ(result.remindersWritten, 0);
    EXPECT_TRUE(reminders::readReminders(db()).empty());
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM WorkOrder")), QStringLiteral("0"));
}

} // namespace
