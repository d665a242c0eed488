// Adding, editing, saving, cancelling and deleting vehicles through the window's
// widgets, and the close lock while a row is open.
#include "VehicleWindowFixture.h"

using namespace records_test;

TEST_F(VehicleWindowTest, AddOnEmptyTableThenUpdateMakesEveryButtonWork) {
    open();
    click(window->cmdAdd);
    expectEditing();
    EXPECT_TRUE(window->txtLookUp->hasFocus());
    expectCloseRefused();

    typeFromFocus({"Civic", "Honda", "Civic LX", "2004", "1HGES16504L000001"});
    EXPECT_TRUE(window->cmdUpdate->hasFocus()) << "Tab from the last box reaches Update";
    click(window->cmdUpdate);

    expectBrowse();
    EXPECT_EQ(caption(), QStringLiteral("Record 1 of 1"));
    EXPECT_EQ(window->txtLookUp->text(), QStringLiteral("Civic"));
    EXPECT_EQ(scalar(path, "SELECT VehicleLookup || '/' || VehicleMake || '/' || VehicleModel || "
                           "'/' || VehicleYear || '/' || VehicleSerialNum FROM VehicleInfo"),
              QStringLiteral("Civic/Honda/Civic LX/2004/1HGES16504L000001"));
    expectCloseAllowed();
    EXPECT_EQ(boxes.count(), 1) << "only the refusal";

    // Every button works now: edit the row and save it again.
    click(window->cmdEdit);
    expectEditing();
    retype(window->txtMake, QStringLiteral("Acura"));
    click(window->cmdUpdate);
    expectBrowse();
    EXPECT_EQ(scalar(path, "SELECT VehicleMake FROM VehicleInfo"), QStringLiteral("Acura"));
}

TEST_F(VehicleWindowTest, CancelOfAddOnEmptyTableLeavesNavigationEnabled) {
    open();
    click(window->cmdAdd);
    typeFromFocus({"Civic"});
    click(window->cmdCancel);
    expectEmpty(true);
    EXPECT_TRUE(window->txtLookUp->text().isEmpty());
    EXPECT_EQ(caption(), QStringLiteral("Record 0 of 0"));
    EXPECT_EQ(count("VehicleInfo"), 0);
    expectCloseAllowed();

    click(window->cmdAdd); // and adding still works from there
    typeFromFocus({"Civic"});
    click(window->cmdUpdate);
    expectBrowse();
    EXPECT_EQ(count("VehicleInfo"), 1);
}

TEST_F(VehicleWindowTest, NewRowIsCurrentAfterUpdateWhereverItWas) {
    addVehicles({"Alpha", "Bravo", "Charlie"});
    open();
    navigate("btnFirst");
    click(window->cmdAdd);
    EXPECT_TRUE(window->txtLookUp->text().isEmpty());
    typeFromFocus({"Delta", "Ford"});
    click(window->cmdUpdate);
    EXPECT_EQ(caption(), QStringLiteral("Record 4 of 4"));
    EXPECT_EQ(window->txtLookUp->text(), QStringLiteral("Delta"));
    EXPECT_EQ(window->txtMake->text(), QStringLiteral("Ford"));
    EXPECT_EQ(count("VehicleInfo"), 4);
}

TEST_F(VehicleWindowTest, EditedRowStaysCurrentAndOnlyItChanges) {
    addVehicles({"Alpha", "Bravo", "Charlie"});
    open();
    navigate("btnFirst");
    navigate("btnNext");
    click(window->cmdEdit);
    expectEditing();
    EXPECT_TRUE(window->txtLookUp->hasFocus()) << "like Add, Edit starts at the first field";
    expectCloseRefused();
    retype(window->txtYear, QStringLiteral("1999"));
    click(window->cmdUpdate);
    expectBrowse();
    EXPECT_EQ(caption(), QStringLiteral("Record 2 of 3"));
    EXPECT_EQ(window->txtYear->text(), QStringLiteral("1999"));
    EXPECT_EQ(scalar(path, "SELECT group_concat(VehicleLookup || VehicleYear, ',') FROM "
                           "(SELECT * FROM VehicleInfo ORDER BY VehicleID)"),
              QStringLiteral("Alpha2001,Bravo1999,Charlie2003"));
    expectCloseAllowed();
}

TEST_F(VehicleWindowTest, CancelOfEditShowsTheStoredRowAgain) {
    addVehicles({"Alpha", "Bravo"});
    open();
    click(window->cmdEdit);
    retype(window->txtLookUp, QStringLiteral("Changed"));
    click(window->cmdCancel);
    expectBrowse();
    EXPECT_EQ(window->txtLookUp->text(), QStringLiteral("Bravo"));
    EXPECT_EQ(caption(), QStringLiteral("Record 2 of 2"));
    EXPECT_EQ(scalar(path, "SELECT count(*) FROM VehicleInfo WHERE VehicleLookup = 'Changed'"),
              QStringLiteral("0"));
    expectCloseAllowed();
}

