// The work order window: its controls, picking a vehicle, the details following
// the current order, and what activation, deactivation and closing keep.
#include "WorkOrderWindowFixture.h"

#include "shell/Twips.h"

using namespace records_test;

TEST_F(WorkOrderWindowTest, FreshWindowHasNoVehicleAndOnlySelectorAndClose) {
    addVehicles({"Civic", "Truck"});
    open();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Work Order"));
    EXPECT_EQ(window->cboVehicleID->count(), 2);
    EXPECT_EQ(window->cboVehicleID->itemText(1), QStringLiteral("Truck"));
    EXPECT_EQ(window->cboVehicleID->itemData(1).toInt(), vehicleID("Truck"));
    EXPECT_EQ(window->cboVehicleID->currentIndex(), -1);
    expectNoOrders(false);
    EXPECT_EQ(window->Data1->RecordSource(),
              QStringLiteral("Select * from WorkOrder where VehicleID = -1"));
    EXPECT_EQ(caption(), QStringLiteral("Record 0 of 0"));
    expectDetailsOf(-1);
    EXPECT_FALSE(window->isFirstActivate());
    EXPECT_EQ(window->lastVehicleID(), 0);
    expectCloseAllowed();
    EXPECT_EQ(boxes.count(), 0);
}

TEST_F(WorkOrderWindowTest, DesignNamesCaptionsAndSize) {
    open();
    const QStringList labels = {"Vehicle", "Date", "Miles", "Order #"};
    ASSERT_EQ(window->Label1.size(), 4);
    const QList<QWidget*> buddies = {window->cboVehicleID, window->txtDate, window->txtMiles,
                                     window->lblOrderNum};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(window->Label1[i]->text(), labels[i]);
        EXPECT_EQ(window->Label1[i]->objectName(), QStringLiteral("Label1"));
        EXPECT_EQ(window->Label1[i]->buddy(), buddies[i]);
    }
    const std::pair<QAbstractButton*, const char*> buttons[] = {
        {window->cmdAdd, "&New Order"},       {window->cmdEdit, "&Edit Order"},
        {window->cmdUpdate, "&Update"},       {window->cmdCancel, "Ca&ncel"},
        {window->cmdDelete, "&Delete Order"}, {window->cmdClose, "&Close"}};
    for (const auto& [button, text] : buttons)
        EXPECT_EQ(button->text(), QLatin1String(text)) << button->objectName().toStdString();
    EXPECT_EQ(window->cmdUpdate->geometry(), window->cmdAdd->geometry());
    EXPECT_EQ(window->cmdCancel->geometry(), window->cmdEdit->geometry());
    EXPECT_EQ(window->txtDate->parentWidget(), window->Frame1);
    EXPECT_EQ(window->lblOrderNum->parentWidget(), window->Frame1);

    ASSERT_EQ(window->SSTab1->count(), 4);
    const QStringList tabs = {"&Services", "&WorkDone", "&Parts Used", "No&tes"};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(window->SSTab1->tabText(i), tabs[i]);

    EXPECT_TRUE(window->Data1->isVisible());
    EXPECT_GT(window->Data1->geometry().top(), window->SSTab1->geometry().bottom());
    for (records::DataControl* hidden :
         {window->datVehicle, window->datParts, window->datService, window->datNotes}) {
        EXPECT_FALSE(hidden->isVisible()) << hidden->objectName().toStdString();
        EXPECT_EQ(hidden->DatabaseName(), path);
    }
    EXPECT_EQ(window->Data1->DatabaseName(), path);
    EXPECT_EQ(window->subWindow()->size(), QSize(shell::twipsToPixels(7125, window->subWindow()),
                                                 shell::twipsToPixels(6165, window->subWindow())));
}

