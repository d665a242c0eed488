// The fuel window's design, how it is opened, and its vehicle selector across
// activations, deactivations and reopening.
#include "GasWindowFixture.h"

#include "shell/Twips.h"

using namespace records_test;

TEST_F(GasWindowTest, DesignHasTheControlsCaptionsBindingsAndSize) {
    records::frmGas& w = open();
    QMdiSubWindow* sub = w.subWindow();
    EXPECT_EQ(sub->windowTitle(), QStringLiteral("Gas Purchases"));
    EXPECT_EQ(sub->size(), QSize(shell::twipsToPixels(6705, sub), shell::twipsToPixels(3735, sub)));

    const QList<QPair<records::BoundTextBox*, const char*>> boxesAndFields = {
        {w.txtDate, "FuelDate"},   {w.txtGals, "FuelGals"}, {w.txtCost, "FuelCost"},
        {w.txtMiles, "FuelMiles"}, {w.txtCity, "FuelCity"}, {w.txtState, "FuelState"}};
    for (const auto& [box, field] : boxesAndFields) {
        EXPECT_EQ(box->dataField(), QLatin1String(field));
        EXPECT_EQ(box->parentWidget(), w.Frame1) << field;
    }
    EXPECT_EQ(w.Check1->objectName(), QStringLiteral("Check1"));
    EXPECT_EQ(w.Check1->text(), QStringLiteral("Full"));
    EXPECT_EQ(w.Check1->dataField(), QStringLiteral("FuelFull"));
    EXPECT_EQ(w.lblMPG->parentWidget(), w.Frame1);

    QStringList labels;
    for (QLabel* label : w.Label1)
        labels << label->text() + QLatin1Char('>') + label->buddy()->objectName();
    EXPECT_EQ(labels,
              (QStringList{"Vehicle>cboVehicleID", "Date>txtDate", "Gals>txtGals", "Miles>txtMiles",
                           "Cost>txtCost", "City>txtCity", "State>txtState", "MPG>lblMPG"}));

    // Left column Date, Gals, Miles, City; right column Full, Cost, MPG, State.
    QWidget* const left[] = {w.txtDate, w.txtGals, w.txtMiles, w.txtCity};
    QWidget* const right[] = {w.Check1, w.txtCost, w.lblMPG, w.txtState};
    for (int row = 0; row < 4; ++row) {
        EXPECT_LT(left[row]->x(), right[row]->x());
        if (row > 0) {
            EXPECT_GT(left[row]->y(), left[row - 1]->y());
            EXPECT_GT(right[row]->y(), right[row - 1]->y());
        }
    }
    EXPECT_LT(w.cboVehicleID->y(), w.Frame1->y());
    EXPECT_GT(w.Data1->y(), w.Frame1->geometry().bottom());
    EXPECT_EQ(w.cmdUpdate->geometry(), w.cmdAdd->geometry());
    EXPECT_EQ(w.cmdCancel->geometry(), w.cmdEdit->geometry());
    EXPECT_FALSE(w.datVehicle->isVisible());

    EXPECT_EQ(w.Data1->Connect(), QStringLiteral("Access"));
    EXPECT_EQ(w.Data1->DatabaseName(), path);
    EXPECT_EQ(w.Data1->RecordSource(), QStringLiteral("Select * from Fuel where VehicleID = 0"));
    EXPECT_EQ(w.datVehicle->RecordSource(), QStringLiteral("VehicleInfo"));
    EXPECT_EQ(w.datVehicle->DatabaseName(), path);
}

TEST_F(GasWindowTest, TabGoesThroughTheFieldsThenTheButtons) {
    addVehicles({"Car"});
    records::frmGas& w = open();
    pick(QStringLiteral("Car"));
    click(w.cmdAdd);
    ASSERT_EQ(QApplication::focusWidget(), w.txtDate) << "Add puts the focus on the date";
    QStringList order;
    for (int i = 0; i < 6; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        order << QApplication::focusWidget()->objectName();
    }
    EXPECT_EQ(order,
              (QStringList{"Check1", "txtGals", "txtCost", "txtMiles", "txtCity", "txtState"}));
    // Add and Edit are hidden while adding: Update and Cancel come next.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), w.cmdUpdate);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), w.cmdCancel);
}

