// Adding, editing, saving, cancelling and deleting work orders through the window's
// widgets; the close lock; bad input typed into the order's boxes.
#include "WorkOrderWindowFixture.h"

#include "store/StoreErrors.h"

using namespace records_test;

namespace {
const char* const kOrdersInFile = "SELECT group_concat(VehicleID || '/' || ifnull(Mileage, '-') || "
                                  "'/' || ifnull(substr(Date, 1, 10), '-'), ' ') FROM "
                                  "(SELECT * FROM WorkOrder ORDER BY WorkOrderID)";
} // namespace

TEST_F(WorkOrderWindowTest, NewOrderThenUpdateIsCurrentAtItsDatePosition) {
    addVehicles({"Civic"});
    const int civic = vehicleID("Civic");
    addOrder(civic, "2024-01-10", 20000);
    addOrder(civic, "2024-06-01", 30000);
    open();
    pick(QStringLiteral("Civic"));

    click(window->cmdAdd);
    expectEditing();
    EXPECT_TRUE(window->txtDate->hasFocus());
    EXPECT_TRUE(window->txtMiles->text().isEmpty());
    expectCloseRefused();
    QTest::keyClicks(window->txtDate, QStringLiteral("03/15/2024"));
    QTest::keyClick(window->txtDate, Qt::Key_Tab);
    ASSERT_TRUE(window->txtMiles->hasFocus());
    QTest::keyClicks(window->txtMiles, QStringLiteral("25000"));
    click(window->cmdUpdate);

    expectBrowse();
    expectCloseAllowed();
    EXPECT_EQ(caption(), QStringLiteral("Record 2 of 3"));
    EXPECT_EQ(window->txtMiles->text(), QStringLiteral("25000"));
    const int key = scalar(path, "SELECT max(WorkOrderID) FROM WorkOrder").toInt();
    EXPECT_EQ(window->lblOrderNum->text(), QStringLiteral("000%1").arg(key));
    expectDetailsOf(key);
    EXPECT_EQ(scalar(path, "SELECT VehicleID || '/' || Mileage || '/' || substr(Date, 1, 10) "
                           "FROM WorkOrder WHERE WorkOrderID = (SELECT max(WorkOrderID) FROM "
                           "WorkOrder)"),
              QStringLiteral("%1/25000/2024-03-15").arg(civic));
    EXPECT_EQ(boxes.count(), 1) << "only the refusal to close";
}

TEST_F(WorkOrderWindowTest, FirstOrderOfAVehicleMakesEveryButtonWork) {
    addVehicles({"Civic"});
    open();
    pick(QStringLiteral("Civic"));
    click(window->cmdAdd);
    expectEditing();
    QTest::keyClicks(window->txtDate, QStringLiteral("2024-02-02"));
    click(window->cmdUpdate);
    expectBrowse();
    EXPECT_EQ(caption(), QStringLiteral("Record 1 of 1"));

    click(window->cmdEdit); // and editing it works
    expectEditing();
    EXPECT_TRUE(window->txtDate->hasFocus()) << "Edit starts at the first field";
    retype(window->txtMiles, QStringLiteral("777"));
    click(window->cmdUpdate);
    expectBrowse();
    EXPECT_EQ(scalar(path, "SELECT Mileage FROM WorkOrder"), QStringLiteral("777"));
}

TEST_F(WorkOrderWindowTest, CancelOfNewOrderOnEmptyListDisablesNavigationToo) {
    addVehicles({"Civic"});
    open();
    pick(QStringLiteral("Civic"));
    click(window->cmdAdd);
    QTest::keyClicks(window->txtDate, QStringLiteral("2024-02-02"));
    click(window->cmdCancel);
    expectNoOrders(true);
    EXPECT_TRUE(window->txtDate->text().isEmpty());
    EXPECT_EQ(count("WorkOrder"), 0);
    expectCloseAllowed();
    expectDetailsOf(-1);
}

TEST_F(WorkOrderWindowTest, CancelOfEditPutsTheOrderBack) {
    addVehicles({"Civic"});
    const int order = addOrder(vehicleID("Civic"), "2024-01-10", 20000);
    open();
    pick(QStringLiteral("Civic"));
    click(window->cmdEdit);
    retype(window->txtMiles, QStringLiteral("1"));
    click(window->cmdCancel);
    expectBrowse();
    EXPECT_EQ(window->txtMiles->text(), QStringLiteral("20000"));
    EXPECT_EQ(window->lblOrderNum->text(), QStringLiteral("000%1").arg(order));
    expectDetailsOf(order);
    EXPECT_EQ(scalar(path, "SELECT Mileage FROM WorkOrder"), QStringLiteral("20000"));
}

