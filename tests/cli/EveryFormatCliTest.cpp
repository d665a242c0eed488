// Each format's file of the same three fill-ups (a full tank, a partial fill, a full
// tank) imported through drivolex-cli into a new database: the rows in the file by SQL
// and the Vehicle History's average as the window computes it.
#include "history/HistoryReader.h"
#include "history/HistoryText.h"
#include "history/Statistics.h"
#include "store/Connection.h"
#include "store/StoreTestFiles.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace cli_test {

struct FormatFile {
    const char* format;
    const char* name;
    const char* text;
    int workOrders;
    const char* gallons; // of the first fill, in US gallons
    const char* mpg;     // 300 miles on 15 gallons, or 300 km on 60 litres
};

// In miles and US gallons: 300 / (5 + 10) = 20.00. In km and litres: 186.41 miles on
// 15.850 US gallons = 11.76.
const FormatFile kFiles[] = {
    {"fuelly", "fuelly.csv",
     "car_name,model,mpg,odometer,miles,gallons,price,city_percentage,fuelup_date,date_added,"
     "tags,notes,missed_fuelup,partial_fuelup,latitude,longitude,brand\n"
     "Civic,Honda,,1000,,10,3.00,,01/05/2024 0:00,,,,0,0,,,\n"
     "Civic,Honda,,1150,,5,3.00,,01/20/2024 0:00,,,,0,1,,,\n"
     "Civic,Honda,,1300,,10,3.00,,02/03/2024 0:00,,,,0,0,,,\n",
     0, "10.0", "20.00"},
    {"acar", "acar.csv",
     "\"Fill-Up Records\"\r\n"
     "\"Vehicle\",\"Date\",\"Odometer Reading\",\"Distance Unit\",\"Volume\",\"Volume Unit\","
     "\"Total Cost\",\"Partial Fill-Up?\",\"Previously Missed Fill-Ups?\"\r\n"
     "\"Civic\",\"1/5/2024\",\"1,000\",\"mi\",\"10\",\"gal (US)\",\"$30.00\",\"No\",\"No\"\r\n"
     "\"Civic\",\"1/20/2024\",\"1,150\",\"mi\",\"5\",\"gal (US)\",\"$15.00\",\"Yes\",\"No\"\r\n"
     "\"Civic\",\"2/3/2024\",\"1,300\",\"mi\",\"10\",\"gal (US)\",\"$30.00\",\"No\",\"No\"\r\n"
     "\"Event Records\"\r\n"
     "\"Vehicle\",\"Date\",\"Odometer Reading\",\"Distance Unit\",\"Type\",\"Sub Types\","
     "\"Total Cost\",\"Notes\"\r\n"
     "\"Civic\",\"1/10/2024\",\"1,050\",\"mi\",\"Service\",\"Oil Change\",\"$45.00\","
     "\"synthetic\"\r\n",
     1, "10.0", "20.00"},
    {"fuelio", "fuelio.csv",
     "\"## Vehicle\"\n\"Name\",\"DistUnit\",\"FuelUnit\"\n\"Octavia\",\"0\",\"0\"\n"
     "\"## Log\"\n"
     "\"Data\",\"Odo (km)\",\"Fuel (litres)\",\"Full\",\"Price (optional)\",\"Missed\"\n"
     "\"2024-01-05 08:00\",\"1000\",\"40\",\"1\",\"60.00\",\"0\"\n"
     "\"2024-01-20 08:00\",\"1150\",\"20\",\"0\",\"30.00\",\"0\"\n"
     "\"2024-02-03 08:00\",\"1300\",\"40\",\"1\",\"60.00\",\"0\"\n"
     "\"## Costs\"\n"
     "\"CostTitle\",\"Date\",\"Odo\",\"CostTypeID\",\"Notes\",\"Cost\",\"isIncome\"\n"
     "\"Oil\",\"2024-01-10\",\"1050\",\"1\",\"\",\"89.90\",\"0\"\n",
     1, "10.567", "11.76"},
    {"lubelogger", "gas.csv",
     "Date,Odometer,FuelConsumed,Cost,FuelEconomy,IsFillToFull,MissedFuelUp,Notes,Tags\n"
     "1/5/2024,1000,10,$30.00,,True,False,,\n"
     "1/20/2024,1150,5,$15.00,,False,False,,\n"
     "2/3/2024,1300,10,$30.00,,True,False,,\n",
     0, "10.0", "20.00"},
    {"spritmonitor", "sprit.csv",
     "Date;Odometer;Trip;Quantity;Total price;Currency;Type;Tires;Roads;Driving style;Fuel;"
     "Note;Consumption\n"
     "05.01.2024;1000;;40,00;60,00;EUR;1;;;;;;\n"
     "20.01.2024;1150;150;20,00;30,00;EUR;2;;;;;;\n"
     "03.02.2024;1300;150;40,00;60,00;EUR;1;;;;;;\n",
     0, "10.567", "11.76"},
    {"drivvo", "drivvo.csv",
     "##Refuelling\n"
     "Odometer,Date,Fuel,Price,Total,Volume,Full,a,b,c,d,e,f,g,h,i,j,Station,k,Notes\n"
     "1000,2024-01-05 08:00:00,Gasoline,1.5,60,40,Yes,,,,,,,,,,,Shell,,\n"
     "1150,2024-01-20 08:00:00,Gasoline,1.5,30,20,No,,,,,,,,,,,Shell,,\n"
     "1300,2024-02-03 08:00:00,Gasoline,1.5,60,40,Yes,,,,,,,,,,,Shell,,\n"
     "##Service\nOdometer,Date,Cost,Title,Location,Notes\n"
     "1050,2024-01-10 09:00:00,89.9,Oil change,Garage,s\n",
     1, "10.567", "11.76"},
    {"generic", "log.csv",
     "date,odometer,gallons,total cost,partial_fuelup\n"
     "2024-01-05,1000,10,30,0\n2024-01-20,1150,5,15,1\n2024-02-03,1300,10,30,0\n",
     0, "10.0", "20.00"},
};

