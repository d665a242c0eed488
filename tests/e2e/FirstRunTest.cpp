// The first run of the program: no remembered file, a new database made from the
// File menu, and the next start taking it up again.
#include "UserSession.h"

using namespace e2e;

namespace {

class FirstRun : public UserSession {};

TEST_F(FirstRun, NewDatabaseIsMadeShownAndReopenedAtTheNextStart) {
    start();
    EXPECT_EQ(program->windowTitle(), QStringLiteral("Drivolex"));
    EXPECT_FALSE(program->findChild<QMenu*>(QStringLiteral("mnuWindow"))->isEnabled())
        << "no record window can open before a database is chosen";
    EXPECT_EQ(boxes.count(), 0);

    databasePath = folder.filePath(QStringLiteral("My Garage.mdb"));
    answerFileDialogsWith(databasePath);
    choose("mnuFile", QStringLiteral("New"));
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.last().title, QStringLiteral("Success"));
    EXPECT_EQ(program->windowTitle(), QStringLiteral("Drivolex - ") + databasePath);
    EXPECT_EQ(query(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' AND name "
                                   "IN ('VehicleInfo', 'Fuel', 'WorkOrder', 'WorkDone', "
                                   "'PartsUsed', 'WorkOrderMemo') ORDER BY name")),
              (QStringList{"Fuel", "PartsUsed", "VehicleInfo", "WorkDone", "WorkOrder",
                           "WorkOrderMemo"}));
    expectFileSound();

    // The Window menu now opens each record window, and lists it.
    choose("mnuWindow", QStringLiteral("Vehicle Information"));
    ASSERT_NE(frontWindow(), nullptr);
    EXPECT_EQ(frontWindow()->windowTitle(), QStringLiteral("Vehicle Information"));
    choose("mnuWindow", QStringLiteral("Gas Purchases"));
    choose("mnuWindow", QStringLiteral("Service Records"));
    EXPECT_NE(windowTitled(QStringLiteral("Gas Purchases")), nullptr);
    EXPECT_NE(windowTitled(QStringLiteral("Work Order")), nullptr);
    choose("mnuWindow", QStringLiteral("1 Vehicle Information"));
    EXPECT_EQ(frontWindow()->windowTitle(), QStringLiteral("Vehicle Information"));

    choose("mnuFile", QStringLiteral("Exit"));
    EXPECT_FALSE(program->isVisible()) << "Exit closes the program when nothing is pending";
    killProgram();

    start();
    EXPECT_EQ(program->windowTitle(), QStringLiteral("Drivolex - ") + databasePath);
    EXPECT_TRUE(program->findChild<QMenu*>(QStringLiteral("mnuWindow"))->isEnabled());
    EXPECT_EQ(boxes.count(), 1) << "starting again asks nothing";
}

} // namespace