TEST_F(WorkOrderWindowTest, DeleteAsksTheTwoLineQuestionAndNoChangesNothing) {
    addVehicles({"Civic"});
    const int order = addOrder(vehicleID("Civic"), "2024-01-10", 20000);
    addDetails(order, "kept");
    open();
    pick(QStringLiteral("Civic"));
    boxes.answerNext(platform::vbNo);
    click(window->cmdDelete);
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.last().prompt,
              QStringLiteral("Are you sure you want to delete the current record?\r\nDeleting "
                             "this record will also delete all other records that are related "
                             "to this record."));
    EXPECT_EQ(boxes.last().style, 36);
    EXPECT_EQ(boxes.last().title, QStringLiteral("Delete Record?"));
    expectBrowse();
    EXPECT_EQ(count("WorkOrder"), 1);
    EXPECT_EQ(count("WorkDone") + count("PartsUsed") + count("WorkOrderMemo"), 3);
}

TEST_F(WorkOrderWindowTest, DeletingTheOnlyOrderTakesItsDetailsAlong) {
    addVehicles({"Civic", "Truck"});
    const int order = addOrder(vehicleID("Civic"), "2024-01-10", 20000);
    const int other = addOrder(vehicleID("Truck"), "2024-01-10", 1);
    addDetails(order, "gone");
    addDetails(other, "stays");
    open();
    pick(QStringLiteral("Civic"));
    click(window->cmdDelete); // answered Yes
    expectNoOrders(true);
    EXPECT_EQ(caption(), QStringLiteral("Record 0 of 0"));
    expectDetailsOf(-1);
    EXPECT_EQ(count("WorkOrder"), 1);
    EXPECT_EQ(scalar(path, "SELECT group_concat(WorkDescription) FROM WorkDone"),
              QStringLiteral("stays"));
    EXPECT_EQ(scalar(path, "SELECT group_concat(PartNum) FROM PartsUsed"), QStringLiteral("stays"));
    EXPECT_EQ(scalar(path, "SELECT group_concat(WorkOrderMemo) FROM WorkOrderMemo"),
              QStringLiteral("stays"));
    expectFileConsistent();

    click(window->cmdAdd); // New Order works straight away
    expectEditing();
}

TEST_F(WorkOrderWindowTest, DeletingTheFirstOrderLandsOnTheNextWithItsDetails) {
    ProgramEndRecorder ends;
    addVehicles({"Civic"});
    const int civic = vehicleID("Civic");
    addOrder(civic, "2024-01-10", 20000);
    const int second = addOrder(civic, "2024-06-01", 30000);
    addDetails(second, "second");
    open();
    pick(QStringLiteral("Civic"));
    navigate("btnFirst");
    click(window->cmdDelete);
    EXPECT_EQ(ends.ends, 0) << "no order current for a moment is no reason to end";
    EXPECT_EQ(boxes.count(), 1) << "only the question";
    expectBrowse();
    EXPECT_EQ(caption(), QStringLiteral("Record 1 of 1"));
    EXPECT_EQ(window->lblOrderNum->text(), QStringLiteral("000%1").arg(second));
    expectDetailsOf(second);
    EXPECT_EQ(rowsOf(window->datService), 1);
}

TEST_F(WorkOrderWindowTest, WhileEditingTheProgramWillNotCloseAndTabsAreUnavailable) {
    addVehicles({"Civic"});
    addOrder(vehicleID("Civic"), "2024-01-10", 20000);
    open();
    pick(QStringLiteral("Civic"));
    click(window->cmdEdit);
    expectEditing();
    expectCloseRefused();
    navigate("btnFirst"); // the navigation bar is off; nothing moves
    click(window->cmdCancel);
    expectBrowse();
    expectCloseAllowed();
}

TEST_F(WorkOrderWindowTest, VehicleChangedWhileEditingMovesTheOrderSilently) {
    addVehicles({"Civic", "Truck"});
    const int civic = vehicleID("Civic");
    addOrder(civic, "2024-01-10", 20000);
    const int moved = addOrder(civic, "2024-06-01", 30000);
    open();
    pick(QStringLiteral("Civic"));
    click(window->cmdEdit);
    pick(QStringLiteral("Truck"));
    EXPECT_EQ(caption(), QStringLiteral("Record 2 of 2")) << "the list is not re-read";
    click(window->cmdUpdate);

    EXPECT_EQ(boxes.count(), 0);
    EXPECT_EQ(scalar(path, QByteArray("SELECT VehicleID FROM WorkOrder WHERE WorkOrderID = " +
                                      QByteArray::number(moved))
                               .constData())
                  .toInt(),
              vehicleID("Truck"));
    EXPECT_EQ(caption(), QStringLiteral("Record 1 of 1")) << "Civic's list, read again";
    EXPECT_EQ(window->txtMiles->text(), QStringLiteral("20000"));
    EXPECT_FALSE(window->isEditing());
    expectCloseAllowed();
}

