// Recording fuel through the window: typing purchases, saving them under the
// selected vehicle, deleting, and what typed values the file cannot hold do.
#include "GasWindowFixture.h"

#include "store/StoreErrors.h"

using namespace records_test;

namespace {

class GasEditingTest : public GasWindowTest {
protected:
    // Types one value into each box from the focused one on, moving with Tab; a
    // value of "x" ticks the focused check box instead.
    static void typeFromFocus(const QStringList& values) {
        for (const QString& value : values) {
            QWidget* box = QApplication::focusWidget();
            ASSERT_NE(box, nullptr);
            if (qobject_cast<QCheckBox*>(box)) {
                if (value == QLatin1String("x"))
                    QTest::keyClick(box, Qt::Key_Space);
            } else {
                QTest::keyClicks(box, value);
            }
            QTest::keyClick(box, Qt::Key_Tab);
        }
    }

    store::EditMode pending() const { return window->Data1->EditMode(); }
};

} // namespace

TEST_F(GasEditingTest, TypedPurchaseIsSavedUnderTheVehicleWithItsMpg) {
    addVehicles({"Alpha", "Bravo"});
    addPurchases(QStringLiteral("Bravo"), {{"3/1/2024", "12", "1000", true, "40"}});
    records::frmGas& w = open();
    // The user chooses Bravo with the keyboard.
    w.cboVehicleID->setFocus();
    QTest::keyClick(w.cboVehicleID, Qt::Key_Down);
    QTest::keyClick(w.cboVehicleID, Qt::Key_Down);
    ASSERT_EQ(w.cboVehicleID->currentText(), QStringLiteral("Bravo"));
    EXPECT_EQ(caption(), QStringLiteral("Record 1 of 1"));

    click(w.cmdAdd);
    EXPECT_EQ(usable(), (QStringList{"cmdCancel", "cmdUpdate"}));
    expectCloseRefused();
    // Date, Full, Gals, Cost, Miles, City, State.
    typeFromFocus({"3/15/2024", "x", "10", "35.5", "1300", "Boston", "MA"});
    EXPECT_EQ(w.txtCost->text(), QStringLiteral("$35.50")) << "formatted on leaving the box";
    click(w.cmdUpdate);

    EXPECT_EQ(boxes.count(), 1) << "only the refused close";
    EXPECT_EQ(caption(), QStringLiteral("Record 2 of 2"));
    EXPECT_EQ(mpg(), QStringLiteral("30.00")) << "(1300 - 1000) / 10";
    EXPECT_EQ(w.txtCost->text(), QStringLiteral("$35.50"));
    expectBrowse();
    expectCloseAllowed();
    const int bravo = vehicleId(QStringLiteral("Bravo"));
    EXPECT_EQ(scalar(path, "SELECT count(*) FROM Fuel WHERE FuelCity = 'Boston' AND FuelState = "
                           "'MA' AND FuelFull = -1 AND FuelGals = 10 AND FuelCost = 355000 AND "
                           "FuelDate = '2024-03-15 00:00:00' AND VehicleID = " +
                               QByteArray::number(bravo)),
              QStringLiteral("1"));

    // A purchase dated earlier takes its place in date order and stays current.
    click(w.cmdAdd);
    EXPECT_EQ(QApplication::focusWidget(), w.txtDate);
    typeFromFocus({"2/20/2024", "", "5", "", "900"});
    click(w.cmdUpdate);
    EXPECT_EQ(caption(), QStringLiteral("Record 1 of 3"));
    EXPECT_EQ(w.txtMiles->text(), QStringLiteral("900"));
    EXPECT_EQ(mpg(), QString()) << "not a full tank";
    navigate("btnNext");
    EXPECT_EQ(mpg(), QString()) << "no full tank before it any more";
    navigate("btnNext");
    EXPECT_EQ(mpg(), QStringLiteral("30.00"));
    expectFileConsistent();
}

