// Our own export format read into the import's model from files written here: every
// kind of row with what is kept aside, the rows refused with their line and why (and
// the rows they belong to with them), and the files that are not of the format.
#include "exchange/OwnFormatReader.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <map>

using namespace exchange;

namespace {

// The six sections every file has: table and header.
const std::pair<const char*, const char*> kSections[] = {
    {"VehicleInfo",
     "VehicleID,VehicleLookup,VehicleMake,VehicleModel,VehicleYear,VehicleSerialNum"},
    {"Fuel", "FuelId,VehicleID,FuelDate,FuelGals,FuelMiles,FuelFull,FuelCost,FuelCity,FuelState"},
    {"WorkOrder", "WorkOrderID,VehicleID,Mileage,Date"},
    {"WorkDone", "WorkDoneID,WorkOrderID,WorkDescription"},
    {"PartsUsed", "PartID,WorkOrderId,PartNum,PartDescription,PartCost,PartQty"},
    {"WorkOrderMemo", "WorkOrderID,WorkOrderMemo"},
};

class OwnFormatTest : public ::testing::Test {
protected:
    ImportedFile read(const QByteArray& text) {
        const QString path = dir.filePath(QStringLiteral("export.csv"));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
        file.close();
        return readOwnFormat(path);
    }
    // The version line and the six sections with the rows given for them, then `extra`.
    static QByteArray withRows(const std::map<QByteArray, QByteArray>& rows,
                               const char* extra = "") {
        QByteArray text = "Drivolex export,1\r\n";
        for (const auto& [table, header] : kSections) {
            text += QByteArray("## ") + table + "\r\n" + header + "\r\n";
            const auto found = rows.find(table);
            if (found != rows.end())
                text += found->second;
        }
        return text + extra;
    }
    QTemporaryDir dir;
};

TEST_F(OwnFormatTest, ReadsEveryRowWithWhatIsKeptAside) {
    const ImportedFile file = read(
        withRows({{"VehicleInfo", "1,Van,Ford,\"Transit, LWB\",2019,\"\"\r\n2,Empty,,,,\r\n"},
                  {"Fuel", "1,1,2024-03-15 00:00:00,12.3,45210,-1,43.1,Springfield Towns,IL\r\n"
                           "2,1,3/29/2024 8:30 AM,0.1,45500.5,0,,\"\",\r\n"},
                  {"WorkOrder", "1,1,45000,2024-02-01 00:00:00\r\n2,1,,\r\n"},
                  {"WorkDone", "1,1,Rotate Tires\r\n2,2,Brakes\r\n3,1,Oil Change\r\n"},
                  {"PartsUsed", "1,1,F-1,Oil Filter,12.345,2\r\n2,1,P-9,,0.005,\r\n"},
                  {"WorkOrderMemo", "1,\"Noise\r\nPads worn\"\r\n"}},
                 "## drivolex_fuel_missed\r\nFuelId\r\n2\r\n"
                 "## drivolex_fuel_extra\r\nFuelId,Note,Tags,Station,City,State\r\n"
                 "1,\"Line one\nLine two\",\"trip,work\",,Springfield Township Long Name,\r\n"
                 "2,\"\",,\" Shell \",,\r\n"
                 "## drivolex_workorder_extra\r\nWorkOrderID,Tags\r\n2,brakes\r\n"
                 "## drivolex_vehicle_extra\r\nVehicleID,Make,Model,SerialNum\r\n"
                 "2,Mercedes-Benz Vans,,\r\n"));
    ASSERT_TRUE(file.ok()) << file.error.toStdString();
    EXPECT_EQ(file.formatId, "drivolex");
    EXPECT_TRUE(file.refusals.empty());
    ASSERT_EQ(file.vehicles.size(), 2u); // the one without rows too
    EXPECT_EQ(file.vehicles[0].line, 4);
    EXPECT_EQ(file.vehicles[0].model, "Transit, LWB");
    EXPECT_EQ(file.vehicles[0].year, 2019);
    EXPECT_FALSE(file.vehicles[0].serialNum.isNull());
    EXPECT_TRUE(file.vehicles[0].serialNum.isEmpty());
    EXPECT_EQ(file.vehicles[1].make, "Mercedes-Benz Vans"); // the whole text kept aside
    EXPECT_TRUE(file.vehicles[1].model.isNull());
    EXPECT_EQ(file.vehicles[1].year, std::nullopt);

    ASSERT_EQ(file.fuel.size(), 2u);
    const ImportedFuel& first = file.fuel[0];
    EXPECT_EQ(first.line, 8);
    EXPECT_EQ(first.vehicle, "Van");
    EXPECT_EQ(first.date, QDateTime(QDate(2024, 3, 15), QTime(0, 0), Qt::UTC));
    EXPECT_EQ(first.gallons, double(12.3f)); // single precision, as the store keeps it
    EXPECT_TRUE(first.full);
    EXPECT_EQ(first.cost->scaled, 431000);
    EXPECT_EQ(first.city, "Springfield Township Long Name"); // the whole value wins
    EXPECT_EQ(first.state, "IL");                            // none kept aside: the table's
    EXPECT_EQ(first.note, "Line one\nLine two");
    EXPECT_EQ(first.tags, "trip,work");
    EXPECT_TRUE(first.station.isNull());
    EXPECT_FALSE(first.missed);
    const ImportedFuel& second = file.fuel[1];
    EXPECT_EQ(second.line, 9);
    EXPECT_EQ(second.date, QDateTime(QDate(2024, 3, 29), QTime(8, 30), Qt::UTC));
    EXPECT_FALSE(second.full);
    EXPECT_TRUE(second.missed);
    EXPECT_EQ(second.cost, std::nullopt);
    EXPECT_FALSE(second.city.isNull());
    EXPECT_TRUE(second.city.isEmpty());
    EXPECT_TRUE(second.state.isNull());
    EXPECT_FALSE(second.note.isNull());
    EXPECT_EQ(second.station, " Shell ");

    ASSERT_EQ(file.workOrders.size(), 2u);
    const ImportedWorkOrder& order = file.workOrders[0];
    EXPECT_EQ(order.mileage, 45000);
    EXPECT_EQ(order.services, (QStringList{"Rotate Tires", "Oil Change"}));
    ASSERT_EQ(order.parts.size(), 2u);
    EXPECT_EQ(order.parts[0].cost->scaled, 123450);
    EXPECT_EQ(order.parts[0].qty, 2);
    EXPECT_TRUE(order.parts[1].description.isNull());
    EXPECT_EQ(order.parts[1].qty, std::nullopt);
    EXPECT_EQ(order.note, QStringLiteral("Noise\r\nPads worn"));
    EXPECT_TRUE(order.tags.isNull());
    EXPECT_EQ(file.workOrders[1].note, std::nullopt);
    EXPECT_EQ(file.workOrders[1].date, std::nullopt);
    EXPECT_EQ(file.workOrders[1].tags, "brakes");
}

TEST_F(OwnFormatTest, RefusesBadRowsWithTheirLineAndTheRowsTheyBelongTo) {
    const ImportedFile file =
        read(withRows({{"VehicleInfo", "1,Van,,,1e3,\r\n2,Car,,,,\r\n"},
                       {"Fuel", "1,2,2024-02-30 00:00:00,1,1,0,,,\r\n" // line 8: no such day
                                "2,7,,1,1,0,,,\r\n"                    // line 9: no vehicle 7
                                "3,2,,1,1,0,1.23456,,\r\n"             // line 10: five decimals
                                "4,2,,1,1\r\n"                         // line 11: too few fields
                                "5,1,,1,1,0,,,\r\n"   // line 12: its vehicle refused
                                "6,2,,x,1,0,,,\r\n"   // line 13: not a number
                                "7,2,,2,2,0,,,\r\n"}, // line 14: read
                       {"WorkOrder", "1,2,,\r\n2,2,99999999999,\r\n"},
                       {"PartsUsed", "1,1,F-1,,5,70000\r\n"}},
                      "## drivolex_fuel_missed\r\nFuelId\r\n1\r\n7\r\n9\r\n"));
    ASSERT_TRUE(file.ok()) << file.error.toStdString();
    std::vector<std::pair<int, QString>> refused;
    for (const RowProblem& problem : file.refusals)
        refused.emplace_back(problem.line, problem.message);
    const std::vector<std::pair<int, QString>> expected{
        {4, "VehicleInfo: VehicleYear '1e3' is not a whole number"},
        {8, "Fuel: FuelDate '2024-02-30 00:00:00' is not a date"},
        {9, "Fuel: VehicleID 7 names no vehicle of the file"},
        {10, "Fuel: FuelCost '1.23456' is not an amount of money with at most four decimals"},
        {11, "Fuel: the row has 5 fields where its header has 9"},
        {12, "Fuel: VehicleID 1 names no vehicle of the file"},
        {13, "Fuel: FuelGals 'x' is not a number"},
        {17, "the work order is left out: its row on line 23 cannot be read"},
        {18, "WorkOrder: Mileage 99999999999 is out of range (-2147483648 to 2147483647)"},
        {23, "PartsUsed: PartQty 70000 is out of range (-32768 to 32767)"},
        {30, "drivolex_fuel_missed: FuelId 9 names no fuel row of the file"},
    };
    EXPECT_EQ(refused, expected);
    ASSERT_EQ(file.fuel.size(), 1u);
    EXPECT_EQ(file.fuel[0].line, 14);
    EXPECT_TRUE(file.fuel[0].missed);
    EXPECT_TRUE(file.workOrders.empty());
    ASSERT_EQ(file.vehicles.size(), 1u);
    EXPECT_EQ(file.vehicles[0].name, "Car");
}

struct BadFile {
    const char* name;
    QByteArray text;
    const char* error;
};

class OwnFormatErrorTest : public OwnFormatTest, public ::testing::WithParamInterface<BadFile> {};

TEST_P(OwnFormatErrorTest, NamesTheFileAndWhy) {
    const ImportedFile file = read(GetParam().text);
    EXPECT_EQ(file.error.toStdString(), GetParam().error);
    EXPECT_TRUE(file.fuel.empty());
    EXPECT_TRUE(file.vehicles.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Files, OwnFormatErrorTest,
    ::testing::Values(
        BadFile{"UnknownVersion", "Drivolex export,2\r\n## VehicleInfo\r\n",
                "export.csv: line 1: version '2' of the Drivolex export is not known (this "
                "program reads version 1)"},
        BadFile{"NotOurs", "Date,Odometer\r\n1/2/2024,5\r\n",
                "export.csv: line 1: it is no Drivolex export (the first line is not 'Drivolex "
                "export,1')"},
        BadFile{"Empty", "", "export.csv: is empty: it is no Drivolex export"},
        BadFile{"RowsBeforeAnySection", "Drivolex export,1\r\n1,Van,,,,\r\n",
                "export.csv: line 2: a section marker ('## VehicleInfo') is expected"},
        BadFile{"MissingSection",
                "Drivolex export,1\r\n## VehicleInfo\r\nVehicleID,VehicleLookup,VehicleMake,"
                "VehicleModel,VehicleYear,VehicleSerialNum\r\n1,Van,,,,\r\n",
                "export.csv: the section '## Fuel' is missing"},
        BadFile{"MissingColumn",
                "Drivolex export,1\r\n## WorkOrder\r\nWorkOrderID,VehicleID,Date\r\n",
                "export.csv: line 3: the section '## WorkOrder' has no column 'Mileage'"},
        BadFile{"UnclosedQuote", "Drivolex export,1\r\n## Fuel\r\n\"FuelId\r\n",
                "export.csv: line 3: a quoted field is not closed"}),
    [](const ::testing::TestParamInfo<BadFile>& info) { return info.param.name; });

} // namespace
