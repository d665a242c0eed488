// The Window menu: opening the record windows, the list of open windows, Cascade and
// Arrange Icons.
#include "ShellTestSupport.h"

#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QTest>

using namespace shell_test;
using shell::ChildWindow;

namespace {

class WindowMenuTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        rememberPath(QStringLiteral("/data/cars.mdb"));
        makeForm();
        form->resize(900, 700);
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        register_(ChildWindow::GasPurchases, "Gas Purchases");
        register_(ChildWindow::VehicleInformation, "Vehicle Information");
        register_(ChildWindow::ServiceRecords, "Service Records");
    }

    void register_(ChildWindow which, const char* title) {
        form->setWindowFactory(which, [this, title](shell::MDIForm1&) {
            ++made;
            auto* window = new QLabel(QLatin1String(title));
            window->setWindowTitle(QLatin1String(title));
            window->resize(200, 120);
            return window;
        });
    }

    QMdiSubWindow* active() const { return form->mdiArea()->activeSubWindow(); }
    QMdiSubWindow* subOf(ChildWindow which) const {
        return qobject_cast<QMdiSubWindow*>(form->openChildWindow(which)->parentWidget());
    }

    int made = 0;
};

} // namespace

TEST_F(WindowMenuTest, GasPurchasesTwiceLeavesOneWindowWhereItWas) {
    item("mnuGasPurchases")->trigger();
    ASSERT_EQ(made, 1);
    QMdiSubWindow* gas = subOf(ChildWindow::GasPurchases);
    EXPECT_TRUE(gas->isVisible());
    item("mnuVehicleInformation")->trigger();
    EXPECT_EQ(active(), subOf(ChildWindow::VehicleInformation));

    item("mnuGasPurchases")->trigger();
    EXPECT_EQ(made, 2);
    EXPECT_EQ(form->mdiArea()->subWindowList().size(), 2);
    EXPECT_EQ(active(), subOf(ChildWindow::VehicleInformation)) << "not brought to the front";
}

TEST_F(WindowMenuTest, VehicleAndServiceWindowsComeToTheFrontWhenChosenAgain) {
    item("mnuVehicleInformation")->trigger();
    item("mnuServiceRecords")->trigger();
    EXPECT_EQ(active(), subOf(ChildWindow::ServiceRecords));
    item("mnuVehicleInformation")->trigger();
    EXPECT_EQ(made, 2);
    EXPECT_EQ(active(), subOf(ChildWindow::VehicleInformation));
    item("mnuServiceRecords")->trigger();
    EXPECT_EQ(made, 2);
    EXPECT_EQ(active(), subOf(ChildWindow::ServiceRecords));
}

TEST_F(WindowMenuTest, ClosedWindowIsMadeAgainNextTime) {
    item("mnuVehicleInformation")->trigger();
    subOf(ChildWindow::VehicleInformation)->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(form->openChildWindow(ChildWindow::VehicleInformation), nullptr);
    item("mnuVehicleInformation")->trigger();
    EXPECT_EQ(made, 2);
    EXPECT_NE(form->openChildWindow(ChildWindow::VehicleInformation), nullptr);
}

TEST_F(WindowMenuTest, MenuListsTheOpenWindowsAfterItsLastSeparator) {
    auto* menu = form->findChild<QMenu*>(QStringLiteral("mnuWindow"));
    emit menu->aboutToShow();
    EXPECT_EQ(menu->actions().size(), 9) << "no list without windows";
    EXPECT_FALSE(item("mnuWindowBar1")->isVisible());

    item("mnuVehicleInformation")->trigger();
    item("mnuGasPurchases")->trigger();
    emit menu->aboutToShow();
    const QList<QAction*> entries = menu->actions();
    ASSERT_EQ(entries.size(), 11);
    EXPECT_TRUE(item("mnuWindowBar1")->isVisible());
    EXPECT_EQ(entries[9]->text(), QStringLiteral("&1 Vehicle Information"));
    EXPECT_EQ(entries[10]->text(), QStringLiteral("&2 Gas Purchases"));
    EXPECT_TRUE(entries[10]->isChecked());
    EXPECT_FALSE(entries[9]->isChecked());

    entries[9]->trigger();
    EXPECT_EQ(active(), subOf(ChildWindow::VehicleInformation));
    emit menu->aboutToShow();
    EXPECT_EQ(menu->actions().size(), 11) << "the list is rebuilt, not appended to";
}

TEST_F(WindowMenuTest, CascadeAndArrangeIcons) {
    item("mnuVehicleInformation")->trigger();
    item("mnuServiceRecords")->trigger();
    item("mnuWindowCascade")->trigger();
    QMdiSubWindow* first = subOf(ChildWindow::VehicleInformation);
    QMdiSubWindow* second = subOf(ChildWindow::ServiceRecords);
    EXPECT_LT(first->x(), second->x());
    EXPECT_LT(first->y(), second->y());

    first->showMinimized();
    second->showMinimized();
    item("mnuWindowArrangeIcons")->trigger();
    const int bottom = form->mdiArea()->viewport()->height();
    EXPECT_EQ(first->x(), 0);
    EXPECT_EQ(first->geometry().bottom() + 1, bottom);
    EXPECT_EQ(second->x(), first->width());
    EXPECT_EQ(second->geometry().bottom() + 1, bottom);
}

TEST_F(WindowMenuTest, ItemWithoutARegisteredWindowDoesNothing) {
    form->setWindowFactory(ChildWindow::GasPurchases, {});
    item("mnuGasPurchases")->trigger();
    EXPECT_TRUE(form->mdiArea()->subWindowList().isEmpty());
    EXPECT_TRUE(boxes.boxes().isEmpty());
}