TEST_F(GasEditingTest, ChangingTheVehicleWhileEditingMovesTheRowOnUpdate) {
    addVehicles({"Alpha", "Bravo"});
    addPurchases(QStringLiteral("Alpha"),
                 {{"1/1/2024", "10", "100", true, ""}, {"1/2/2024", "10", "300", true, ""}});
    records::frmGas& w = open();
    pick(QStringLiteral("Alpha"));
    click(w.cmdAdd);
    typeFromFocus({"1/3/2024", "x", "10", "", "500"});
    // The selector stays usable but does not change the shown rows.
    pick(QStringLiteral("Bravo"));
    EXPECT_EQ(w.Data1->RecordSource().right(34),
              QStringLiteral("VehicleID = %1 Order by FuelDate, FuelMiles")
                  .arg(vehicleId(QStringLiteral("Alpha")))
                  .right(34));
    EXPECT_EQ(pending(), store::EditMode::AddNew);
    click(w.cmdUpdate);

    EXPECT_TRUE(boxes.boxes().isEmpty());
    EXPECT_EQ(scalar(path, "SELECT VehicleID FROM Fuel WHERE FuelMiles = 500"),
              QString::number(vehicleId(QStringLiteral("Bravo"))));
    // The saved row is not among Alpha's rows: the window stays on the first one.
    EXPECT_EQ(caption(), QStringLiteral("Record 1 of 2"));
    EXPECT_EQ(w.txtMiles->text(), QStringLiteral("100"));
    expectBrowse();

    // An edited row moves the same way.
    click(w.cmdEdit);
    pick(QStringLiteral("Alpha"));
    pick(QStringLiteral("Bravo"));
    click(w.cmdUpdate);
    EXPECT_EQ(scalar(path, "SELECT count(*) FROM Fuel WHERE VehicleID = " +
                               QByteArray::number(vehicleId(QStringLiteral("Bravo")))),
              QStringLiteral("2"));
    EXPECT_EQ(caption(), QStringLiteral("Record 1 of 1"));
    expectBrowse();

    // The last one leaves Alpha with no rows to show.
    click(w.cmdEdit);
    pick(QStringLiteral("Bravo"));
    click(w.cmdUpdate);
    EXPECT_TRUE(boxes.boxes().isEmpty());
    EXPECT_EQ(caption(), QStringLiteral("Record 0 of 0"));
    expectEmpty();
    EXPECT_FALSE(w.Data1->isEnabled());
    expectCloseAllowed();
    EXPECT_EQ(count("Fuel"), 3);
    expectFileConsistent();
}

TEST_F(GasEditingTest, DeletingTheLastPurchaseLeavesAddCloseAndTheSelector) {
    addVehicles({"Alpha", "Bravo"});
    addPurchases(QStringLiteral("Alpha"), {{"1/1/2024", "10", "100", true, "5"}});
    addPurchases(QStringLiteral("Bravo"), {{"1/1/2024", "10", "100", true, ""}});
    records::frmGas& w = open();
    pick(QStringLiteral("Alpha"));
    click(w.cmdDelete);
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.last().title, QStringLiteral("Delete Record?"));
    EXPECT_EQ(boxes.last().style, 36);

    expectEmpty();
    EXPECT_EQ(caption(), QStringLiteral("Record 0 of 0"));
    EXPECT_EQ(w.txtCost->text(), QString());
    EXPECT_EQ(count("Fuel"), 1);
    // The selector still picks another vehicle.
    pick(QStringLiteral("Bravo"));
    EXPECT_EQ(caption(), QStringLiteral("Record 1 of 1"));
    expectBrowse();
}

TEST_F(GasEditingTest, CancelOfAnAddOnNoRowsKeepsTheSelector) {
    addVehicles({"Alpha"});
    records::frmGas& w = open();
    pick(QStringLiteral("Alpha"));
    click(w.cmdAdd);
    typeFromFocus({"1/1/2024"});
    click(w.cmdCancel);
    expectEmpty();
    expectCloseAllowed();
    EXPECT_EQ(count("Fuel"), 0);
}

