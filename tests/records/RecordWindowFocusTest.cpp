// Keyboard use of the record windows: the window that comes to the front takes the
// keyboard focus, so that its buttons' Alt+letter keys work without a click first.
#include "RecordWindowTestSupport.h"

#include "records/frmGas.h"
#include "records/frmVehicleInfo.h"
#include "records/frmWorkOrder.h"

#include <QApplication>
#include <QComboBox>
#include <QMenu>
#include <functional>

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
    // Rows of a table for the vehicle "Blue", written through the record store.
    void addRows(const char* table, const QList<QList<std::pair<const char*, QVariant>>>& rows) {
        const QString blue = scalar(path, "SELECT VehicleID FROM VehicleInfo WHERE "
                                          "VehicleLookup = 'Blue'");
        auto db = store::Database::OpenDatabase(path);
        auto rs = db->OpenRecordset(QLatin1String(table));
        for (const auto& row : rows) {
            rs->AddNew();
            rs->setValue(QStringLiteral("VehicleID"), blue);
            for (const auto& [field, value] : row)
                rs->setValue(QLatin1String(field), value);
            rs->Update();
        }
    }
    static void pickBlue(QComboBox* selector) {
        const int index = selector->findText(QStringLiteral("Blue"));
        ASSERT_GE(index, 0);
        selector->setCurrentIndex(index);
        emit selector->activated(index);
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

// After each editing button the keys have a home in the same window: the first entry
// field after Add and Edit, the Add (New Order) button after Update, Cancel and
// Delete, so that the next Alt+letter works without a click.
TEST_F(RecordWindowFocusTest, EveryEditingButtonLeavesTheFocusOnAUsableControl) {
    addVehicles({QStringLiteral("Blue"), QStringLiteral("Red")});
    addRows("Fuel", {{{"FuelDate", "1/1/2024"}, {"FuelGals", 10}, {"FuelMiles", 100}},
                     {{"FuelDate", "2/1/2024"}, {"FuelGals", 11}, {"FuelMiles", 400}}});
    addRows("WorkOrder",
            {{{"Date", "1/1/2024"}, {"Mileage", 100}}, {{"Date", "2/1/2024"}, {"Mileage", 400}}});
    struct Window {
        const char* name;
        std::function<QWidget*()> open;
        Qt::Key addKey; // Alt+A, or Alt+N for New Order
        QWidget* firstField = nullptr;
        QWidget* add = nullptr;
    };
    Window windows[] = {
        {"fuel",
         [&]() -> QWidget* {
             records::frmGas* gas = openGas();
             pickBlue(gas->cboVehicleID);
             return gas;
         },
         Qt::Key_A},
        {"work orders",
         [&]() -> QWidget* {
             auto* orders = openFromMenu<records::frmWorkOrder>("mnuServiceRecords",
                                                                ChildWindow::ServiceRecords);
             pickBlue(orders->cboVehicleID);
             return orders;
         },
         Qt::Key_N},
        // Last: deleting its two vehicles takes the other windows' rows with them.
        {"vehicles", [&]() -> QWidget* { return openVehicles(); }, Qt::Key_A},
    };
    for (Window& w : windows) {
        SCOPED_TRACE(w.name);
        QWidget* window = w.open();
        ASSERT_TRUE(window);
        if (auto* v = qobject_cast<records::frmVehicleInfo*>(window))
            w = {w.name, w.open, w.addKey, v->txtLookUp, v->cmdAdd};
        else if (auto* g = qobject_cast<records::frmGas*>(window))
            w = {w.name, w.open, w.addKey, g->txtDate, g->cmdAdd};
        else if (auto* o = qobject_cast<records::frmWorkOrder*>(window))
            w = {w.name, w.open, w.addKey, o->txtDate, o->cmdAdd};
        ASSERT_TRUE(w.firstField && w.add);
        ASSERT_TRUE(holdsFocus(window));

        const struct {
            const char* step;
            Qt::Key key;
            QWidget* focus;
            bool adding;
        } steps[] = {
            {"add", w.addKey, w.firstField, true},
            {"cancel", Qt::Key_N, w.add, false},
            {"edit", Qt::Key_E, w.firstField, true},
            {"cancel", Qt::Key_N, w.add, false},
            {"edit", Qt::Key_E, w.firstField, true},
            {"update", Qt::Key_U, w.add, false},
            {"delete", Qt::Key_D, w.add, false},
            {"add again", w.addKey, w.firstField, true},
            {"cancel", Qt::Key_N, w.add, false},
            {"delete the last", Qt::Key_D, w.add, false},
            {"add on no rows", w.addKey, w.firstField, true},
            {"cancel", Qt::Key_N, w.add, false},
        };
        for (const auto& s : steps) {
            SCOPED_TRACE(s.step);
            pressAlt(s.key);
            EXPECT_EQ(adding(*window), s.adding);
            QWidget* focus = QApplication::focusWidget();
            EXPECT_EQ(focus, s.focus) << (focus ? focus->objectName().toStdString() : "none");
        }
        EXPECT_EQ(boxes.count(), 2) << "the two delete questions only";
        boxes.clear();
    }
}
