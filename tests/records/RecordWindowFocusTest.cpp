// Keyboard use of the record windows: the window that comes to the front takes the
// keyboard focus, so that its buttons' Alt+letter keys work without a click first.
#include "RecordWindowTestSupport.h"

#include "records/frmGas.h"
#include "records/frmVehicleInfo.h"
#include "records/frmWorkOrder.h"

#include <QApplication>
#include <QMenu>

using namespace records_test;
using shell::ChildWindow;

namespace {

class RecordWindowFocusTest : public RecordWindowTest {
protected:
    template <class W> W* openFromMenu(const char* menuItem, ChildWindow which) {
        if (!form)
            showFrame();
        item(menuItem)->trigger();
        auto* window = qobject_cast<W*>(form->openChildWindow(which));
        EXPECT_NE(window, nullptr);
        return window;
    }
    records::frmVehicleInfo* openVehicles() {
        return openFromMenu<records::frmVehicleInfo>("mnuVehicleInformation",
                                                     ChildWindow::VehicleInformation);
    }
    records::frmGas* openGas() {
        return openFromMenu<records::frmGas>("mnuGasPurchases", ChildWindow::GasPurchases);
    }

    // Alt+letter where the keyboard focus is, as a user presses it. An access key
    // clicks its button a moment later (the button is shown pressed meanwhile).
    static void pressAlt(Qt::Key letter) {
        QTest::keyClick(static_cast<QWidget*>(nullptr), letter, Qt::AltModifier);
        QTest::qWait(250);
    }
    static bool holdsFocus(const QWidget* window) {
        return window->isAncestorOf(QApplication::focusWidget());
    }
    // Add and Edit give way to Update and Cancel while a row is being written.
    static bool adding(const QWidget& window) {
        return usableButtons(const_cast<QWidget&>(window)).contains(QStringLiteral("cmdUpdate"));
    }
};

} // namespace

TEST_F(RecordWindowFocusTest, VehicleWindowAnswersItsAccessKeysAsSoonAsItOpens) {
    records::frmVehicleInfo* vehicles = openVehicles();
    ASSERT_TRUE(vehicles);
    EXPECT_TRUE(holdsFocus(vehicles));
    pressAlt(Qt::Key_A);
    EXPECT_TRUE(adding(*vehicles)) << "Alt+A began a new vehicle";
    pressAlt(Qt::Key_N);
    EXPECT_FALSE(adding(*vehicles)) << "Alt+N cancelled it";
}

TEST_F(RecordWindowFocusTest, FuelWindowAnswersItsAccessKeysAsSoonAsItOpens) {
    addVehicles({QStringLiteral("Blue")});
    records::frmGas* gas = openGas();
    ASSERT_TRUE(gas);
    EXPECT_TRUE(holdsFocus(gas));
    pressAlt(Qt::Key_A);
    EXPECT_TRUE(adding(*gas)) << "Alt+A began a new purchase";
    pressAlt(Qt::Key_N);
    EXPECT_FALSE(adding(*gas));
}

TEST_F(RecordWindowFocusTest, ServiceWindowAnswersItsAccessKeysAsSoonAsItOpens) {
    QPointer<records::frmWorkOrder> orders =
        openFromMenu<records::frmWorkOrder>("mnuServiceRecords", ChildWindow::ServiceRecords);
    ASSERT_TRUE(orders);
    EXPECT_TRUE(holdsFocus(orders));
    pressAlt(Qt::Key_C);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(orders.isNull()) << "Alt+C closed the window";
}

TEST_F(RecordWindowFocusTest, WindowBroughtBackGetsItsFocusBackAndTheKeysFollowTheFront) {
    records::frmVehicleInfo* vehicles = openVehicles();
    ASSERT_TRUE(vehicles);
    vehicles->cmdClose->setFocus();
    records::frmGas* gas = openGas();
    ASSERT_TRUE(gas);
    EXPECT_TRUE(holdsFocus(gas));
    pressAlt(Qt::Key_A);
    EXPECT_TRUE(adding(*gas));
    EXPECT_FALSE(adding(*vehicles)) << "the window behind stays as it was";
    pressAlt(Qt::Key_N);

    // Chosen again from the menu: the control that had the focus has it again.
    item("mnuVehicleInformation")->trigger();
    EXPECT_EQ(QApplication::focusWidget(), vehicles->cmdClose);
    pressAlt(Qt::Key_A);
    EXPECT_TRUE(adding(*vehicles));
    EXPECT_FALSE(adding(*gas));
    pressAlt(Qt::Key_N);

    // Chosen from the list of open windows.
    auto* menu = form->findChild<QMenu*>(QStringLiteral("mnuWindow"));
    emit menu->aboutToShow();
    QAction* gasEntry = nullptr;
    for (QAction* entry : menu->actions())
        if (entry->text().endsWith(QLatin1String("Gas Purchases")))
            gasEntry = entry;
    ASSERT_NE(gasEntry, nullptr);
    gasEntry->trigger();
    EXPECT_TRUE(holdsFocus(gas));
    pressAlt(Qt::Key_A);
    EXPECT_TRUE(adding(*gas));
}