TEST_F(VehicleWindowTest, ExitIsRefusedWhileAddingOrEditingAndWorksAfterwards) {
    addVehicles({"Alpha"});
    open();
    for (QPushButton* start : {window->cmdAdd, window->cmdEdit}) {
        SCOPED_TRACE(start->objectName().toStdString());
        boxes.clear();
        click(start);
        item("mnuFileExit")->trigger();
        ASSERT_EQ(boxes.count(), 1);
        EXPECT_EQ(boxes.last().prompt,
                  QStringLiteral("Can not Close program when adding or editing a record."));
        EXPECT_EQ(boxes.last().style, 0);
        EXPECT_EQ(boxes.last().title, QStringLiteral("Can Not Shutdown"));
        EXPECT_TRUE(form->isVisible());
        EXPECT_TRUE(window->isVisible());
        click(window->cmdCancel);
    }
    click(window->cmdEdit);
    click(window->cmdUpdate);
    boxes.clear();
    item("mnuFileExit")->trigger();
    EXPECT_EQ(boxes.count(), 0);
    EXPECT_FALSE(form->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.isNull()) << "the record window is unloaded with the main window";
}

TEST_F(VehicleWindowTest, DeleteLandsOnTheRowBefore) {
    addVehicles({"Alpha", "Bravo", "Charlie", "Delta"});
    open();
    navigate("btnPrevious"); // Charlie
    click(window->cmdDelete);
    expectDeleteQuestion();
    EXPECT_EQ(window->txtLookUp->text(), QStringLiteral("Bravo"));
    EXPECT_EQ(caption(), QStringLiteral("Record 2 of 3"));
    expectBrowse();

    navigate("btnLast"); // the last row: lands on the one before too
    click(window->cmdDelete);
    EXPECT_EQ(window->txtLookUp->text(), QStringLiteral("Bravo"));
    EXPECT_EQ(caption(), QStringLiteral("Record 2 of 2"));
    EXPECT_EQ(scalar(path, "SELECT group_concat(VehicleLookup) FROM VehicleInfo"),
              QStringLiteral("Alpha,Bravo"));
}

TEST_F(VehicleWindowTest, DeletingTheFirstRowLandsOnTheNewFirstRow) {
    addVehicles({"Alpha", "Bravo", "Charlie"});
    open();
    navigate("btnFirst");
    click(window->cmdDelete);
    EXPECT_EQ(window->txtLookUp->text(), QStringLiteral("Bravo"));
    EXPECT_EQ(caption(), QStringLiteral("Record 1 of 2"));
    expectBrowse();
}

TEST_F(VehicleWindowTest, DeletingTheLastRemainingRowLeavesAddAndClose) {
    addVehicles({"Alpha"});
    open();
    click(window->cmdDelete);
    expectEmpty(false);
    EXPECT_FALSE(window->Frame1->isEnabled());
    EXPECT_EQ(caption(), QStringLiteral("Record 0 of 0"));
    EXPECT_TRUE(window->txtLookUp->text().isEmpty()) << "the deleted row is not on show";
    EXPECT_EQ(count("VehicleInfo"), 0);

    click(window->cmdAdd);
    typeFromFocus({"Bravo"});
    click(window->cmdUpdate);
    expectBrowse();
    EXPECT_EQ(caption(), QStringLiteral("Record 1 of 1"));
}

TEST_F(VehicleWindowTest, NoToTheDeleteQuestionChangesNothing) {
    addVehicles({"Alpha", "Bravo"});
    open();
    boxes.answerNext(platform::vbNo);
    click(window->cmdDelete);
    expectDeleteQuestion();
    EXPECT_EQ(boxes.count(), 1);
    EXPECT_EQ(count("VehicleInfo"), 2);
    EXPECT_EQ(window->txtLookUp->text(), QStringLiteral("Bravo"));
    EXPECT_EQ(caption(), QStringLiteral("Record 2 of 2"));
    expectBrowse();
}

TEST_F(VehicleWindowTest, DeletingAVehicleTakesItsFuelOrdersAndDetailsWithIt) {
    addVehicles({"Alpha", "Bravo"});
    execute(
        path,
        "INSERT INTO Fuel (FuelGals, VehicleID) VALUES (10, 1), (11, 1), (12, 2);"
        "INSERT INTO WorkOrder (VehicleID, Mileage) VALUES (1, 1000), (1, 2000), (2, 500);"
        "INSERT INTO WorkDone (WorkOrderID, WorkDescription) VALUES (1, 'Oil'), (2, 'Tires'),"
        " (3, 'Brakes');"
        "INSERT INTO PartsUsed (WorkOrderId, PartNum) VALUES (1, 'F-1'), (2, 'T-4'), (3, 'B-2');"
        "INSERT INTO WorkOrderMemo (WorkOrderID, WorkOrderMemo) VALUES (1, 'a'), (3, 'c');");
    open();
    navigate("btnFirst");
    ASSERT_EQ(window->txtLookUp->text(), QStringLiteral("Alpha"));
    click(window->cmdDelete);
    EXPECT_EQ(boxes.count(), 1) << "one question, nothing more";

    EXPECT_EQ(scalar(path, "SELECT count(*) FROM Fuel WHERE VehicleID = 1"), QStringLiteral("0"));
    EXPECT_EQ(scalar(path, "SELECT count(*) FROM WorkOrder WHERE VehicleID = 1"),
              QStringLiteral("0"));
    EXPECT_EQ(scalar(path, "SELECT group_concat(WorkOrderID) FROM WorkDone"), QStringLiteral("3"));
    EXPECT_EQ(scalar(path, "SELECT group_concat(WorkOrderId) FROM PartsUsed"), QStringLiteral("3"));
    EXPECT_EQ(scalar(path, "SELECT group_concat(WorkOrderID) FROM WorkOrderMemo"),
              QStringLiteral("3"));
    EXPECT_EQ(count("Fuel"), 1) << "the other vehicle keeps its rows";
    expectFileConsistent();
}