TEST_F(GasWindowTest, OpensWithNoVehicleAndOnlySelectorAddAndClose) {
    addVehicles({"Alpha", "Bravo"});
    addPurchases(QStringLiteral("Alpha"), {{"1/1/2024", "10", "100", true, "20"}});
    records::frmGas& w = open();
    EXPECT_EQ(listed(), (QStringList{"Alpha", "Bravo"}));
    EXPECT_EQ(w.cboVehicleID->currentIndex(), -1);
    EXPECT_EQ(w.cboVehicleID->itemData(1).toInt(), vehicleId(QStringLiteral("Bravo")));
    EXPECT_EQ(caption(), QStringLiteral("Record 0 of 0"));
    expectEmpty();
    EXPECT_FALSE(w.Data1->isEnabled());
}

TEST_F(GasWindowTest, PickingAVehicleShowsItsLatestPurchase) {
    addVehicles({"Alpha", "Bravo"});
    addPurchases(QStringLiteral("Alpha"),
                 {{"1/2/2024", "10", "300", true, "20"}, {"1/1/2024", "10", "100", true, "20"}});
    records::frmGas& w = open();
    pick(QStringLiteral("Alpha"));
    EXPECT_EQ(w.Data1->RecordSource(),
              QStringLiteral("Select * from Fuel where VehicleID = %1 Order by FuelDate, FuelMiles")
                  .arg(vehicleId(QStringLiteral("Alpha"))));
    EXPECT_EQ(caption(), QStringLiteral("Record 2 of 2"));
    EXPECT_EQ(w.txtDate->text(), QStringLiteral("1/2/2024"));
    EXPECT_EQ(mpg(), QStringLiteral("20.00"));
    expectBrowse();

    // A vehicle with no purchases: only the selector, Add and Close.
    pick(QStringLiteral("Bravo"));
    EXPECT_EQ(caption(), QStringLiteral("Record 0 of 0"));
    EXPECT_EQ(w.txtDate->text(), QString());
    EXPECT_EQ(mpg(), QString());
    expectEmpty();
}

TEST_F(GasWindowTest, ActivationRelistsVehiclesAndKeepsTheShownRow) {
    addVehicles({"Alpha", "Bravo"});
    addPurchases(QStringLiteral("Bravo"), {{"1/1/2024", "10", "100", true, ""},
                                           {"1/2/2024", "10", "300", true, ""},
                                           {"1/3/2024", "10", "500", true, ""}});
    records::frmGas& w = open();
    pick(QStringLiteral("Bravo"));
    navigate("btnFirst");
    ASSERT_EQ(caption(), QStringLiteral("Record 1 of 3"));

    // Meanwhile a vehicle comes and Bravo gets a purchase.
    addVehicles({"Charlie"});
    addPurchases(QStringLiteral("Bravo"), {{"1/4/2024", "10", "700", true, ""}});
    switchAwayAndBack();

    EXPECT_EQ(listed(), (QStringList{"Alpha", "Bravo", "Charlie"}));
    EXPECT_EQ(w.cboVehicleID->currentText(), QStringLiteral("Bravo"));
    EXPECT_EQ(w.cboVehicleID->currentData().toInt(), vehicleId(QStringLiteral("Bravo")));
    // Reselecting did not read the rows again: same row, same count.
    EXPECT_EQ(caption(), QStringLiteral("Record 1 of 3"));
    EXPECT_EQ(w.txtMiles->text(), QStringLiteral("100"));
    expectBrowse();
}

TEST_F(GasWindowTest, VehicleWithoutLookUpTextIsListedUnderItsOwnKey) {
    addVehicles({"Alpha"});
    execute(path, "INSERT INTO VehicleInfo (VehicleLookup, VehicleMake) VALUES (NULL, 'Nameless')");
    const int nameless = scalar(path, "SELECT VehicleID FROM VehicleInfo WHERE VehicleMake = "
                                      "'Nameless'")
                             .toInt();
    records::frmGas& w = open();
    ASSERT_EQ(listed(), (QStringList{"Alpha", ""}));
    EXPECT_EQ(w.cboVehicleID->itemData(0).toInt(), vehicleId(QStringLiteral("Alpha")));
    EXPECT_EQ(w.cboVehicleID->itemData(1).toInt(), nameless);
}

TEST_F(GasWindowTest, DeactivationWithNoVehicleSelectedRemembersNone) {
    addVehicles({"Alpha", "Bravo"});
    records::frmGas& w = open();
    switchAwayAndBack();
    EXPECT_EQ(w.cboVehicleID->currentIndex(), -1);
    expectEmpty();
}

