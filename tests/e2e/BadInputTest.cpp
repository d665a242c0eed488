// Values the file cannot hold, typed into each record window: each gets the window's
// error box naming the field, the file keeps every row as it was, and the row waits as
// typed for the user to put it right or cancel it.
#include "FileTroubles.h"

#include "store/StoreErrors.h"

using namespace e2e;
using namespace store;

namespace {

struct BadValue {
    const char* label; // the caption of the box the bad value goes into
    QString text;
    int number;
    const char* field;
};

class BadInput : public TroubleSession {
protected:
    void SetUp() override {
        TroubleSession::SetUp();
        startWithNewDatabase();
        putInSomeRows();
    }

    // Update was refused with the box for the value; nothing reached the file and the
    // row waits with the value on show for the user to see what was wrong.
    void expectRefused(QWidget* window, const BadValue& bad, const QStringList& before) {
        ASSERT_EQ(boxes.count(), 1) << "exactly one box per refused Update";
        expectErrorBox(bad.number, QLatin1String(bad.field));
        EXPECT_EQ(allRows(), before) << "a refused Update changed the file";
        expectFileSound();
        ASSERT_NO_FATAL_FAILURE(expectStillBeingTyped(window, QLatin1String(bad.label), bad.text));
    }
};

} // namespace

TEST_F(BadInput, VehicleWindowRefusesValuesTheFileCannotHold) {
    QWidget* vehicles =
        openWindow(QStringLiteral("Vehicle Information"), QStringLiteral("Vehicle Information"));
    ASSERT_NE(vehicles, nullptr);
    const QStringList before = allRows();
    const BadValue cases[] = {
        {"Year", QStringLiteral("abc"), errTypeMismatch, "VehicleYear"},
        {"Year", QStringLiteral("40000"), errOverflow, "VehicleYear"},
        {"Look Up", QStringLiteral("ABCDEFGHIJK"), errFieldTooSmall, "VehicleLookup"},
        {"Serial #", QString(26, QLatin1Char('S')), errFieldTooSmall, "VehicleSerialNum"},
    };
    for (const BadValue& bad : cases) {
        SCOPED_TRACE(bad.text.toStdString());
        boxes.clear();
        press(vehicles, "cmdAdd");
        typeInto(vehicles, QStringLiteral("Look Up"), QStringLiteral("Good"));
        typeInto(vehicles, QStringLiteral("Year"), QStringLiteral("2020"));
        typeInto(vehicles, QLatin1String(bad.label), bad.text);
        press(vehicles, "cmdUpdate");
        ASSERT_NO_FATAL_FAILURE(expectRefused(vehicles, bad, before));
        press(vehicles, "cmdCancel");
    }

    // The last one the user puts right in place: it is saved once, and none of the
    // refused rows comes along with it.
    boxes.clear();
    press(vehicles, "cmdAdd");
    EXPECT_EQ(shown(labelled(vehicles, QStringLiteral("Serial #"))), QString());
    typeInto(vehicles, QStringLiteral("Look Up"), QStringLiteral("Good"));
    typeInto(vehicles, QStringLiteral("Year"), QStringLiteral("2020"));
    typeInto(vehicles, QStringLiteral("Serial #"), QString(26, QLatin1Char('S')));
    press(vehicles, "cmdUpdate");
    ASSERT_EQ(boxes.count(), 1);
    typeInto(vehicles, QStringLiteral("Serial #"), QString(25, QLatin1Char('S')));
    boxes.clear();
    press(vehicles, "cmdUpdate");
    EXPECT_EQ(boxes.count(), 0);
    EXPECT_EQ(usableButtons(vehicles), (QStringList{"cmdAdd", "cmdClose", "cmdDelete", "cmdEdit"}));
    EXPECT_EQ(
        query(QStringLiteral("SELECT VehicleLookup || '/' || VehicleYear || '/' || "
                             "length(VehicleSerialNum) FROM VehicleInfo WHERE VehicleID > 2")),
        QStringList{"Good/2020/25"});
    EXPECT_EQ(allRows().size(), before.size() + 1);
    expectFileSound();
}

