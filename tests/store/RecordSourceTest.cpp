#include "StoreTestSupport.h"

#include "store/RecordSource.h"
#include "store/StoreErrors.h"
#include "values/Currency.h"

using namespace store;
using namespace values;
using namespace store_test;

TEST(RecordSourceText, ReadsTheSelectTextsTheWindowsUse) {
    const RecordSource fuel = parseRecordSource(
        QStringLiteral("Select * from Fuel where VehicleID = 7 Order by FuelDate, FuelMiles"));
    EXPECT_EQ(fuel.table, QStringLiteral("Fuel"));
    ASSERT_EQ(fuel.where.size(), 1);
    EXPECT_EQ(fuel.where[0].field, QStringLiteral("VehicleID"));
    EXPECT_EQ(fuel.where[0].number, QStringLiteral("7"));
    ASSERT_EQ(fuel.order.size(), 2);
    EXPECT_EQ(fuel.order[1].field, QStringLiteral("FuelMiles"));
    EXPECT_FALSE(fuel.order[1].descending);

    const RecordSource done =
        parseRecordSource(QStringLiteral("Select * from workDone Where WorkOrderID = -1"));
    EXPECT_EQ(done.table, QStringLiteral("workDone"));
    EXPECT_EQ(done.where[0].number, QStringLiteral("-1"));
    EXPECT_TRUE(done.order.isEmpty());

    const RecordSource table = parseRecordSource(QStringLiteral("  VehicleInfo "));
    EXPECT_EQ(table.table, QStringLiteral("VehicleInfo"));
    EXPECT_TRUE(table.where.isEmpty());

    const RecordSource mixed = parseRecordSource(
        QStringLiteral("SELECT * FROM [Trip] WHERE a=1 and B = 2 ORDER BY c DESC, d asc;"));
    EXPECT_EQ(mixed.table, QStringLiteral("Trip"));
    EXPECT_EQ(mixed.where.size(), 2);
    EXPECT_TRUE(mixed.order[0].descending);
    EXPECT_FALSE(mixed.order[1].descending);
}

TEST(RecordSourceText, RefusesWhatItDoesNotUnderstand) {
    for (const char* text :
         {"Select Name from Trip", "Select * Trip", "Select * from", "Select * from Trip where",
          "Select * from Trip where a = b", "Select * from Trip where a = 'x'",
          "Select * from Trip where a = 1 or b = 2", "Select * from Trip order a",
          "Select * from Trip where a = 1; delete from Trip", "Select * from Trip, Owner",
          "Select * from Trip where a = 1.2.3", "select"})
        EXPECT_STORE_ERROR(parseRecordSource(QString::fromLatin1(text)), errSyntaxInQuery) << text;
    EXPECT_STORE_ERROR(parseRecordSource(QString()), errSyntaxInQuery);
}

TEST(RecordSourceText, NamesAreCheckedAgainstTheFile) {
    TinyDb tiny;
    const platform::AppError noTable = storeError(
        [&] { tiny.db->OpenRecordset(QStringLiteral("Select * from Trips where OwnerID = 1")); });
    EXPECT_EQ(noTable.number(), errTableNotFound);
    EXPECT_TRUE(noTable.text().contains(QLatin1String("'Trips'")));
    EXPECT_STORE_ERROR(tiny.db->OpenRecordset(QStringLiteral("Vehicles")), errTableNotFound);
    EXPECT_STORE_ERROR(tiny.db->OpenRecordset(QStringLiteral("drivolex_meta_relations")),
                       errTableNotFound);
    EXPECT_STORE_ERROR(tiny.db->OpenRecordset(QStringLiteral("Select * from Trip where Owner = 1")),
                       errItemNotFound);
    EXPECT_STORE_ERROR(
        tiny.db->OpenRecordset(QStringLiteral("Select * from Trip order by Nothing")),
        errItemNotFound);
    // A name carrying SQL is only ever a name.
    EXPECT_STORE_ERROR(tiny.db->OpenRecordset(QStringLiteral("Trip; DROP TABLE Trip")),
                       errTableNotFound);
    EXPECT_EQ(tiny.count(QStringLiteral("Trip")), 0);
}

TEST(RecordSourceText, AWhereTermConvertsItsNumberForTheField) {
    TinyDb tiny;
    const qint64 owner = tiny.addOwner(QStringLiteral("A"));
    auto trips = tiny.db->OpenRecordset(QStringLiteral("Trip"));
    for (const char* cost : {"5", "0.0005"}) {
        trips->AddNew();
        trips->setValue(QStringLiteral("OwnerID"), owner);
        trips->setValue(QStringLiteral("Cost"), QString::fromLatin1(cost));
        trips->Update();
    }
    // Money is kept scaled: "Cost = 5" means five, not five ten-thousandths.
    auto rs = tiny.db->OpenRecordset(QStringLiteral("select * from TRIP where cost = 5"));
    ASSERT_EQ(rs->RecordCount(), 1);
    EXPECT_EQ(rs->value(QStringLiteral("Cost")).value<Currency>().scaled, 50000);
    trips->FindFirst(QStringLiteral("Cost = 5"));
    EXPECT_EQ(trips->bookmark(), rs->bookmark());
}
