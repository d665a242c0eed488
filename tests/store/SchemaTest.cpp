// The program's six-table layout as the record store enforces it.
#include "StoreTestFiles.h"
#include "store/Database.h"
#include "store/Recordset.h"
#include "store/StoreErrors.h"
#include "store/modCreateDB.h"
#include "support/MsgBoxRecorder.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace store;
using testing_support::sqlScalar;

namespace {

class Schema : public ::testing::Test {
protected:
    void SetUp() override {
        testing_support::MsgBoxRecorder quiet;
        ASSERT_TRUE(modCreateDB::CreateNewDatabase(path));
        modCreateDB::CurrentDatabase.reset();
        db = Database::OpenDatabase(path);
    }

    // Adds a row through a record set and returns its new key.
    int add(const QString& table, const QString& keyField, const QVariantMap& values) {
        auto rs = db->OpenRecordset(table);
        rs->AddNew();
        for (auto it = values.begin(); it != values.end(); ++it)
            rs->setValue(it.key(), it.value());
        rs->Update();
        rs->setBookmark(rs->LastModified());
        return rs->value(keyField).toInt();
    }

    int count(const QString& table) {
        return sqlScalar(path, QStringLiteral("select count(*) from ") + table).toInt();
    }

    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("schema.mdb"));
    std::shared_ptr<Database> db;
};

int errorNumberOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const platform::AppError& e) {
        return e.number();
    }
    return 0;
}

TEST_F(Schema, KeysArePositiveUniqueAndOwnerKeysZeroAndMinusOneSelectNothing) {
    const int first = add("VehicleInfo", "VehicleID", {{"VehicleLookup", "Car"}});
    const int second = add("VehicleInfo", "VehicleID", {{"VehicleLookup", "Van"}});
    EXPECT_GT(first, 0);
    EXPECT_GT(second, 0);
    EXPECT_NE(first, second);
    add("Fuel", "FuelID", {{"VehicleID", first}, {"FuelGals", "10"}});

    for (const char* source :
         {"Select * from Fuel where VehicleID = 0", "Select * from WorkOrder where VehicleID = -1",
          "Select * from workDone Where WorkOrderID = -1",
          "Select * from PartsUsed where WorkOrderID = -1",
          "Select * from WorkOrderMemo Where WorkOrderID = -1"}) {
        auto rs = db->OpenRecordset(QLatin1String(source));
        EXPECT_TRUE(rs->isBOF() && rs->isEOF()) << source;
        EXPECT_EQ(rs->RecordCount(), 0) << source;
    }
}

TEST_F(Schema, NamesMatchWithoutRegardToCase) {
    const int car = add("VehicleInfo", "VehicleID", {{"VehicleLookup", "Car"}});
    const int fuelId = add("Fuel", "FuelId", {{"VehicleID", car}, {"FuelGals", "10"}});
    const int order = add("Workorder", "workorderID", {{"VehicleID", car}, {"Mileage", "1000"}});
    add("WorkDone", "WorkDoneID", {{"WorkOrderID", order}, {"WorkDescription", "Oil"}});

    for (const char* spelling : {"FuelID", "FuelId", "fuelid"}) {
        auto rs = db->OpenRecordset(
            QStringLiteral("Select * from Fuel where VehicleID = %1 Order by FuelDate, FuelMiles")
                .arg(car));
        rs->FindFirst(QStringLiteral("%1 = %2").arg(QLatin1String(spelling)).arg(fuelId));
        EXPECT_FALSE(rs->NoMatch()) << spelling;
        EXPECT_EQ(rs->value(QLatin1String(spelling)).toInt(), fuelId);
    }
    auto services = db->OpenRecordset(
        QStringLiteral("Select * from workDone Where WorkOrderID = %1").arg(order));
    ASSERT_EQ(services->RecordCount(), 1);
    EXPECT_EQ(services->value("workdescription").toString(), QStringLiteral("Oil"));
}

TEST_F(Schema, SecondNotesRowForAnOrderAndRowsWithoutOwnerAreRefused) {
    const int car = add("VehicleInfo", "VehicleID", {{"VehicleLookup", "Car"}});
    const int order = add("WorkOrder", "WorkOrderID", {{"VehicleID", car}});
    add("WorkOrderMemo", "WorkOrderID", {{"WorkOrderID", order}, {"WorkOrderMemo", "first"}});

    EXPECT_EQ(errorNumberOf([&] {
                  add("WorkOrderMemo", "WorkOrderID",
                      {{"WorkOrderID", order}, {"WorkOrderMemo", "second"}});
              }),
              errDuplicateKey);
    EXPECT_EQ(errorNumberOf([&] {
                  add("Fuel", "FuelID", {{"VehicleID", 999}});
              }),
              errRelatedRecordRequired);
    EXPECT_EQ(errorNumberOf([&] {
                  add("PartsUsed", "PartID", {{"WorkOrderID", 999}});
              }),
              errRelatedRecordRequired);
    EXPECT_EQ(count("WorkOrderMemo"), 1);
    EXPECT_EQ(count("Fuel"), 0);
    EXPECT_TRUE(testing_support::fileIsConsistent(path));
}

TEST_F(Schema, DeletingAVehicleRemovesEverythingThatBelongsToIt) {
    const int car = add("VehicleInfo", "VehicleID", {{"VehicleLookup", "Car"}});
    const int keep = add("VehicleInfo", "VehicleID", {{"VehicleLookup", "Keep"}});
    for (int owner : {car, keep}) {
        for (int i = 0; i < 3; ++i)
            add("Fuel", "FuelID", {{"VehicleID", owner}, {"FuelGals", "10"}});
        for (int i = 0; i < 2; ++i) {
            const int order = add("WorkOrder", "WorkOrderID", {{"VehicleID", owner}});
            add("WorkDone", "WorkDoneID", {{"WorkOrderID", order}, {"WorkDescription", "Oil"}});
            add("PartsUsed", "PartID", {{"WorkOrderID", order}, {"PartQty", "2"}});
            add("WorkOrderMemo", "WorkOrderID", {{"WorkOrderID", order}, {"WorkOrderMemo", "n"}});
        }
    }
    auto vehicles = db->OpenRecordset(QStringLiteral("VehicleInfo"));
    vehicles->FindFirst(QStringLiteral("VehicleID = %1").arg(car));
    ASSERT_FALSE(vehicles->NoMatch());
    vehicles->Delete();

    EXPECT_EQ(count("VehicleInfo"), 1);
    EXPECT_EQ(count("Fuel"), 3);
    EXPECT_EQ(count("WorkOrder"), 2);
    EXPECT_EQ(count("WorkDone"), 2);
    EXPECT_EQ(count("PartsUsed"), 2);
    EXPECT_EQ(count("WorkOrderMemo"), 2);
    EXPECT_EQ(
        sqlScalar(path,
                  QStringLiteral("select count(*) from Fuel where VehicleID <> %1").arg(keep)),
        QStringLiteral("0"));
    EXPECT_TRUE(testing_support::fileIsConsistent(path));
}

} // namespace