TEST_F(BadInput, FuelWindowRefusesValuesTheFileCannotHoldAndAMissingVehicle) {
    QWidget* fuel = openWindow(QStringLiteral("Gas Purchases"), QStringLiteral("Gas Purchases"));
    ASSERT_NE(fuel, nullptr);
    const QStringList before = allRows();

    // Nothing chosen in the vehicle list: the purchase has no owner.
    press(fuel, "cmdAdd");
    typeInto(fuel, QStringLiteral("Date"), QStringLiteral("1/5/2024"));
    typeInto(fuel, QStringLiteral("Gals"), QStringLiteral("10"));
    press(fuel, "cmdUpdate");
    ASSERT_EQ(boxes.count(), 1);
    expectErrorBox(381, QStringLiteral("Vehicle"));
    EXPECT_EQ(allRows(), before);
    ASSERT_NO_FATAL_FAILURE(
        expectStillBeingTyped(fuel, QStringLiteral("Gals"), QStringLiteral("10")));

    // The user picks the vehicle and saves: the purchase is Alpha's, shown with Alpha's.
    pick(qobject_cast<QComboBox*>(labelled(fuel, QStringLiteral("Vehicle"))),
         QStringLiteral("Alpha"));
    boxes.clear();
    press(fuel, "cmdUpdate");
    EXPECT_EQ(boxes.count(), 0);
    EXPECT_EQ(position(fuel), QStringLiteral("Record 2 of 2"));
    EXPECT_EQ(
        query(QStringLiteral("SELECT VehicleID || '/' || FuelGals FROM Fuel WHERE FuelId > 1")),
        QStringList{"1/10"});
    const QStringList withPurchase = allRows();

    const BadValue cases[] = {
        {"Date", QStringLiteral("2/30/2024"), errTypeMismatch, "FuelDate"},
        {"Gals", QStringLiteral("ten"), errTypeMismatch, "FuelGals"},
        {"Cost", QStringLiteral("abc"), errTypeMismatch, "FuelCost"},
        {"State", QStringLiteral("MAS"), errFieldTooSmall, "FuelState"},
    };
    for (const BadValue& bad : cases) {
        SCOPED_TRACE(bad.text.toStdString());
        boxes.clear();
        press(fuel, "cmdAdd");
        typeInto(fuel, QStringLiteral("Date"), QStringLiteral("1/5/2024"));
        typeInto(fuel, QStringLiteral("Gals"), QStringLiteral("10"));
        typeInto(fuel, QStringLiteral("Miles"), QStringLiteral("400"));
        typeInto(fuel, QStringLiteral("Cost"), QStringLiteral("20"));
        typeInto(fuel, QLatin1String(bad.label), bad.text);
        press(fuel, "cmdUpdate");
        ASSERT_NO_FATAL_FAILURE(expectRefused(fuel, bad, withPurchase));
        press(fuel, "cmdCancel");
    }

    // The last one the user puts right in place.
    boxes.clear();
    press(fuel, "cmdAdd");
    typeInto(fuel, QStringLiteral("Date"), QStringLiteral("1/6/2024"));
    typeInto(fuel, QStringLiteral("Gals"), QStringLiteral("10"));
    typeInto(fuel, QStringLiteral("Miles"), QStringLiteral("400"));
    typeInto(fuel, QStringLiteral("Cost"), QStringLiteral("20"));
    typeInto(fuel, QStringLiteral("State"), QStringLiteral("MAS"));
    press(fuel, "cmdUpdate");
    ASSERT_EQ(boxes.count(), 1);
    typeInto(fuel, QStringLiteral("State"), QStringLiteral("MA"));
    boxes.clear();
    press(fuel, "cmdUpdate");
    EXPECT_EQ(boxes.count(), 0);
    EXPECT_EQ(position(fuel), QStringLiteral("Record 3 of 3"));
    EXPECT_EQ(
        query(QStringLiteral("SELECT VehicleID || '/' || FuelDate || '/' || FuelGals || "
                             "'/' || FuelCost || '/' || FuelState FROM Fuel WHERE FuelId > 2")),
        QStringList{"1/2024-01-06 00:00:00/10/200000/MA"});
    EXPECT_EQ(allRows().size(), before.size() + 2);
    expectFileSound();
}