TEST_F(WorkOrderWindowTest, VehicleWithThreeOrdersShowsTheLatestWithItsDetails) {
    addVehicles({"Civic", "Truck"});
    const int civic = vehicleID("Civic");
    const int late = addOrder(civic, "2024-06-01", 30000);
    const int early = addOrder(civic, "2024-01-10", 20000);
    const int sameDayLowerMiles = addOrder(civic, "2024-06-01", 29000);
    addOrder(vehicleID("Truck"), "2025-01-01", 5);
    addDetails(late, "latest");
    addDetails(early, "oldest");
    open();
    pick(QStringLiteral("Civic"));

    EXPECT_EQ(window->Data1->RecordSource(),
              QStringLiteral("Select * from WorkOrder where VehicleID = %1 Order by Date, Mileage")
                  .arg(civic));
    EXPECT_EQ(caption(), QStringLiteral("Record 3 of 3"));
    EXPECT_EQ(window->txtMiles->text(), QStringLiteral("30000"));
    EXPECT_EQ(window->lblOrderNum->text(), QStringLiteral("000%1").arg(late));
    expectBrowse();
    expectDetailsOf(late);
    EXPECT_EQ(rowsOf(window->datService), 1);
    EXPECT_EQ(window->datParts->Recordset()->value(QStringLiteral("PartNum")).toString(),
              QStringLiteral("latest"));
    EXPECT_EQ(window->datNotes->Recordset()->value(QStringLiteral("WorkOrderMemo")).toString(),
              QStringLiteral("latest"));

    navigate("btnPrevious"); // same day, fewer miles
    EXPECT_EQ(caption(), QStringLiteral("Record 2 of 3"));
    EXPECT_EQ(window->lblOrderNum->text(), QStringLiteral("000%1").arg(sameDayLowerMiles));
    expectDetailsOf(sameDayLowerMiles);
    EXPECT_EQ(rowsOf(window->datService), 0);
    EXPECT_EQ(rowsOf(window->datParts), 0);
    EXPECT_EQ(rowsOf(window->datNotes), 0);

    navigate("btnFirst");
    EXPECT_EQ(window->txtMiles->text(), QStringLiteral("20000"));
    expectDetailsOf(early);
    EXPECT_EQ(window->datService->Recordset()->value(QStringLiteral("WorkDescription")).toString(),
              QStringLiteral("oldest"));
    EXPECT_EQ(boxes.count(), 0);
}

TEST_F(WorkOrderWindowTest, VehicleWithoutOrdersLeavesNewOrderCloseAndSelector) {
    addVehicles({"Civic", "Truck"});
    addOrder(vehicleID("Civic"), "2024-06-01", 30000);
    open();
    pick(QStringLiteral("Civic"));
    expectBrowse();
    pick(QStringLiteral("Truck")); // from Browse to a vehicle without orders
    expectNoOrders(true);
    EXPECT_EQ(caption(), QStringLiteral("Record 0 of 0"));
    expectDetailsOf(-1);
    EXPECT_TRUE(window->txtMiles->text().isEmpty());
}

TEST_F(WorkOrderWindowTest, SwitchingAwayAndBackListsNewVehiclesAndKeepsTheOrders) {
    addVehicles({"Civic"});
    const int civic = vehicleID("Civic");
    addOrder(civic, "2024-01-10", 20000);
    addOrder(civic, "2024-06-01", 30000);
    open();
    pick(QStringLiteral("Civic"));
    navigate("btnFirst");

    item("mnuVehicleInformation")->trigger(); // the vehicle window becomes active
    EXPECT_EQ(window->lastVehicleID(), civic);
    addVehicles({"Bike"});
    addOrder(civic, "2023-01-01", 100); // not read again on return

    item("mnuServiceRecords")->trigger();
    EXPECT_EQ(form->mdiArea()->activeSubWindow(), window->subWindow());
    EXPECT_EQ(window->cboVehicleID->count(), 2);
    EXPECT_GE(window->cboVehicleID->findText(QStringLiteral("Bike")), 0);
    EXPECT_EQ(selected(), QStringLiteral("Civic"));
    EXPECT_EQ(caption(), QStringLiteral("Record 1 of 2"));
    EXPECT_EQ(window->txtMiles->text(), QStringLiteral("20000"));
    expectBrowse();
}