TEST_F(WorkOrderWindowTest, BadDateOrMilesShowTheErrorBoxAndSaveNothing) {
    addVehicles({"Civic"});
    const int order = addOrder(vehicleID("Civic"), "2024-01-10", 20000);
    open();
    pick(QStringLiteral("Civic"));
    const struct {
        const char* date;
        const char* miles;
        int number;
        const char* field;
    } cases[] = {{"13/45/2024", "100", store::errTypeMismatch, "Date"},
                 {"2024-01-01", "1e10", store::errOverflow, "Mileage"}, // beyond a 32-bit Long
                 {"2024-01-01", "2147483648", store::errOverflow, "Mileage"},
                 {"2024-01-01", "abc", store::errTypeMismatch, "Mileage"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.miles);
        boxes.clear();
        click(window->cmdAdd);
        QTest::keyClicks(window->txtDate, QLatin1String(c.date));
        QTest::keyClicks(window->txtMiles, QLatin1String(c.miles));
        click(window->cmdUpdate);
        ASSERT_EQ(boxes.count(), 1);
        expectErrorBox(c.number, QLatin1String(c.field));
        // Still adding, with what was typed; no details for an order that is not saved.
        expectEditing();
        EXPECT_EQ(window->txtMiles->text(), QLatin1String(c.miles));
        EXPECT_EQ(window->Data1->EditMode(), store::EditMode::AddNew);
        expectCloseRefused();
        EXPECT_EQ(count("WorkOrder"), 1);
        click(window->cmdCancel);
        expectBrowse();
    }
    // An edited order with a bad value keeps its stored values.
    boxes.clear();
    navigate("btnFirst");
    click(window->cmdEdit);
    retype(window->txtMiles, QStringLiteral("abc"));
    click(window->cmdUpdate);
    expectErrorBox(store::errTypeMismatch, QStringLiteral("Mileage"));
    expectEditing();
    click(window->cmdCancel);
    expectBrowse();
    EXPECT_EQ(window->txtMiles->text(), QStringLiteral("20000"));
    EXPECT_EQ(scalar(path, kOrdersInFile),
              QStringLiteral("%1/20000/2024-01-10").arg(vehicleID("Civic")));
    EXPECT_EQ(order, scalar(path, "SELECT WorkOrderID FROM WorkOrder").toInt());
    expectFileConsistent();
}

// The only order of a vehicle moved to another one: the list left empty offers only New
// Order, Close and the selector, and no details.
TEST_F(WorkOrderWindowTest, MovingTheOnlyOrderAwayLeavesTheVehicleWithoutOrders) {
    addVehicles({"Civic", "Truck"});
    const int order = addOrder(vehicleID("Civic"), "2024-01-10", 20000);
    open();
    pick(QStringLiteral("Civic"));
    click(window->cmdEdit);
    pick(QStringLiteral("Truck"));
    click(window->cmdUpdate);
    EXPECT_EQ(boxes.count(), 0);
    EXPECT_EQ(caption(), QStringLiteral("Record 0 of 0"));
    expectNoOrders(true);
    expectDetailsOf(-1);
    expectCloseAllowed();
    EXPECT_EQ(scalar(path, kOrdersInFile),
              QStringLiteral("%1/20000/2024-01-10").arg(vehicleID("Truck")));

    pick(QStringLiteral("Truck")); // the order is listed under its new vehicle
    expectBrowse();
    EXPECT_EQ(window->lblOrderNum->text(), QStringLiteral("000%1").arg(order));
}

// An order with no vehicle selected has no owner: Update says so and the order waits,
// as typed, for a vehicle to be picked.
TEST_F(WorkOrderWindowTest, UpdateWithNoVehicleSelectedStoresNothing) {
    addVehicles({"Civic", "Truck"});
    open();
    pick(QStringLiteral("Civic"));
    click(window->cmdAdd);
    QTest::keyClicks(window->txtDate, QStringLiteral("2024-02-02"));
    // The user points the order at Truck, then deletes Truck in the vehicle window.
    pick(QStringLiteral("Truck"));
    deleteVehicleInItsWindow(QStringLiteral("Truck"));
    form->mdiArea()->setActiveSubWindow(window->subWindow());
    ASSERT_EQ(window->cboVehicleID->currentIndex(), -1);
    boxes.clear();

    click(window->cmdUpdate);
    ASSERT_EQ(boxes.count(), 1);
    expectErrorBox(381, QStringLiteral("Vehicle"));
    expectEditing();
    EXPECT_EQ(window->txtDate->text(), QStringLiteral("2024-02-02"));
    EXPECT_EQ(count("WorkOrder"), 0);

    pick(QStringLiteral("Civic"));
    click(window->cmdUpdate);
    EXPECT_EQ(boxes.count(), 1);
    expectBrowse();
    EXPECT_EQ(scalar(path, kOrdersInFile),
              QStringLiteral("%1/-/2024-02-02").arg(vehicleID("Civic")));
    expectFileConsistent();
}

TEST_F(WorkOrderWindowTest, LargestMilesAndAMissingDateAreStoredAsTyped) {
    addVehicles({"Civic"});
    open();
    pick(QStringLiteral("Civic"));
    click(window->cmdAdd);
    QTest::keyClicks(window->txtMiles, QStringLiteral("1e9")); // fits a 32-bit Long
    click(window->cmdUpdate);
    EXPECT_EQ(boxes.count(), 0);
    expectBrowse();
    EXPECT_EQ(scalar(path, kOrdersInFile),
              QStringLiteral("%1/1000000000/-").arg(vehicleID("Civic")));
    EXPECT_TRUE(window->txtDate->text().isEmpty());
}
