// The first run of the program: no remembered file, a new database made from the
// File menu, and the next start taking it up again.
#include "UserSession.h"

#include "platform/Help.h"

using namespace e2e;

namespace {

class FirstRun : public UserSession {};

TEST_F(FirstRun, NewDatabaseIsMadeShownAndReopenedAtTheNextStart) {
    start();
    EXPECT_EQ(program->windowTitle(), QStringLiteral("Drivolex"));
    EXPECT_FALSE(program->findChild<QMenu*>(QStringLiteral("mnuWindow"))->isEnabled())
        << "no record window can open before a database is chosen";
    EXPECT_EQ(boxes.count(), 0);
    const auto* status = program->findChild<QLabel*>(QStringLiteral("lblStatus"));
    ASSERT_NE(status, nullptr);
    EXPECT_EQ(status->text(),
              QStringLiteral("Create a database with File > New, or open one with File > Open."));

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
    EXPECT_EQ(status->text(), QStringLiteral("Database in use: ") + databasePath);

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

    // F1 opens Help Contents wherever the keyboard is.
    QList<unsigned> helpAsked;
    platform::setHelpEngine([&](QWidget*, const QString&, unsigned command, const QString&) {
        helpAsked << command;
        return true;
    });
    for (const QString& caption : {QStringLiteral("Vehicle Information"),
                                   QStringLiteral("Gas Purchases"), QStringLiteral("Work Order")}) {
        QWidget* window = windowTitled(caption);
        program->mdiArea()->setActiveSubWindow(
            qobject_cast<QMdiSubWindow*>(window->parentWidget()));
        QWidget* focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr) << caption.toStdString();
        QTest::keyClick(focus, Qt::Key_F1);
        EXPECT_EQ(helpAsked.size(), 1) << caption.toStdString();
        EXPECT_EQ(helpAsked.value(0), platform::HELP_CONTENTS);
        helpAsked.clear();
    }
    platform::setHelpEngine({});

    choose("mnuFile", QStringLiteral("Exit"));
    EXPECT_FALSE(program->isVisible()) << "Exit closes the program when nothing is pending";
    killProgram();

    start();
    EXPECT_EQ(program->windowTitle(), QStringLiteral("Drivolex - ") + databasePath);
    EXPECT_TRUE(program->findChild<QMenu*>(QStringLiteral("mnuWindow"))->isEnabled());
    EXPECT_EQ(boxes.count(), 1) << "starting again asks nothing";
}

} // namespace
