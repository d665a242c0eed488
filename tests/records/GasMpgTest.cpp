// Miles per gallon and the cost display of the fuel window, read from the window as a
// user sees them on each row.
#include "GasWindowFixture.h"

using namespace records_test;

namespace {

class GasMpgTest : public GasWindowTest {
protected:
    // One vehicle with these purchases, its latest row shown.
    void showPurchases(const QList<Purchase>& purchases) {
        addVehicles({"Car"});
        addPurchases(QStringLiteral("Car"), purchases);
        open();
        pick(QStringLiteral("Car"));
    }

    // The MPG shown on every row, first to last.
    QStringList mpgOfEveryRow() {
        QStringList figures;
        navigate("btnFirst");
        for (int row = 0; row < window->Data1->Recordset()->RecordCount(); ++row) {
            figures << mpg();
            navigate("btnNext");
        }
        return figures;
    }

    // Changes the file behind the window's back once its rows are on show.
    void damage(const char* sql) {
        execute(path, sql);
        boxes.clear();
    }
};

} // namespace

TEST_F(GasMpgTest, PartialFillsAddTheirGallonsToTheNextFullTank) {
    showPurchases({{"3/1/2024", "10", "1000", true, ""},
                   {"3/8/2024", "5", "1150", false, ""},
                   {"3/15/2024", "10", "1300", true, ""}});
    EXPECT_EQ(caption(), QStringLiteral("Record 3 of 3"));
    EXPECT_EQ(mpg(), QStringLiteral("20.00")) << "(1300 - 1000) / (10 + 5)";
    // No earlier full tank; a partial fill shows none either.
    EXPECT_EQ(mpgOfEveryRow(), (QStringList{"", "", "20.00"}));
}

TEST_F(GasMpgTest, SeveralPartialFillsAndRowsInDateThenOdometerOrder) {
    // Stored out of order; two purchases on one day sort by odometer.
    showPurchases({{"5/3/2024", "5", "400", true, ""},
                   {"5/2/2024", "3", "300", false, ""},
                   {"5/2/2024", "2", "250", false, ""},
                   {"5/1/2024", "8", "100", true, ""}});
    EXPECT_EQ(window->txtMiles->text(), QStringLiteral("400"));
    EXPECT_EQ(mpg(), QStringLiteral("30.00")) << "(400 - 100) / (5 + 3 + 2)";
    EXPECT_EQ(mpgOfEveryRow(), (QStringList{"", "", "", "30.00"}));
}

TEST_F(GasMpgTest, OnlyTheLastFullTankBeforeCounts) {
    showPurchases({{"1/1/2024", "10", "0", true, ""},
                   {"1/2/2024", "10", "200", true, ""},
                   {"1/3/2024", "4", "300", false, ""},
                   {"1/4/2024", "10", "500", true, ""},
                   {"1/5/2024", "6", "550", false, ""}});
    EXPECT_EQ(mpgOfEveryRow(), (QStringList{"", "20.00", "", "21.43", ""}));
}

TEST_F(GasMpgTest, FiguresBelowOneRoundedAndNegative) {
    showPurchases({{"1/1/2024", "1", "0", true, ""},
                   {"1/2/2024", "4", "3", true, ""},
                   {"1/3/2024", "1", "126.456", true, ""},
                   {"1/4/2024", "10", "26.456", true, ""}});
    // .75 without a leading zero; 123.456 rounds to two places. An odometer that went
    // back gives no figure: a negative MPG is plainly wrong, and the fuel economy rule
    // the Vehicle History shares with this window counts no interval without distance.
    EXPECT_EQ(mpgOfEveryRow(), (QStringList{"", ".75", "123.46", ""}));
}

TEST_F(GasMpgTest, NoGallonsToDivideByShowsNoFigure) {
    showPurchases({{"1/1/2024", "10", "1000", true, ""},
                   {"1/2/2024", "0", "1100", false, ""},
                   {"1/3/2024", "0", "1200", true, ""}});
    boxes.clear();
    navigate("btnFirst");
    navigate("btnLast");
    EXPECT_EQ(mpg(), QString());
    EXPECT_TRUE(boxes.count() == 0) << "no error either";
}