class EveryFormatCliTest : public ::testing::TestWithParam<FormatFile> {};

TEST_P(EveryFormatCliTest, ImportsItsRowsAndTheHistoryAddsUp) {
    const FormatFile& format = GetParam();
    QTemporaryDir dir;
    const QString db = dir.filePath(QStringLiteral("cars.mdb"));
    const QString source = dir.filePath(QLatin1String(format.name));
    {
        QFile out(source);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(format.text);
    }
    const auto cli = [](const QStringList& arguments, QString* errors = nullptr) {
        QProcess process;
        process.start(QStringLiteral(DRIVOLEX_CLI), arguments);
        EXPECT_TRUE(process.waitForFinished(60000));
        if (errors)
            *errors = QString::fromLocal8Bit(process.readAllStandardError());
        return process.exitCode();
    };
    ASSERT_EQ(cli({QStringLiteral("new"), db}), 0);
    QString errors;
    // Found from the content, then named: the same rows either way.
    ASSERT_EQ(cli({QStringLiteral("import"), source, QStringLiteral("--into"), db,
                   QStringLiteral("--vehicle"), QStringLiteral("Car"), QStringLiteral("--dry-run")},
                  &errors),
              0)
        << errors.toStdString();
    ASSERT_EQ(cli({QStringLiteral("import"), source, QStringLiteral("--into"), db,
                   QStringLiteral("--format"), QLatin1String(format.format),
                   QStringLiteral("--vehicle"), QStringLiteral("Car")},
                  &errors),
              0)
        << errors.toStdString();

    using testing_support::sqlScalar;
    EXPECT_EQ(sqlScalar(db, QStringLiteral("SELECT count(*) FROM Fuel")), QStringLiteral("3"));
    EXPECT_EQ(sqlScalar(db, QStringLiteral("SELECT count(*) FROM WorkOrder")),
              QString::number(format.workOrders));
    EXPECT_EQ(sqlScalar(db, QStringLiteral("SELECT group_concat(FuelFull) FROM (SELECT FuelFull "
                                           "FROM Fuel ORDER BY FuelDate)")),
              QStringLiteral("-1,0,-1"))
        << "the partial fill is not full";
    EXPECT_EQ(sqlScalar(db, QStringLiteral("SELECT round(FuelGals, 3) FROM Fuel ORDER BY "
                                           "FuelDate LIMIT 1")),
              QLatin1String(format.gallons));

    store::ConnectionHandle connection = store::openReadOnlyConnection(db);
    const history::HistoryReader reader(connection.get());
    ASSERT_EQ(reader.vehicles().size(), 1u);
    const qint64 vehicle = reader.vehicles().front().vehicleId;
    const history::Statistics figures =
        history::statisticsOf(reader.fuelFills(vehicle), reader.workOrders(vehicle), {});
    EXPECT_EQ(history::mpgText(figures.averageMpg), QLatin1String(format.mpg));
    EXPECT_EQ(figures.fillUps, 3);
    EXPECT_EQ(figures.workOrders, format.workOrders);
}

INSTANTIATE_TEST_SUITE_P(Formats, EveryFormatCliTest, ::testing::ValuesIn(kFiles),
                         [](const ::testing::TestParamInfo<FormatFile>& info) {
                             return std::string(info.param.format);
                         });

} // namespace cli_test
