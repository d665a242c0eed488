// One user's afternoon of mistakes across the record windows, typed as a user types
// them: a save refused for a bad value, an order moved away from its vehicle, an order
// whose vehicle is deleted while it is typed, part cells without a quantity, and
// vehicles deleted while their fuel and work order windows stay open. Each time the
// program says why, keeps what was typed until it is put right or cancelled, stores
// nothing the user did not type, and shows no row that is gone.
#include "FileTroubles.h"

#include "store/StoreErrors.h"

using namespace e2e;
using namespace store;

namespace {

class BadInputWalk : public TroubleSession {
protected:
    void SetUp() override {
        TroubleSession::SetUp();
        ASSERT_NO_FATAL_FAILURE(startWithNewDatabase());
        putInSomeRows();
    }

    QComboBox* vehicleList(QWidget* window) {
        return qobject_cast<QComboBox*>(labelled(window, QStringLiteral("Vehicle")));
    }
    // The window's tab container can be used.
    static bool tabsUsable(QWidget* window) {
        auto* tabs = window->findChild<QTabWidget*>();
        return tabs && tabs->isEnabled();
    }
    // Empties a grid cell as a user does: F2 opens it, Backspace clears it, Enter.
    void clearCell(QTableView* table, int row, int column) {
        clickCell(table, row, column);
        pressKey(Qt::Key_F2);
        pressKey(Qt::Key_Backspace);
        pressKey(Qt::Key_Return);
    }
    // The last box explains that a part needs its quantity.
    void expectQtyBox(const char* says) const {
        ASSERT_GE(boxes.count(), 1);
        EXPECT_TRUE(boxes.last().prompt.contains(QLatin1String(says)))
            << boxes.last().prompt.toStdString();
        EXPECT_TRUE(boxes.last().prompt.contains(QStringLiteral("PartQty")));
        EXPECT_EQ(boxes.last().style, 48);
    }
};

} // namespace

