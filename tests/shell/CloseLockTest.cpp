// The close lock: every way of closing the main window is refused while a record is
// being added or edited, and allowed again afterwards.
#include "ShellTestSupport.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QTest>

using namespace shell_test;

namespace {

void expectRefusalBox(const testing_support::MsgBoxRecorder& boxes) {
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.last().prompt,
              QStringLiteral("Can not Close program when adding or editing a record."));
    EXPECT_EQ(boxes.last().style, 0);
    EXPECT_EQ(boxes.last().title, QStringLiteral("Can Not Shutdown"));
}

} // namespace

TEST_F(ShellTest, ExitIsRefusedWhileLockedAndEndsTheProgramAfterwards) {
    makeForm().show();
    form->ShutdownEnabled(false);
    item("mnuFileExit")->trigger();
    expectRefusalBox(boxes);
    EXPECT_TRUE(form->isVisible());

    form->ShutdownEnabled(true);
    item("mnuFileExit")->trigger();
    EXPECT_EQ(boxes.count(), 1);
    EXPECT_FALSE(form->isVisible());
}

TEST_F(ShellTest, CloseButtonIsRefusedWhileLocked) {
    makeForm().show();
    form->ShutdownEnabled(false);
    EXPECT_FALSE(form->close());
    expectRefusalBox(boxes);
    EXPECT_TRUE(form->isVisible());
    form->ShutdownEnabled(true);
    EXPECT_TRUE(form->close());
}

TEST_F(ShellTest, SessionEndIsRefusedWhileLocked) {
    makeForm().show();
    form->ShutdownEnabled(false);
    EXPECT_FALSE(form->sessionMayEnd());
    expectRefusalBox(boxes);
    EXPECT_TRUE(form->isVisible());
    form->ShutdownEnabled(true);
    EXPECT_TRUE(form->sessionMayEnd());
    EXPECT_EQ(boxes.count(), 1);
}

TEST_F(ShellTest, RefusedCloseLeavesStateAndChildWindowsAlone) {
    rememberPath(QStringLiteral("/data/cars.mdb"));
    makeForm().show();
    QPointer<QMdiSubWindow> child = form->addChildWindow(new QWidget);
    child->show();
    form->ShutdownEnabled(false);
    form->close();
    EXPECT_TRUE(child);
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Drivolex - /data/cars.mdb"));
    EXPECT_EQ(writes.size(), 1) << "closing writes nothing";

    form->ShutdownEnabled(true);
    form->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(child) << "record windows are unloaded with the main window";
    EXPECT_EQ(writes.size(), 1);
}