TEST_F(GasEditingTest, ValueTheFieldCannotHoldIsReportedAndKeptForCorrection) {
    addVehicles({"Alpha"});
    addPurchases(QStringLiteral("Alpha"), {{"1/1/2024", "10", "100", true, "5"}});
    records::frmGas& w = open();
    pick(QStringLiteral("Alpha"));
    const struct {
        QLineEdit* box;
        QString text;
        int number;
        const char* field;
    } cases[] = {
        {w.txtDate, QStringLiteral("2/30/2024"), store::errTypeMismatch, "FuelDate"},
        {w.txtGals, QStringLiteral("ten"), store::errTypeMismatch, "FuelGals"},
        {w.txtCost, QStringLiteral("abc"), store::errTypeMismatch, "FuelCost"},
        {w.txtState, QStringLiteral("MAS"), store::errFieldTooSmall, "FuelState"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        boxes.clear();
        click(w.cmdAdd);
        typeFromFocus({"1/5/2024", "x", "10", "20", "400"});
        retype(c.box, c.text);
        w.txtCity->setFocus(); // leaving the box: a cost that is no number stays as typed
        EXPECT_EQ(c.box->text(), c.text);
        click(w.cmdUpdate);

        ASSERT_EQ(boxes.count(), 1);
        expectErrorBox(c.number, QLatin1String(c.field));
        expectAdding();
        EXPECT_EQ(pending(), store::EditMode::AddNew) << "neither saved nor dropped";
        EXPECT_EQ(c.box->text(), c.text);
        EXPECT_EQ(count("Fuel"), 1);
        click(w.cmdCancel);
        expectBrowse();
    }
    expectFileConsistent();
}

TEST_F(GasEditingTest, NegativeMilesAndGroupedCostAreAccepted) {
    addVehicles({"Alpha"});
    records::frmGas& w = open();
    pick(QStringLiteral("Alpha"));
    click(w.cmdAdd);
    typeFromFocus({"1/5/2024", "", "10", "$1,234.50", "-5"});
    EXPECT_EQ(w.txtCost->text(), QStringLiteral("$1234.50"));
    click(w.cmdUpdate);
    EXPECT_TRUE(boxes.boxes().isEmpty());
    EXPECT_EQ(scalar(path, "SELECT FuelMiles = -5 FROM Fuel"), QStringLiteral("1"));
    EXPECT_EQ(scalar(path, "SELECT FuelCost FROM Fuel"), QStringLiteral("12345000"));
    EXPECT_EQ(w.txtCost->text(), QStringLiteral("$1234.50"));
    EXPECT_EQ(w.txtMiles->text(), QStringLiteral("-5"));
}

TEST_F(GasEditingTest, UpdateWithNoVehicleSelectedKeepsTheRowUntilOneIsPicked) {
    addVehicles({"Alpha"});
    records::frmGas& w = open();
    click(w.cmdAdd);
    typeFromFocus({"1/5/2024", "x", "10"});
    click(w.cmdUpdate);
    ASSERT_EQ(boxes.count(), 1);
    expectErrorBox(381, QStringLiteral("Vehicle"));
    expectAdding();
    EXPECT_EQ(pending(), store::EditMode::AddNew);
    EXPECT_EQ(w.txtGals->text(), QStringLiteral("10"));
    EXPECT_EQ(count("Fuel"), 0);
    expectCloseRefused();

    // The vehicle picked now owns the row once it is saved, and its rows are listed.
    pick(QStringLiteral("Alpha"));
    click(w.cmdUpdate);
    EXPECT_EQ(boxes.count(), 2) << "only the error and the refused close";
    EXPECT_EQ(caption(), QStringLiteral("Record 1 of 1"));
    EXPECT_EQ(w.txtGals->text(), QStringLiteral("10"));
    expectBrowse();
    EXPECT_EQ(scalar(path, "SELECT VehicleID || '/' || FuelGals FROM Fuel"),
              QStringLiteral("%1/10").arg(vehicleId(QStringLiteral("Alpha"))));
    expectFileConsistent();
}

TEST_F(GasEditingTest, StoredCostKeepsItsDollarLookWheneverTheRowShowsAgain) {
    addVehicles({"Alpha"});
    addPurchases(QStringLiteral("Alpha"), {{"1/1/2024", "10", "100", true, "19.39"}});
    records::frmGas& w = open();
    pick(QStringLiteral("Alpha"));
    ASSERT_EQ(w.txtCost->text(), QStringLiteral("$19.39"));
    const auto refusedUpdate = [&] {
        retype(w.txtGals, QStringLiteral("ten"));
        click(w.cmdUpdate);
        ASSERT_EQ(boxes.count(), 1);
        expectErrorBox(store::errTypeMismatch, QStringLiteral("FuelGals"));
    };
    const struct {
        const char* name;
        QPushButton* start;
        std::function<void()> then;
        bool cancel;
    } cases[] = {
        {"edit, cancel", w.cmdEdit, [] {}, true},
        {"edit, refused update", w.cmdEdit, refusedUpdate, false},
        {"edit, refused update, cancel", w.cmdEdit, refusedUpdate, true},
        {"add, refused update, cancel", w.cmdAdd, refusedUpdate, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        boxes.clear();
        click(c.start);
        c.then();
        if (c.cancel) {
            click(w.cmdCancel);
            expectBrowse();
        }
        EXPECT_EQ(w.txtCost->text(), QStringLiteral("$19.39"));
        if (!c.cancel)
            click(w.cmdCancel);
    }
    // The display alone is never written back as a change.
    click(w.cmdEdit);
    click(w.cmdUpdate);
    EXPECT_EQ(scalar(path, "SELECT FuelCost FROM Fuel"), QStringLiteral("193900"));
}
