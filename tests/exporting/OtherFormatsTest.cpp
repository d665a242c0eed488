// LubeLogger's and Fuelly's files written from a small hand-made file: their exact
// text, the economy of the tank a full fill closes, what is kept aside, and the files
// beside a LubeLogger export.
#include "ExportFiles.h"
#include "platform/AppError.h"

using namespace export_test;

namespace {

class OtherFormatsTest : public ExportFile {};

TEST_F(OtherFormatsTest, LubeLoggerWritesGasServiceAndSuppliesBesideIt) {
    makeSmallFile();
    const QString out = outPath(QStringLiteral("van.csv"));
    const exporting::ExportResult result = exportTo(QStringLiteral("lubelogger"), out, 5);
    EXPECT_EQ(result.files, (QStringList{out, outPath(QStringLiteral("van.service.csv")),
                                         outPath(QStringLiteral("van.supplies.csv"))}));
    EXPECT_EQ(result.fuelRows, 3);
    EXPECT_EQ(result.workOrders, 2);
    EXPECT_EQ(
        textOf(out).toStdString(),
        crlf({"Date,Odometer,FuelConsumed,Cost,FuelEconomy,IsFillToFull,MissedFuelUp,Notes,"
              "Tags",
              "3/15/2024,45210,12.3,43.1,,True,False,\"Line one\nLine \"\"two\"\"\","
              "\"trip,work\"",
              "3/29/2024,45501,0.1,,,False,False,,", "4/10/2024,45800,10,40,58.42,True,False,,"})
            .toStdString());
    EXPECT_EQ(textOf(outPath(QStringLiteral("van.service.csv"))).toStdString(),
              crlf({"Date,Description,Cost,Notes,Odometer,Tags",
                    "2/1/2024,Rotate Tires; Oil Change,24.69,\"Noise at front\r\nPads worn\","
                    "45000,oil",
                    "4/1/2024,\"Brakes, front\",0,,,"})
                  .toStdString());
    EXPECT_EQ(textOf(outPath(QStringLiteral("van.supplies.csv"))).toStdString(),
              crlf({"Date,PartNumber,PartSupplier,PartQuantity,Description,Notes,Cost,Tags",
                    "2/1/2024,F-1,,2,Oil Filter,,24.69,oil", "2/1/2024,P-9,,,,,0.005,oil"})
                  .toStdString());

    // A vehicle without parts has no supplies file; its gas file holds the missed mark.
    const QString other = outPath(QStringLiteral("mazda.csv"));
    EXPECT_EQ(exportTo(QStringLiteral("lubelogger"), other, 12).files.size(), 2);
    EXPECT_EQ(textOf(other).section(QStringLiteral("\r\n"), 1, 1),
              QStringLiteral(",100000000,,5,,False,True,,"));
    EXPECT_EQ(textOf(outPath(QStringLiteral("mazda.service.csv"))),
              QStringLiteral("Date,Description,Cost,Notes,Odometer,Tags\r\n"));
}

TEST_F(OtherFormatsTest, LubeLoggerRefusesSeveralVehiclesInOneFile) {
    makeSmallFile();
    const QString out = outPath(QStringLiteral("all.csv"));
    try {
        exportTo(QStringLiteral("lubelogger"), out);
        FAIL() << "no error";
    } catch (const platform::AppError& error) {
        EXPECT_TRUE(error.text().contains(out)) << error.what();
        EXPECT_TRUE(error.text().contains(QStringLiteral("choose the vehicle"))) << error.what();
    }
    EXPECT_EQ(outFiles(), QStringList());
}

TEST_F(OtherFormatsTest, FuellyNamesEachVehicleAndGivesTheTanksEconomy) {
    makeSmallFile();
    const QString out = outPath(QStringLiteral("fuelly.csv"));
    const exporting::ExportResult result = exportTo(QStringLiteral("fuelly"), out);
    EXPECT_EQ(result.fuelRows, 4);
    EXPECT_EQ(
        textOf(out).toStdString(),
        crlf({"car_name,model,mpg,odometer,miles,gallons,price,city_percentage,fuelup_date,"
              "date_added,tags,notes,missed_fuelup,partial_fuelup,latitude,longitude,brand",
              "Van,\"Transit, LWB\",,45210,,12.3,3.504,,03/15/2024 0:00,,\"trip,work\","
              "\"Line one\nLine \"\"two\"\"\",0,0,,,",
              // the partial fill between the full tanks counts toward the next one
              "Van,\"Transit, LWB\",,45500.5,290.5,0.1,,,03/29/2024 8:30,,,,0,1,,,\" Shell \"",
              "Van,\"Transit, LWB\",58.42,45800,299.5,10,4.000,,04/10/2024 0:00,,,,0,0,,,",
              "\"#2\",,,100000000,,,,,,,,,1,1,,,"})
            .toStdString());
}

} // namespace