TEST_F(WorkOrderWindowTest, DeactivationWithoutVehicleKeepsNoneSelected) {
    addVehicles({"Civic"});
    open();
    makeOtherChildActive();
    item("mnuServiceRecords")->trigger();
    EXPECT_EQ(window->cboVehicleID->currentIndex(), -1);
    expectNoOrders(false);
}

TEST_F(WorkOrderWindowTest, ClosingAndReopeningStartsWithNoVehicle) {
    addVehicles({"Civic"});
    addOrder(vehicleID("Civic"), "2024-01-10", 20000);
    open();
    pick(QStringLiteral("Civic"));
    makeOtherChildActive(); // remembers Civic
    item("mnuServiceRecords")->trigger();
    ASSERT_EQ(selected(), QStringLiteral("Civic"));
    click(window->cmdClose);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.isNull());

    open();
    EXPECT_EQ(window->lastVehicleID(), 0);
    EXPECT_EQ(window->cboVehicleID->currentIndex(), -1);
    expectNoOrders(false);
}

// The vehicle whose orders are on show is deleted in the vehicle window: coming to the
// front, the window shows none of its orders or their details, and drops an order
// being typed for it.
TEST_F(WorkOrderWindowTest, VehicleDeletedElsewhereTakesItsOrdersOffTheWindow) {
    addVehicles({"Civic", "Truck", "Bike"});
    for (const char* lookup : {"Civic", "Truck", "Bike"})
        addDetails(addOrder(vehicleID(lookup), "2024-01-10", 100), lookup);
    const struct {
        const char* lookup;
        bool adding;
    } cases[] = {{"Civic", false}, {"Truck", true}};
    open();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lookup);
        pick(QLatin1String(c.lookup));
        ASSERT_EQ(rowsOf(window->datService), 1);
        if (c.adding) {
            click(window->cmdAdd);
            QTest::keyClicks(window->txtDate, QStringLiteral("2024-02-02"));
        }
        deleteVehicleInItsWindow(QLatin1String(c.lookup));
        form->mdiArea()->setActiveSubWindow(window->subWindow());

        EXPECT_EQ(window->cboVehicleID->currentIndex(), -1);
        EXPECT_EQ(caption(), QStringLiteral("Record 0 of 0"));
        EXPECT_EQ(window->txtDate->text(), QString());
        expectNoOrders(false);
        expectDetailsOf(-1);
        EXPECT_EQ(rowsOf(window->datService) + rowsOf(window->datParts) + rowsOf(window->datNotes),
                  0);
        EXPECT_FALSE(window->isEditing());
        expectCloseAllowed();
    }
    EXPECT_EQ(scalar(path, "SELECT group_concat(WorkDescription) FROM WorkDone"),
              QStringLiteral("Bike"));
    EXPECT_EQ(count("WorkOrder"), 1);
    pick(QStringLiteral("Bike"));
    expectBrowse();
    expectFileConsistent();
}

TEST_F(WorkOrderWindowTest, DetailsThatCannotBeReadEndTheProgram) {
    ProgramEndRecorder ends;
    addVehicles({"Civic"});
    const int civic = vehicleID("Civic");
    addOrder(civic, "2024-01-10", 20000);
    addOrder(civic, "2024-06-01", 30000);
    open();
    pick(QStringLiteral("Civic"));
    ASSERT_EQ(ends.ends, 0);
    execute(path, "DROP TABLE WorkDone");
    navigate("btnFirst");
    EXPECT_EQ(ends.ends, 1);
    ASSERT_GE(boxes.count(), 1);
    EXPECT_EQ(boxes.last().style, 64);
    EXPECT_EQ(boxes.last().title, QStringLiteral("Error"));
    EXPECT_FALSE(boxes.last().prompt.startsWith(QStringLiteral("Error #")))
        << "the message text only";
}
