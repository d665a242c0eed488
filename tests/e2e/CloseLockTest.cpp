// The program does not close while a record is being added or edited in any record
// window: File > Exit explains the refusal, keeps everything typed, and works again once
// the record is cancelled or saved.
#include "RecordWindowsByHand.h"

using namespace e2e;

namespace {

class CloseLock : public RecordWindowsByHand {
protected:
    // A new database with one vehicle, its window still open.
    void SetUp() override {
        RecordWindowsByHand::SetUp();
        ASSERT_NO_FATAL_FAILURE(startWithNewDatabase());
        vehicles = openWindow(QStringLiteral("Vehicle Information"),
                              QStringLiteral("Vehicle Information"));
        ASSERT_NE(vehicles, nullptr);
        ASSERT_NO_FATAL_FAILURE(addVehicle(vehicles, QStringLiteral("Civic"),
                                           QStringLiteral("Honda"), QStringLiteral("Civic"),
                                           QStringLiteral("2015")));
        ASSERT_EQ(boxes.count(), 0);
    }

    QComboBox* vehicleList(QWidget* window) {
        return qobject_cast<QComboBox*>(labelled(window, QStringLiteral("Vehicle")));
    }

    QWidget* vehicles = nullptr;
};

TEST_F(CloseLock, AddingAVehicle) {
    press(vehicles, "cmdAdd");
    typeInto(vehicles, QStringLiteral("Look Up"), QStringLiteral("Truck"));
    ASSERT_NO_FATAL_FAILURE(expectExitRefused());
    EXPECT_EQ(windowTitled(QStringLiteral("Vehicle Information")), vehicles);
    EXPECT_EQ(shown(labelled(vehicles, QStringLiteral("Look Up"))), QStringLiteral("Truck"))
        << "what was typed is kept";
    ASSERT_NO_FATAL_FAILURE(expectExitRefused()); // and again: one refusal does not lift the lock

    press(vehicles, "cmdCancel");
    expectExitCloses();
    EXPECT_EQ(rows(QStringLiteral("SELECT VehicleLookup FROM VehicleInfo")),
              QStringLiteral("Civic"));
}

TEST_F(CloseLock, EditingAVehicleUntilItIsSaved) {
    press(vehicles, "cmdEdit");
    typeInto(vehicles, QStringLiteral("Model"), QStringLiteral("Civic Si"));
    ASSERT_NO_FATAL_FAILURE(expectExitRefused());
    EXPECT_EQ(shown(labelled(vehicles, QStringLiteral("Model"))), QStringLiteral("Civic Si"));

    press(vehicles, "cmdUpdate");
    expectExitCloses();
    EXPECT_EQ(rows(QStringLiteral("SELECT VehicleModel FROM VehicleInfo")),
              QStringLiteral("Civic Si"));
}

TEST_F(CloseLock, HoldsWhileAnyWindowIsStillAdding) {
    press(vehicles, "cmdAdd");
    typeInto(vehicles, QStringLiteral("Look Up"), QStringLiteral("Truck"));
    // Meanwhile a fuel purchase is started and given up in the other window.
    QWidget* gas = openWindow(QStringLiteral("Gas Purchases"), QStringLiteral("Gas Purchases"));
    ASSERT_NE(gas, nullptr);
    pick(vehicleList(gas), QStringLiteral("Civic"));
    press(gas, "cmdAdd");
    press(gas, "cmdCancel");
    ASSERT_NO_FATAL_FAILURE(expectExitRefused()) << "the new vehicle is not saved yet";

    ASSERT_NO_FATAL_FAILURE(bringForward(QStringLiteral("Vehicle Information")));
    EXPECT_EQ(shown(labelled(vehicles, QStringLiteral("Look Up"))), QStringLiteral("Truck"));
    press(vehicles, "cmdUpdate");
    expectExitCloses();
    EXPECT_EQ(rows(QStringLiteral("SELECT VehicleLookup FROM VehicleInfo ORDER BY VehicleID")),
              QStringLiteral("Civic;Truck"));
}

TEST_F(CloseLock, AddingAFuelPurchase) {
    QWidget* gas = openWindow(QStringLiteral("Gas Purchases"), QStringLiteral("Gas Purchases"));
    ASSERT_NE(gas, nullptr);
    pick(vehicleList(gas), QStringLiteral("Civic"));
    press(gas, "cmdAdd");
    typeInto(gas, QStringLiteral("Date"), QStringLiteral("6/1/2024"));
    typeInto(gas, QStringLiteral("Gals"), QStringLiteral("10.5"));
    ASSERT_NO_FATAL_FAILURE(expectExitRefused());
    EXPECT_EQ(shown(labelled(gas, QStringLiteral("Gals"))), QStringLiteral("10.5"));

    press(gas, "cmdCancel");
    expectExitCloses();
    EXPECT_EQ(value(QStringLiteral("SELECT count(*) FROM Fuel")), QStringLiteral("0"));
}

TEST_F(CloseLock, AddingAWorkOrder) {
    QWidget* orders = openWindow(QStringLiteral("Service Records"), QStringLiteral("Work Order"));
    ASSERT_NE(orders, nullptr);
    pick(vehicleList(orders), QStringLiteral("Civic"));
    press(orders, "cmdAdd");
    typeInto(orders, QStringLiteral("Date"), QStringLiteral("6/1/2024"));
    typeInto(orders, QStringLiteral("Miles"), QStringLiteral("42000"));
    ASSERT_NO_FATAL_FAILURE(expectExitRefused());
    EXPECT_EQ(shown(labelled(orders, QStringLiteral("Miles"))), QStringLiteral("42000"));

    press(orders, "cmdCancel");
    expectExitCloses();
    EXPECT_EQ(value(QStringLiteral("SELECT count(*) FROM WorkOrder")), QStringLiteral("0"));
}

TEST_F(CloseLock, EditingAWorkOrderUntilItIsSaved) {
    QWidget* orders = openWindow(QStringLiteral("Service Records"), QStringLiteral("Work Order"));
    ASSERT_NE(orders, nullptr);
    pick(vehicleList(orders), QStringLiteral("Civic"));
    press(orders, "cmdAdd");
    typeInto(orders, QStringLiteral("Date"), QStringLiteral("6/1/2024"));
    typeInto(orders, QStringLiteral("Miles"), QStringLiteral("42000"));
    press(orders, "cmdUpdate");
    ASSERT_EQ(boxes.count(), 0);

    press(orders, "cmdEdit");
    typeInto(orders, QStringLiteral("Miles"), QStringLiteral("42100"));
    ASSERT_NO_FATAL_FAILURE(expectExitRefused());
    press(orders, "cmdUpdate");
    expectExitCloses();
    EXPECT_EQ(rows(QStringLiteral("SELECT Mileage FROM WorkOrder")), QStringLiteral("42100"));
}

} // namespace