TEST_F(GasWindowTest, DeletedVehicleIsDroppedFromTheList) {
    addVehicles({"Alpha", "Bravo"});
    records::frmGas& w = open();
    pick(QStringLiteral("Alpha"));
    execute(path, "DELETE FROM VehicleInfo WHERE VehicleLookup = 'Alpha'");
    switchAwayAndBack();
    EXPECT_EQ(listed(), QStringList{"Bravo"});
    EXPECT_EQ(w.cboVehicleID->currentIndex(), -1) << "the remembered vehicle is gone";
}

// The vehicle whose purchases are on show is deleted in the vehicle window: coming to
// the front, the window shows none of its rows, and drops one being typed for it.
TEST_F(GasWindowTest, VehicleDeletedElsewhereTakesItsRowsOffTheWindow) {
    addVehicles({"Alpha", "Bravo", "Charlie"});
    addPurchases(QStringLiteral("Alpha"), {{"1/1/2024", "10", "100", true, "5"}});
    addPurchases(QStringLiteral("Bravo"), {{"1/1/2024", "12", "200", true, "6"}});
    addPurchases(QStringLiteral("Charlie"), {{"1/1/2024", "14", "300", true, "7"}});
    const struct {
        const char* lookup;
        bool adding;
    } cases[] = {{"Alpha", false}, {"Bravo", true}};
    records::frmGas& w = open();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lookup);
        pick(QLatin1String(c.lookup));
        ASSERT_EQ(caption(), QStringLiteral("Record 1 of 1"));
        if (c.adding) {
            click(w.cmdAdd);
            QTest::keyClicks(w.txtDate, QStringLiteral("2/2/2024"));
        }
        deleteVehicleInItsWindow(QLatin1String(c.lookup));
        form->mdiArea()->setActiveSubWindow(w.subWindow());

        EXPECT_EQ(w.cboVehicleID->currentIndex(), -1);
        EXPECT_EQ(caption(), QStringLiteral("Record 0 of 0"));
        EXPECT_EQ(w.txtDate->text(), QString());
        EXPECT_EQ(w.txtGals->text(), QString());
        EXPECT_EQ(mpg(), QString());
        expectEmpty();
        EXPECT_FALSE(w.Data1->isEnabled());
        EXPECT_EQ(w.Data1->EditMode(), store::EditMode::None);
        expectCloseAllowed();
    }
    EXPECT_EQ(listed(), QStringList{"Charlie"});
    EXPECT_EQ(scalar(path, "SELECT group_concat(FuelGals) FROM Fuel"), QStringLiteral("14"));
    pick(QStringLiteral("Charlie")); // and the window goes on as before
    EXPECT_EQ(caption(), QStringLiteral("Record 1 of 1"));
    expectBrowse();
    expectFileConsistent();
}

TEST_F(GasWindowTest, ReopeningStartsWithNoVehicleSelected) {
    addVehicles({"Alpha"});
    addPurchases(QStringLiteral("Alpha"), {{"1/1/2024", "10", "100", true, ""}});
    open();
    pick(QStringLiteral("Alpha"));
    switchAwayAndBack(); // Alpha remembered
    click(window->cmdClose);
    QTest::qWait(0);
    ASSERT_TRUE(window.isNull());
    EXPECT_EQ(form->openChildWindow(shell::ChildWindow::GasPurchases), nullptr);

    records::frmGas& w = open();
    switchAwayAndBack();
    EXPECT_EQ(w.cboVehicleID->currentIndex(), -1);
    EXPECT_EQ(caption(), QStringLiteral("Record 0 of 0"));
    expectEmpty();
}

TEST_F(GasWindowTest, MenuOnAnOpenWindowChangesNothing) {
    addVehicles({"Alpha"});
    addPurchases(QStringLiteral("Alpha"),
                 {{"1/1/2024", "10", "100", true, ""}, {"1/2/2024", "10", "300", true, ""}});
    records::frmGas& w = open();
    pick(QStringLiteral("Alpha"));
    navigate("btnFirst");
    item("mnuVehicleInformation")->trigger();
    QMdiSubWindow* front = form->mdiArea()->activeSubWindow();
    ASSERT_NE(front, w.subWindow());

    item("mnuGasPurchases")->trigger();
    EXPECT_EQ(form->openChildWindow(shell::ChildWindow::GasPurchases), &w);
    EXPECT_EQ(form->mdiArea()->activeSubWindow(), front) << "not brought to the front";
    EXPECT_EQ(form->mdiArea()->subWindowList().size(), 2);
    EXPECT_EQ(caption(), QStringLiteral("Record 1 of 2"));
}