TEST_F(GasMpgTest, TankWithoutFullValueCountsAsPartialFill) {
    addVehicles({"Car"});
    addPurchases(QStringLiteral("Car"), {{"3/1/2024", "10", "1000", true, ""},
                                         {"3/8/2024", "5", "1150", false, ""},
                                         {"3/15/2024", "10", "1300", true, ""}});
    // The box shows unticked, so the gallons belong to the next full tank.
    execute(path, "UPDATE Fuel SET FuelFull = NULL WHERE FuelMiles = 1150");
    open();
    pick(QStringLiteral("Car"));
    EXPECT_EQ(mpg(), QStringLiteral("20.00"));
    navigate("btnPrevious");
    EXPECT_FALSE(window->Check1->isChecked());
    EXPECT_EQ(mpg(), QString());
}

TEST_F(GasMpgTest, EmptyGallonsOrMilesShowNoFigureWithoutReadingOtherRows) {
    showPurchases({{"1/1/2024", "10", "1000", true, ""},
                   {"1/2/2024", "10", "1300", true, ""},
                   {"1/3/2024", "", "1600", true, ""},
                   {"1/4/2024", "10", "", true, ""}});
    // From now on any attempt to read the second row shows an error box.
    damage("UPDATE Fuel SET FuelMiles = 'unreadable' WHERE FuelDate LIKE '2024-01-02%'");
    navigate("btnPrevious");
    EXPECT_EQ(window->txtGals->text(), QString());
    EXPECT_EQ(mpg(), QString());
    navigate("btnNext");
    EXPECT_EQ(window->txtMiles->text(), QString());
    EXPECT_EQ(mpg(), QString());
    EXPECT_TRUE(boxes.count() == 0) << "the damaged row was not read";
}

TEST_F(GasMpgTest, ReadsNoRowBeforeThePreviousFullTank) {
    showPurchases({{"1/1/2024", "10", "700", true, ""},
                   {"1/2/2024", "10", "1000", true, ""},
                   {"1/3/2024", "10", "1300", true, ""}});
    damage("UPDATE Fuel SET FuelGals = 'unreadable' WHERE FuelMiles = 700");
    navigate("btnPrevious");
    EXPECT_GT(boxes.count(), 0) << "the second row's figure needs the damaged one";
    boxes.clear();
    navigate("btnNext");
    EXPECT_EQ(mpg(), QStringLiteral("30.00"));
    EXPECT_TRUE(boxes.count() == 0) << "the third row's figure stops at the second";
}

TEST_F(GasMpgTest, CostShowsWithDollarSignAndTwoDecimals) {
    showPurchases({{"1/1/2024", "10", "1000", true, "12.5"},
                   {"1/2/2024", "10", "1300", true, ""},
                   {"1/3/2024", "10", "1600", true, "0.5"},
                   {"1/4/2024", "10", "1900", true, "1234.5"}});
    QStringList costs;
    navigate("btnFirst");
    for (int row = 0; row < 4; ++row) {
        costs << window->txtCost->text();
        navigate("btnNext");
    }
    EXPECT_EQ(costs, (QStringList{"$12.50", "", "$.50", "$1234.50"}));
}

TEST_F(GasMpgTest, ShownCostWritesBackOnlyWhenChanged) {
    showPurchases({{"1/1/2024", "10", "1000", true, "12.3456"}});
    EXPECT_EQ(window->txtCost->text(), QStringLiteral("$12.35"));
    // Editing another field keeps the stored amount to the hundredth of a cent.
    click(window->cmdEdit);
    retype(window->txtCity, QStringLiteral("Boston"));
    click(window->cmdUpdate);
    EXPECT_EQ(scalar(path, "SELECT FuelCost FROM Fuel"), QStringLiteral("123456"));
    EXPECT_EQ(scalar(path, "SELECT FuelCity FROM Fuel"), QStringLiteral("Boston"));
    // A cost typed again is stored as typed (after the lost-focus formatting).
    click(window->cmdEdit);
    retype(window->txtCost, QStringLiteral("12.5"));
    window->txtCity->setFocus();
    EXPECT_EQ(window->txtCost->text(), QStringLiteral("$12.50"));
    click(window->cmdUpdate);
    EXPECT_EQ(scalar(path, "SELECT FuelCost FROM Fuel"), QStringLiteral("125000"));
    EXPECT_EQ(window->txtCost->text(), QStringLiteral("$12.50"));
}