TEST_F(BadInputWalk, MistakesAcrossTheRecordWindowsAreRefusedAndNothingMadeUpIsStored) {
    QWidget* fuel = openWindow(QStringLiteral("Gas Purchases"), QStringLiteral("Gas Purchases"));
    ASSERT_NE(fuel, nullptr);
    pick(vehicleList(fuel), QStringLiteral("Alpha"));
    ASSERT_EQ(position(fuel), QStringLiteral("Record 1 of 1"));

    // A year that is no number: refused, and the row waits, Delete out of reach, so
    // that no stored vehicle can be deleted in its place.
    QWidget* vehicles =
        openWindow(QStringLiteral("Vehicle Information"), QStringLiteral("Vehicle Information"));
    ASSERT_NE(vehicles, nullptr);
    press(vehicles, "cmdAdd");
    typeInto(vehicles, QStringLiteral("Look Up"), QStringLiteral("Charlie"));
    typeInto(vehicles, QStringLiteral("Year"), QStringLiteral("abc"));
    press(vehicles, "cmdUpdate");
    ASSERT_EQ(boxes.count(), 1);
    expectErrorBox(errTypeMismatch, QStringLiteral("VehicleYear"));
    ASSERT_NO_FATAL_FAILURE(
        expectStillBeingTyped(vehicles, QStringLiteral("Year"), QStringLiteral("abc")));
    typeInto(vehicles, QStringLiteral("Year"), QStringLiteral("2012"));
    boxes.clear();
    press(vehicles, "cmdUpdate");
    EXPECT_EQ(boxes.count(), 0);
    EXPECT_EQ(rows(QStringLiteral("SELECT VehicleLookup || '/' || VehicleYear FROM VehicleInfo "
                                  "ORDER BY VehicleID")),
              QStringLiteral("Alpha/2001;Civic/2010;Charlie/2012"));

    // Civic's only order moved to Charlie: Civic's list is left empty, and its tabs go.
    QWidget* orders = openWindow(QStringLiteral("Service Records"), QStringLiteral("Work Order"));
    ASSERT_NE(orders, nullptr);
    pick(vehicleList(orders), QStringLiteral("Civic"));
    press(orders, "cmdEdit");
    pickAgain(vehicleList(orders), QStringLiteral("Charlie"));
    press(orders, "cmdUpdate");
    EXPECT_EQ(boxes.count(), 0);
    EXPECT_EQ(position(orders), QStringLiteral("Record 0 of 0"));
    EXPECT_EQ(usableButtons(orders), (QStringList{"cmdAdd", "cmdClose"}));
    EXPECT_FALSE(tabsUsable(orders));
    EXPECT_EQ(value(QStringLiteral("SELECT VehicleID FROM WorkOrder")), QStringLiteral("3"));

    // A date that does not exist: refused, no details for the order that is not saved.
    press(orders, "cmdAdd");
    typeInto(orders, QStringLiteral("Date"), QStringLiteral("13/45/2024"));
    press(orders, "cmdUpdate");
    ASSERT_EQ(boxes.count(), 1);
    expectErrorBox(errTypeMismatch, QStringLiteral("Date"));
    ASSERT_NO_FATAL_FAILURE(
        expectStillBeingTyped(orders, QStringLiteral("Date"), QStringLiteral("13/45/2024")));
    press(orders, "cmdCancel");
    EXPECT_EQ(usableButtons(orders), (QStringList{"cmdAdd", "cmdClose"}));
    EXPECT_FALSE(tabsUsable(orders));
    boxes.clear();

    // Charlie's parts: a Part # before the Qty, and a stored Qty cleared, are refused
    // with a word why; the file keeps exactly its one part.
    pickAgain(vehicleList(orders), QStringLiteral("Civic"));
    pickAgain(vehicleList(orders), QStringLiteral("Charlie"));
    ASSERT_EQ(position(orders), QStringLiteral("Record 1 of 1"));
    ASSERT_TRUE(tabsUsable(orders));
    clickTab(orders, QStringLiteral("Parts Used"));
    QTableView* parts = grid(orders, "dbgParts");
    typeIntoCell(parts, 1, 1, QStringLiteral("AB-1"));
    ASSERT_NO_FATAL_FAILURE(expectQtyBox("Qty first"));
    EXPECT_EQ(cell(parts, 1, 1), QString());
    clearCell(parts, 0, 0);
    ASSERT_NO_FATAL_FAILURE(expectQtyBox("cannot be left empty"));
    EXPECT_EQ(cell(parts, 0, 0), QStringLiteral("2"));
    clickTab(orders, QStringLiteral("Services")); // leaving the grid writes what is pending
    EXPECT_EQ(boxes.count(), 2);
    EXPECT_EQ(rows(QStringLiteral("SELECT ifnull(PartQty, '-') || '/' || ifnull(PartNum, '-') "
                                  "FROM PartsUsed")),
              QStringLiteral("2/F-1"));
    boxes.clear();

    // A new order pointed at Civic, and Civic deleted meanwhile: the order has no
    // vehicle, Update says so, and it waits until Charlie is picked.
    press(orders, "cmdAdd");
    typeInto(orders, QStringLiteral("Date"), QStringLiteral("2024-03-03"));
    pickAgain(vehicleList(orders), QStringLiteral("Civic"));
    ASSERT_NO_FATAL_FAILURE(bringForward(QStringLiteral("Vehicle Information")));
    navigate(vehicles, "btnPrevious");
    ASSERT_EQ(shown(labelled(vehicles, QStringLiteral("Look Up"))), QStringLiteral("Civic"));
    press(vehicles, "cmdDelete"); // answered Yes
    ASSERT_NO_FATAL_FAILURE(bringForward(QStringLiteral("Work Order")));
    EXPECT_EQ(shown(vehicleList(orders)), QString());
    boxes.clear();
    press(orders, "cmdUpdate");
    ASSERT_EQ(boxes.count(), 1);
    expectErrorBox(381, QStringLiteral("Vehicle"));
    ASSERT_NO_FATAL_FAILURE(
        expectStillBeingTyped(orders, QStringLiteral("Date"), QStringLiteral("2024-03-03")));
    EXPECT_EQ(value(QStringLiteral("SELECT count(*) FROM WorkOrder")), QStringLiteral("1"));
    pickAgain(vehicleList(orders), QStringLiteral("Charlie"));
    boxes.clear();
    press(orders, "cmdUpdate");
    EXPECT_EQ(boxes.count(), 0);
    EXPECT_EQ(rows(QStringLiteral("SELECT VehicleID || '/' || substr(Date, 1, 10) FROM WorkOrder "
                                  "ORDER BY WorkOrderID")),
              QStringLiteral("3/2024-01-10;3/2024-03-03"));

    // Alpha deleted: its fuel window, brought back, shows none of its rows.
    ASSERT_NO_FATAL_FAILURE(bringForward(QStringLiteral("Vehicle Information")));
    ASSERT_EQ(shown(labelled(vehicles, QStringLiteral("Look Up"))), QStringLiteral("Alpha"));
    press(vehicles, "cmdDelete");
    ASSERT_NO_FATAL_FAILURE(bringForward(QStringLiteral("Gas Purchases")));
    EXPECT_EQ(position(fuel), QStringLiteral("Record 0 of 0"));
    EXPECT_EQ(shown(labelled(fuel, QStringLiteral("Miles"))), QString());
    EXPECT_EQ(shown(vehicleList(fuel)), QString());
    EXPECT_EQ(usableButtons(fuel), (QStringList{"cmdAdd", "cmdClose"}));
    EXPECT_FALSE(navigationBar(fuel)->isEnabled());

    // Charlie deleted: the work order window, brought back, shows no order and no part.
    ASSERT_NO_FATAL_FAILURE(bringForward(QStringLiteral("Vehicle Information")));
    ASSERT_EQ(shown(labelled(vehicles, QStringLiteral("Look Up"))), QStringLiteral("Charlie"));
    press(vehicles, "cmdDelete");
    ASSERT_NO_FATAL_FAILURE(bringForward(QStringLiteral("Work Order")));
    EXPECT_EQ(position(orders), QStringLiteral("Record 0 of 0"));
    EXPECT_EQ(shown(labelled(orders, QStringLiteral("Date"))), QString());
    EXPECT_EQ(usableButtons(orders), QStringList{"cmdClose"});
    EXPECT_FALSE(tabsUsable(orders));
    EXPECT_EQ(cell(parts, 0, 0), QString());

    EXPECT_EQ(boxes.count(), 2) << "only the questions before deleting";
    EXPECT_EQ(allRows(), QStringList());
    expectFileSound();
    expectExitCloses();
}
