// The Gas Purchases window and the history agree: on every row of a generated log
// with partial fills and missed marks, and on the demonstration file, the window
// shows the MPG that economyOf gives, and a mark set elsewhere shows once the
// window comes to the front again.
#include "DemoDatabase.h"
#include "history/FuelEconomy.h"
#include "history/HistoryReader.h"
#include "history/HistoryText.h"
#include "history/MissedMarks.h"
#include "records/GasWindowFixture.h"
#include "store/Connection.h"

#include <random>

using namespace records_test;

namespace {

class GasAgreement : public GasWindowTest {
protected:
    // A log of one vehicle, entered out of date order now and then; dates and
    // odometers distinct, so that both orders are fully decided.
    void addGeneratedLog(unsigned seed, int count) {
        std::mt19937 random(seed);
        std::uniform_int_distribution<int> percent(0, 99);
        QStringList rows;
        double miles = 500;
        for (int i = 0; i < count; ++i) {
            miles += percent(random) < 5 ? -40.25 : 20 + percent(random) * 3.17;
            const double gallons = percent(random) < 4 ? 0 : 1 + percent(random) / 7.0;
            rows << QStringLiteral("('%1 00:00:00', %2, %3, %4, 1)")
                        .arg(QDate(2023, 1, 1).addDays(i).toString(Qt::ISODate))
                        .arg(gallons, 0, 'f', 3)
                        .arg(miles, 0, 'f', 2)
                        .arg(percent(random) < 70 ? -1 : 0);
        }
        std::shuffle(rows.begin(), rows.end(), random);
        execute(path, QByteArray("INSERT INTO Fuel (FuelDate, FuelGals, FuelMiles, FuelFull, "
                                 "VehicleID) VALUES ") +
                          rows.join(QLatin1Char(',')).toUtf8());
        const store::ConnectionHandle db = store::openConnection(path, false);
        for (int i = 0; i < count; ++i)
            if (percent(random) < 12)
                history::setMissed(db.get(), i + 1, true);
    }

    QStringList historyMpg(const QString& lookup = QStringLiteral("Car")) const {
        const store::ConnectionHandle db = store::openConnection(path, false);
        QStringList figures;
        const history::FuelFills fills =
            history::HistoryReader(db.get()).fuelFills(vehicleId(lookup));
        for (const history::FillEconomy& fill : history::economyOf(fills))
            figures << history::mpgText(fill.tank ? std::optional<double>(*fill.tank->mpg)
                                                  : std::nullopt);
        return figures;
    }

    QStringList windowMpg() {
        QStringList figures;
        if (window->Data1->Recordset()->RecordCount() == 0)
            return figures;
        navigate("btnFirst");
        for (int row = 0; row < window->Data1->Recordset()->RecordCount(); ++row) {
            figures << mpg();
            navigate("btnNext");
        }
        return figures;
    }
};

TEST_F(GasAgreement, EveryRowOfAGeneratedLogWithMarks) {
    addVehicles({"Car"});
    addGeneratedLog(7, 120);
    ASSERT_GT(scalar(path, "SELECT count(*) FROM drivolex_fuel_missed").toInt(), 5);
    open();
    pick(QStringLiteral("Car"));
    const QStringList expected = historyMpg();
    ASSERT_EQ(expected.size(), 120);
    EXPECT_GT(expected.count(QString()), 20) << "marks, partial fills and gaps leave rows empty";
    EXPECT_EQ(windowMpg(), expected);
}

TEST_F(GasAgreement, EveryRowOfTheDemonstrationFile) {
    demo::writeDemoDatabase(path);
    open();
    int figures = 0;
    for (const QString& lookup :
         {QStringLiteral("Civic"), QStringLiteral("Pickup"), QStringLiteral("Wagon")}) {
        pick(lookup);
        const QStringList expected = historyMpg(lookup);
        EXPECT_EQ(windowMpg(), expected) << lookup.toStdString();
        figures += int(expected.size() - expected.count(QString()));
    }
    EXPECT_GE(figures, 8) << "the demonstration vehicle's full tanks show their MPG";
}

TEST_F(GasAgreement, MarkSetElsewhereShowsOnComingBack) {
    addVehicles({"Car"});
    addPurchases(QStringLiteral("Car"), {{"3/1/2024", "10", "1000", true, ""},
                                         {"3/8/2024", "5", "1150", false, ""},
                                         {"3/15/2024", "10", "1300", true, ""}});
    open();
    pick(QStringLiteral("Car"));
    ASSERT_EQ(mpg(), QStringLiteral("20.00"));
    const qint64 partial =
        scalar(path, "SELECT FuelId FROM Fuel WHERE FuelMiles = 1150").toLongLong();
    {
        const store::ConnectionHandle db = store::openConnection(path, false);
        history::setMissed(db.get(), partial, true);
    }
    switchAwayAndBack();
    EXPECT_EQ(mpg(), QString()) << "the partial fill says one before it went unrecorded";
    {
        const store::ConnectionHandle db = store::openConnection(path, false);
        history::setMissed(db.get(), partial, false);
    }
    switchAwayAndBack();
    EXPECT_EQ(mpg(), QStringLiteral("20.00"));
}

} // namespace