TEST_F(BadInput, WorkOrderWindowRefusesBadOrdersAndBadPartCells) {
    QWidget* orders = openWindow(QStringLiteral("Service Records"), QStringLiteral("Work Order"));
    ASSERT_NE(orders, nullptr);
    pick(qobject_cast<QComboBox*>(labelled(orders, QStringLiteral("Vehicle"))),
         QStringLiteral("Civic"));
    const QStringList before = allRows();
    const BadValue cases[] = {
        {"Date", QStringLiteral("13/45/2024"), errTypeMismatch, "Date"},
        {"Miles", QStringLiteral("abc"), errTypeMismatch, "Mileage"},
        {"Miles", QStringLiteral("1e10"), errOverflow, "Mileage"},
    };
    for (const BadValue& bad : cases) {
        SCOPED_TRACE(bad.text.toStdString());
        boxes.clear();
        press(orders, "cmdAdd");
        typeInto(orders, QStringLiteral("Date"), QStringLiteral("2024-02-02"));
        typeInto(orders, QStringLiteral("Miles"), QStringLiteral("21000"));
        typeInto(orders, QLatin1String(bad.label), bad.text);
        press(orders, "cmdUpdate");
        ASSERT_NO_FATAL_FAILURE(expectRefused(orders, bad, before));
        press(orders, "cmdCancel");
    }

    boxes.clear();
    press(orders, "cmdAdd");
    typeInto(orders, QStringLiteral("Date"), QStringLiteral("2024-02-02"));
    typeInto(orders, QStringLiteral("Miles"), QStringLiteral("21000"));
    press(orders, "cmdUpdate");
    EXPECT_EQ(boxes.count(), 0);
    EXPECT_EQ(query(QStringLiteral("SELECT WorkOrderID || '/' || VehicleID || '/' || Mileage || "
                                   "'/' || Date FROM WorkOrder WHERE WorkOrderID > 1")),
              QStringList{"2/2/21000/2024-02-02 00:00:00"});
    QStringList withOrder = allRows();
    ASSERT_EQ(withOrder.size(), before.size() + 1);

    // Parts of the new order: a cell that is no number is refused when Enter would take
    // it, naming the field; nothing reaches the file, and the row waits to be put right.
    clickTab(orders, QStringLiteral("Parts Used"));
    auto* parts = orders->findChild<QTableView*>(QStringLiteral("dbgParts"));
    const struct {
        int column;
        QString text;
        const char* field;
    } cells[] = {
        {0, QStringLiteral("two"), "PartQty"},
        {3, QStringLiteral("abc"), "PartCost"},
    };
    int row = 0;
    for (const auto& cell : cells) {
        SCOPED_TRACE(cell.field);
        boxes.clear();
        if (cell.column > 0) // a quantity first, or the grid takes no other cell
            typeIntoCell(parts, row, 0, QStringLiteral("1"));
        typeIntoCell(parts, row, cell.column, cell.text);
        ASSERT_GE(boxes.count(), 1);
        const testing_support::RecordedBox first = boxes.boxes().first();
        EXPECT_TRUE(first.prompt.startsWith(QStringLiteral("Error #%1\r\n").arg(errTypeMismatch)))
            << first.prompt.toStdString();
        EXPECT_TRUE(first.prompt.contains(QLatin1String(cell.field))) << first.prompt.toStdString();
        EXPECT_EQ(first.style, 48);
        EXPECT_EQ(first.title, QStringLiteral("Error"));
        EXPECT_EQ(allRows(), withOrder);
        expectFileSound();

        boxes.clear();
        typeIntoCell(parts, row, cell.column, QStringLiteral("3"));
        clickTab(orders, QStringLiteral("Services")); // leaving the grid writes the row
        EXPECT_EQ(boxes.count(), 0);
        ++row;
        EXPECT_EQ(query(QStringLiteral("SELECT count(*) FROM PartsUsed WHERE WorkOrderId = 2")),
                  QStringList{QString::number(row)});
        withOrder = allRows();
        clickTab(orders, QStringLiteral("Parts Used"));
    }
    EXPECT_EQ(
        query(QStringLiteral("SELECT PartQty || '/' || ifnull(PartCost, '-') FROM PartsUsed WHERE "
                             "WorkOrderId = 2 ORDER BY PartID")),
        (QStringList{"3/-", "1/30000"}));
    expectFileSound();
}
