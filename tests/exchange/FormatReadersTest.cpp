// Each format's reader on a real file written from that program's own headers, with
// the awkward cases its users' files hold; and the detection of each format.
#include "exchange/ImportFormats.h"

#include <QFile>
#include <QMap>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace exchange;

namespace {

const char* kACarFillUps =
    R"h("Vehicle","Date","Time","Odometer Reading","Distance Unit","Volume","Volume Unit","Price per Unit","Total Cost","Payment","Partial Fill-Up?","Previously Missed Fill-Ups?","Fuel Efficiency","Fuel Efficiency Unit","Fuel Category","Fuel Type","Has Fuel Additive?","Fuel Additive Name","Fuel Brand","Fueling Station Address","Place Street","Place City","Place State","Place Country","Place Postal Code","Place Latitude","Place Longitude","Device Latitude","Device Longitude","Driving Mode","City Driving Percentage","Highway Driving Percentage","Average Speed","Tags","Notes")h";
const char* kACarEvents =
    R"h("Vehicle","Date","Time","Odometer Reading","Distance Unit","Type","Sub Types","Total Cost","Payment","Place Name","Place Address","Place Street","Place City","Place State","Place City","Place Country","Place Postal Code","Place Latitude","Place Longitude","Device Latitude","Device Longitude","Tags","Notes")h";
const char* kFuelioLog =
    R"h("Data","Odo (km)","Fuel (litres)","Full","Price (optional)","mpg (optional)","latitude (optional)","longitude (optional)","City (optional)","Notes (optional)","Missed","TankNumber","FuelType","VolumePrice","StationID (optional)","ExcludeDistance","UniqueId","TankCalc")h";
const char* kSpritmonitor =
    "Date;Odometer;Trip;Quantity;Total price;Currency;Type;Tires;Roads;Driving style;Fuel;Note;"
    "Consumption;BC-Consumption;BC-Quantity;BC-Speed;Company;Country;Area;Location";

// A row of a header's columns, quoted, with the named values in their (first) columns.
QByteArray rowOf(const char* header, const QMap<QString, QString>& values) {
    QStringList fields;
    QStringList used;
    for (const QString& quoted : QString::fromUtf8(header).split(u',')) {
        const QString name = quoted.mid(1, quoted.size() - 2);
        fields.append('"' + (used.contains(name) ? QString() : values.value(name)) + '"');
        used.append(name);
    }
    return fields.join(u',').toUtf8();
}

QDateTime day(int y, int m, int d, int h = 0, int min = 0) {
    return QDateTime(QDate(y, m, d), QTime(h, min), Qt::UTC);
}

class FormatReadersTest : public ::testing::Test {
protected:
    QString write(const QString& name, const QByteArray& bytes) {
        const QString path = dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }
    // Reads the file as its detected format, checking that detection found `format`.
    ImportedFile read(const QString& path, const char* format) {
        const Detection detection = detectFormat(path);
        EXPECT_EQ(detection.formatId.value_or("none"), format);
        ImportedFile file = readImportFile(path, format);
        EXPECT_TRUE(file.ok()) << file.error.toStdString();
        return file;
    }
    static QString refusal(const ImportedFile& file, int line) {
        for (const RowProblem& problem : file.refusals) {
            if (problem.line == line)
                return problem.message;
        }
        return QStringLiteral("(not refused)");
    }
    static bool warned(const ImportedFile& file, const char* part) {
        for (const RowProblem& problem : file.warnings) {
            if (problem.message.contains(QLatin1String(part)))
                return true;
        }
        return false;
    }
    QTemporaryDir dir;
};

TEST_F(FormatReadersTest, FuellyWithBomCrlfFormattedNumbersFlagsAndRefusals) {
    const QString longNote(300, u'n');
    const QString path = write(
        "fuelups.csv",
        "\xEF\xBB\xBF"
        "car_name,model,mpg,odometer,miles,gallons,price,city_percentage,fuelup_date,date_added,"
        "tags,notes,missed_fuelup,partial_fuelup,latitude,longitude,brand\r\n"
        "Civic,Honda,31.2,\"106,421\",312.4,10.012,3.459,40,06/12/2021 0:00,06/12/2021 9:14,"
        "work,,0,0,,,Shell\r\n"
        "Civic,Honda,,\"106,700\",,8.5,\"$3.519\",40,06/20/2021 7:45,,road trip," +
            longNote.toUtf8() +
            ",1,1,,,\r\n"
            "Civic,Honda,,106900,,9,3.5,40,31/02/2021 0:00,,,,0,0,,,\r\n"
            "Civic,Honda,,107000,,,3.5,40,07/01/2021 0:00,,,,0,0,,,\r\n"
            "Civic,Honda,,abc,,9,3.5,40,07/02/2021 0:00,,,,0,0,,,\r\n"
            "Civic,Honda,,107300,,9,3.5,40,07/03/2021 0:00,,,,0,2,,,\r\n");
    const ImportedFile file = read(path, "fuelly");
    ASSERT_EQ(file.vehicles.size(), 1u);
    EXPECT_EQ(file.vehicles[0].name, "Civic");
    EXPECT_EQ(file.vehicles[0].model, "Honda");
    ASSERT_EQ(file.fuel.size(), 2u);
    const ImportedFuel& first = file.fuel[0];
    EXPECT_EQ(first.line, 2);
    EXPECT_EQ(first.vehicle, "Civic");
    EXPECT_EQ(first.date, day(2021, 6, 12));
    EXPECT_EQ(first.odometer, 106421.0);
    EXPECT_EQ(first.gallons, 10.012);
    EXPECT_EQ(first.cost->scaled, 346300); // 3.459 x 10.012 = 34.631508, to the cent
    EXPECT_TRUE(first.full);
    EXPECT_FALSE(first.missed);
    EXPECT_EQ(first.tags, "work");
    EXPECT_TRUE(first.note.isNull());
    EXPECT_EQ(first.station, "Shell");
    const ImportedFuel& second = file.fuel[1];
    EXPECT_EQ(second.date, day(2021, 6, 20, 7, 45));
    EXPECT_FALSE(second.full);
    EXPECT_TRUE(second.missed);
    EXPECT_EQ(second.cost->scaled, 299100); // 3.519 x 8.5 = 29.9115, to the cent
    EXPECT_EQ(second.note, longNote);       // kept whole: the plan says what does not fit
    EXPECT_EQ(refusal(file, 4), "date '31/02/2021 0:00' is not a day");
    EXPECT_EQ(refusal(file, 5), "no volume");
    EXPECT_EQ(refusal(file, 6), "odometer 'abc' is not a number");
    EXPECT_EQ(refusal(file, 7), "partial_fuelup '2' is not a yes or no");
    EXPECT_EQ(file.refusals.size(), 4u);
}

TEST_F(FormatReadersTest, MetricFuellyWithTripsOnlyMakesOdometersInDateOrder) {
    const ImportedFile file =
        read(write("golf.csv", "car_name,model,l/100km,odometer,km,litres,price,fuelup_date,"
                               "missed_fuelup,partial_fuelup\n"
                               "Golf,VW,6.5,,500,40,\"1,50\",06/15/2021 0:00,0,0\n"
                               "Golf,VW,6.5,,400,30,1.45,06/01/2021 0:00,0,0\n"
                               "Golf,VW,6.5,,100,x,1.45,06/20/2021 0:00,0,0\n"
                               "Golf,VW,6.5,,200,20,1.45,06/25/2021 0:00,0,0\n"),
             "fuelly");
    ASSERT_EQ(file.fuel.size(), 3u);
    EXPECT_NEAR(*file.fuel[1].odometer, 400 / 1.609344, 1e-9);
    EXPECT_NEAR(*file.fuel[0].odometer, 900 / 1.609344, 1e-9);
    // The refused row's trip still counts: the next odometer is not shifted.
    EXPECT_NEAR(*file.fuel[2].odometer, 1200 / 1.609344, 1e-9);
    EXPECT_NEAR(*file.fuel[0].gallons, 10.566882, 5e-7);
    EXPECT_EQ(file.fuel[0].cost->scaled, 600000); // "1,50" is a decimal comma: 1.50 x 40
    EXPECT_EQ(refusal(file, 4), "volume 'x' is not a number");
    EXPECT_TRUE(warned(file, "odometers were made from trip distances"));
}

TEST_F(FormatReadersTest, ACarBlocksWithUnitsOnEachRowAndEvents) {
    const QByteArray text =
        QByteArray("\"Metadata\"\n\"Export Version\",\"11\"\n"
                   "\"Vehicles\"\n\"Name\",\"Make\",\"Model\",\"Year\",\"VIN\"\n"
                   "\"My Car\",\"Honda\",\"Civic\",\"2012\",\"1HGCM82633A004352\"\n"
                   "\"Fill-Up Records\"\n") +
        kACarFillUps + "\n" +
        rowOf(kACarFillUps, {{"Vehicle", "My Car"},
                             {"Date", "6/12/2021"},
                             {"Time", "8:30 PM"},
                             {"Odometer Reading", "106,421"},
                             {"Distance Unit", "mi"},
                             {"Volume", "10.5"},
                             {"Volume Unit", "gal (US)"},
                             {"Total Cost", "$79.78"},
                             {"Partial Fill-Up?", "No"},
                             {"Previously Missed Fill-Ups?", "No"},
                             {"Fuel Brand", "Shell"},
                             {"Place City", "Springfield"},
                             {"Place State", "IL"}}) +
        "\n" +
        rowOf(kACarFillUps, {{"Vehicle", "My Car"},
                             {"Date", "6/20/2021"},
                             {"Odometer Reading", "171,500"},
                             {"Distance Unit", "km"},
                             {"Volume", "40"},
                             {"Volume Unit", "L"},
                             {"Price per Unit", "$1.50"},
                             {"Partial Fill-Up?", "Yes"},
                             {"Previously Missed Fill-Ups?", "Yes"}}) +
        "\n" +
        rowOf(kACarFillUps, {{"Vehicle", "My Car"},
                             {"Date", "6/25/2021"},
                             {"Odometer Reading", "107,000"},
                             {"Distance Unit", "mi"},
                             {"Volume", "9"},
                             {"Volume Unit", "pints"}}) +
        "\n\"Event Records\"\n" + kACarEvents + "\n" +
        rowOf(kACarEvents, {{"Vehicle", "My Car"},
                            {"Date", "7/1/2021"},
                            {"Odometer Reading", "106,900"},
                            {"Distance Unit", "mi"},
                            {"Type", "Service"},
                            {"Sub Types", "Oil Change, Tire Rotation"},
                            {"Total Cost", "$89.95"},
                            {"Place City", "Springfield"},
                            {"Notes", "synthetic"}}) +
        "\n\"Trip Records\"\n\"Vehicle\",\"Start\"\n\"My Car\",\"x\"\n";
    const ImportedFile file = read(write("acar.csv", text), "acar");
    ASSERT_EQ(file.vehicles.size(), 1u);
    EXPECT_EQ(file.vehicles[0].line, 5);
    EXPECT_EQ(file.vehicles[0].make, "Honda");
    EXPECT_EQ(file.vehicles[0].year, 2012);
    EXPECT_EQ(file.vehicles[0].serialNum, "1HGCM82633A004352");
    ASSERT_EQ(file.fuel.size(), 2u);
    EXPECT_EQ(file.fuel[0].date, day(2021, 6, 12, 20, 30));
    EXPECT_EQ(file.fuel[0].odometer, 106421.0);
    EXPECT_EQ(file.fuel[0].cost->scaled, 797800);
    EXPECT_EQ(file.fuel[0].city, "Springfield");
    EXPECT_EQ(file.fuel[0].state, "IL");
    EXPECT_NEAR(*file.fuel[1].odometer, 171500 / 1.609344, 1e-9);
    EXPECT_NEAR(*file.fuel[1].gallons, 10.566882, 5e-7);
    EXPECT_EQ(file.fuel[1].cost->scaled, 600000);
    EXPECT_FALSE(file.fuel[1].full);
    EXPECT_TRUE(file.fuel[1].missed);
    EXPECT_EQ(refusal(file, 10), "volume unit 'pints' is not known");
    ASSERT_EQ(file.workOrders.size(), 1u);
    const ImportedWorkOrder& order = file.workOrders[0];
    EXPECT_EQ(order.line, 13);
    EXPECT_EQ(order.mileage, 106900);
    EXPECT_EQ(order.services, QStringList({"Oil Change", "Tire Rotation"}));
    ASSERT_EQ(order.parts.size(), 1u);
    EXPECT_EQ(order.parts[0].cost->scaled, 899500);
    EXPECT_EQ(order.parts[0].qty, 1);
    EXPECT_EQ(order.note, "synthetic");
    EXPECT_TRUE(warned(file, "trip records are not imported"));
}

TEST_F(FormatReadersTest, FuelioSectionsUnitsInHeadersStationsAndReminders) {
    const QByteArray head =
        "\"## Vehicle\"\n"
        "\"Name\",\"Description\",\"DistUnit\",\"FuelUnit\",\"VIN\",\"Make\",\"Model\",\"Year\"\n"
        "\"Octavia\",\"\",\"0\",\"0\",\"TMB123\",\"Skoda\",\"Octavia\",\"2015\"\n"
        "\"## Log\"\n";
    const QByteArray rest =
        "\"2021-06-12 08:30\",\"12000\",\"40\",\"1\",\"60.00\",\"\",\"\",\"\",\"Praha\",\"n1\","
        "\"0\",\"1\",\"100\",\"1.5\",\"7\",\"0\",\"1\",\"0\"\n"
        "\"2021-06-20 09:00\",\"12500\",\"20\",\"0\",\"0\",\"\",\"\",\"\",\"\",\"\",\"1\",\"1\","
        "\"100\",\"1.40\",\"0\",\"0\",\"2\",\"0\"\n"
        "\"## CostCategories\"\n\"CostTypeID\",\"Name\",\"priority\",\"color\"\n"
        "\"1\",\"Service\",\"0\",\"0\"\n"
        "\"## Costs\"\n"
        "\"CostTitle\",\"Date\",\"Odo\",\"CostTypeID\",\"Notes\",\"Cost\",\"flag\",\"idR\","
        "\"read\",\"RemindOdo\",\"RemindDate\",\"isTemplate\",\"RepeatOdo\",\"RepeatMonths\","
        "\"isIncome\",\"UniqueId\"\n"
        "\"Oil change\",\"2021-07-01\",\"13000\",\"1\",\"5W30\",\"89.90\",\"0\",\"0\",\"0\","
        "\"28000\",\"2022-07-01\",\"0\",\"15000\",\"12\",\"0\",\"5\"\n"
        "\"Refund\",\"2021-07-02\",\"13100\",\"1\",\"\",\"10\",\"0\",\"0\",\"0\",\"0\",\"\","
        "\"0\",\"0\",\"0\",\"1\",\"6\"\n"
        "\"## FavStations\"\n"
        "\"NameBrand\",\"Latitude\",\"Longitude\",\"StationID\",\"Description\",\"CountryCode\"\n"
        "\"Shell Praha\",\"0\",\"0\",\"7\",\"\",\"CZ\"\n";
    const ImportedFile file =
        read(write("octavia.csv", head + kFuelioLog + QByteArray("\n") + rest), "fuelio");
    ASSERT_EQ(file.vehicles.size(), 1u);
    EXPECT_EQ(file.vehicles[0].name, "Octavia");
    EXPECT_EQ(file.vehicles[0].make, "Skoda");
    ASSERT_EQ(file.fuel.size(), 2u);
    EXPECT_EQ(file.fuel[0].date, day(2021, 6, 12, 8, 30));
    EXPECT_NEAR(*file.fuel[0].odometer, 12000 / 1.609344, 1e-9);
    EXPECT_EQ(file.fuel[0].cost->scaled, 600000);
    EXPECT_EQ(file.fuel[0].station, "Shell Praha");
    EXPECT_EQ(file.fuel[0].city, "Praha");
    EXPECT_EQ(file.fuel[1].cost->scaled, 280000); // no total: VolumePrice 1.40 x 20
    EXPECT_FALSE(file.fuel[1].full);
    EXPECT_TRUE(file.fuel[1].missed);
    ASSERT_EQ(file.workOrders.size(), 1u);
    const ImportedWorkOrder& order = file.workOrders[0];
    EXPECT_EQ(order.services, QStringList({"Oil change"}));
    EXPECT_EQ(order.mileage, 8078); // 13000 km
    EXPECT_EQ(order.parts[0].cost->scaled, 899000);
    EXPECT_EQ(order.tags, "Service");
    ASSERT_TRUE(order.reminder);
    EXPECT_EQ(order.reminder->mileage, 17398);
    EXPECT_EQ(order.reminder->date, day(2022, 7, 1));
    EXPECT_EQ(order.reminder->repeatMiles, 9321);
    EXPECT_EQ(order.reminder->repeatMonths, 12);
    EXPECT_EQ(refusal(file, 14), "an income, not a cost");

    QByteArray furlongs = kFuelioLog;
    furlongs.replace("Odo (km)", "Odo (furlongs)");
    const ImportedFile unknown =
        readImportFile(write("bad.csv", head + furlongs + "\n" + rest), "fuelio");
    EXPECT_EQ(unknown.error, "bad.csv: line 5: unit 'furlongs' is not known");
}

TEST_F(FormatReadersTest, LubeLoggerGasServiceAndSuppliesFiles) {
    const ImportedFile gas = read(
        write("civic-gas.csv",
              "Date,Odometer,FuelConsumed,Cost,FuelEconomy,IsFillToFull,MissedFuelUp,Notes,Tags,"
              "extrafield_Station\n"
              "2021-06-12,\"106,421\",10.5,\"$1,234.56\",30,True,False,n,t,x\n"
              "6/20/2021,106700,8,$30.00,,False,True,,,\n"
              "06/25/2021,106900,8,$30.00,,Maybe,False,,,\n"),
        "lubelogger");
    ASSERT_EQ(gas.fuel.size(), 2u);
    EXPECT_EQ(gas.vehicles[0].name, "civic-gas");
    EXPECT_EQ(gas.fuel[0].date, day(2021, 6, 12));
    EXPECT_EQ(gas.fuel[0].cost->scaled, 12345600);
    EXPECT_EQ(gas.fuel[0].note, "n");
    EXPECT_EQ(gas.fuel[1].date, day(2021, 6, 20));
    EXPECT_FALSE(gas.fuel[1].full);
    EXPECT_TRUE(gas.fuel[1].missed);
    EXPECT_EQ(refusal(gas, 4), "IsFillToFull 'Maybe' is not a yes or no");
    EXPECT_TRUE(warned(gas, "read as miles and US gallons"));

    const ImportedFile service =
        read(write("service.csv", "Date,Description,Cost,Notes,Odometer,Tags\n"
                                  "7/1/2021,Brake pads,$120.00,front,107000,\n"),
             "lubelogger");
    ASSERT_EQ(service.workOrders.size(), 1u);
    EXPECT_EQ(service.workOrders[0].services, QStringList({"Brake pads"}));
    EXPECT_EQ(service.workOrders[0].mileage, 107000);
    EXPECT_EQ(service.workOrders[0].parts[0].cost->scaled, 1200000);

    const ImportedFile supplies = read(
        write("supplies.csv", "Date,PartNumber,PartSupplier,PartQuantity,Description,Notes,Cost,"
                              "Tags\n"
                              "2021-07-01,OF-123,AutoZone,4,Oil filter,,$40.00,\n"
                              "2021-07-02,OIL,,4.5,Oil,,$20.00,\n"),
        "lubelogger");
    ASSERT_EQ(supplies.workOrders.size(), 2u);
    const ImportedPart& filter = supplies.workOrders[0].parts.at(0);
    EXPECT_EQ(filter.number, "OF-123");
    EXPECT_EQ(filter.qty, 4);
    EXPECT_EQ(filter.cost->scaled, 100000); // the total over four pieces
    EXPECT_EQ(supplies.workOrders[0].note, "Supplier: AutoZone");
    const ImportedPart& oil = supplies.workOrders[1].parts.at(0);
    EXPECT_EQ(oil.qty, 1);
    EXPECT_EQ(oil.cost->scaled, 200000);
    EXPECT_EQ(oil.description, "4.5 x Oil");
}

TEST_F(FormatReadersTest, SpritmonitorDecimalCommasTypesAndTrips) {
    const ImportedFile file = read(
        write("sprit.csv", QByteArray(kSpritmonitor) +
                               "\n12.06.2021;;500;40,00;60,50;EUR;3;;;;;first;;;;;Aral;D;Bayern;"
                               "München\n"
                               "20.06.2021;;400;\"30,5\";45,20;EUR;2;;;;;;;;;;;;;\n"
                               "25.06.2021;;300;30;45;EUR;0;;;;;;;;;;;;;\n"
                               "01.07.2021;;350;35;1.050,00;EUR;1;;;;;;;;;;;;;\n"
                               "31.02.2021;;350;35;50;EUR;1;;;;;;;;;;;;;\n"),
        "spritmonitor");
    ASSERT_EQ(file.fuel.size(), 3u);
    EXPECT_TRUE(file.fuel[0].missed);
    EXPECT_TRUE(file.fuel[0].full);
    EXPECT_EQ(file.fuel[0].station, "Aral");
    EXPECT_EQ(file.fuel[0].city, "München");
    EXPECT_EQ(file.fuel[0].state, "Bayern");
    EXPECT_EQ(file.fuel[0].cost->scaled, 605000);
    EXPECT_NEAR(*file.fuel[1].gallons, 30.5 / 3.785411784, 1e-12);
    EXPECT_FALSE(file.fuel[1].full);
    EXPECT_EQ(file.fuel[2].cost->scaled, 10500000);
    EXPECT_NEAR(*file.fuel[2].odometer, 1550 / 1.609344, 1e-9);
    EXPECT_EQ(refusal(file, 4), "type 0: the fueling is marked invalid");
    EXPECT_EQ(refusal(file, 6), "date '31.02.2021' is not a day");
    EXPECT_TRUE(warned(file, "amounts are in EUR: taken as written"));
}

TEST_F(FormatReadersTest, DrivvoSectionsByPositionInTheUsersLanguage) {
    const QByteArray columns7to16 = ",,,,,,,,,,,";
    const ImportedFile file =
        read(write("drivvo.csv",
                   "##Vehicle\nName,Model\nFusca,VW\n"
                   "#Reabastecimiento\n"
                   "Odómetro,Fecha,Combustible,Precio,Total,Volumen,Lleno,a,b,c,d,e,f,g,h,i,j,"
                   "Estación,k,Notas\n"
                   "10000,2021-06-12 08:30:00,Gasolina,1.5,60,40,Si" +
                       columns7to16 + "Shell,,lleno\n" + "10400,12/6/2021,Gasolina,1.5,,20,No" +
                       columns7to16 + ",,\n" +
                       "##Service\nOdometer,Date,Cost,Title,Location,Notes\n"
                       "10500,2021-07-01 10:00:00,89.9,Oil change,Garage,synthetic\n"
                       "##Expense\nOdometer,Date\n1,2\n"),
             "drivvo");
    ASSERT_EQ(file.vehicles.size(), 1u);
    EXPECT_EQ(file.vehicles[0].name, "Fusca");
    ASSERT_EQ(file.fuel.size(), 2u);
    EXPECT_EQ(file.fuel[0].vehicle, "Fusca");
    EXPECT_EQ(file.fuel[0].date, day(2021, 6, 12, 8, 30));
    EXPECT_EQ(file.fuel[0].station, "Shell");
    EXPECT_EQ(file.fuel[0].note, "lleno");
    EXPECT_TRUE(file.fuel[0].full);
    EXPECT_EQ(file.fuel[1].date, day(2021, 6, 12)); // day first
    EXPECT_EQ(file.fuel[1].cost->scaled, 300000);
    EXPECT_FALSE(file.fuel[1].full);
    ASSERT_EQ(file.workOrders.size(), 1u);
    EXPECT_EQ(file.workOrders[0].services, QStringList({"Oil change"}));
    EXPECT_EQ(file.workOrders[0].note, "synthetic\nLocation: Garage");
    EXPECT_TRUE(warned(file, "section '##Expense' is not imported"));
}

TEST_F(FormatReadersTest, GenericHeadersByAliasUnitsFromNamesAndByHand) {
    const QString path = write(
        "log.csv", "Fuelup_Date;Odometer (km);Fuel (litres);Price;Notes;partial_fuelup;Brand\n"
                   "12.06.2021;12 000;40,0;60,00;n;0;Shell\n"
                   "6/20/2021;12400;20;30;;1;\n");
    const GenericHeader header = readGenericHeader(path);
    ASSERT_TRUE(header.error.isEmpty());
    EXPECT_EQ(
        header.columns.fields,
        std::vector<GenericField>({GenericField::Date, GenericField::Odometer, GenericField::Volume,
                                   GenericField::TotalCost, GenericField::Note,
                                   GenericField::Partial, GenericField::Station}));
    EXPECT_EQ(detectFormat(path).formatId, "generic");
    const ImportedFile file = readGenericFile(path, header.columns);
    ASSERT_TRUE(file.ok()) << file.error.toStdString();
    ASSERT_EQ(file.fuel.size(), 2u);
    EXPECT_EQ(file.vehicles[0].name, "log");
    EXPECT_EQ(file.fuel[0].date, day(2021, 6, 12));
    EXPECT_NEAR(*file.fuel[0].odometer, 12000 / 1.609344, 1e-9);
    EXPECT_NEAR(*file.fuel[0].gallons, 10.566882, 5e-7);
    EXPECT_EQ(file.fuel[0].cost->scaled, 600000);
    EXPECT_EQ(file.fuel[1].date, day(2021, 6, 20));
    EXPECT_FALSE(file.fuel[1].full);

    GenericColumns byHand = genericColumnsFor({"When", "Litres", "Reading"});
    EXPECT_EQ(byHand.missing(), QStringList({"Date", "Odometer or Trip Distance"}));
    byHand.fields[0] = GenericField::Date;
    byHand.fields[2] = GenericField::TripDistance;
    EXPECT_TRUE(byHand.missing().isEmpty());
    const ImportedFile trips = readGenericFile(
        write("trips.csv", "When,Litres,Reading\n2021-06-01,30,100\n2021-06-10,30,150\n"), byHand);
    ASSERT_EQ(trips.fuel.size(), 2u);
    EXPECT_EQ(trips.fuel[1].odometer, 250.0);
    EXPECT_TRUE(warned(trips, "'Reading' shows no unit: read as miles"));

    const ImportedFile pints = readImportFile(
        write("pints.csv", "date,odometer,fuel (pints)\n2021-06-01,100,3\n"), "generic");
    EXPECT_EQ(pints.error, "pints.csv: line 1: column 'fuel (pints)': unit 'pints' is not known");
}

TEST_F(FormatReadersTest, TheFormatsOtherFilesAndUnitsFromVehicleCodes) {
    const ImportedFile costs =
        read(write("costs.csv", "Date;Odometer;Cost type;Title;Costs;Currency;Note\n"
                                "01.07.2021;12.500;Service;Inspektion;1.234,50;EUR;TÜV\n"
                                "02.07.2021;12.600;;Wäsche;abc;EUR;\n"),
             "spritmonitor");
    ASSERT_EQ(costs.workOrders.size(), 1u);
    EXPECT_EQ(costs.workOrders[0].services, QStringList({"Inspektion"}));
    EXPECT_EQ(costs.workOrders[0].mileage, 7767); // 12,500 km
    EXPECT_EQ(costs.workOrders[0].parts[0].cost->scaled, 12345000);
    EXPECT_EQ(costs.workOrders[0].note, "TÜV");
    EXPECT_EQ(refusal(costs, 3), "costs 'abc' is not an amount");

    EXPECT_EQ(
        readImportFile(write("odo.csv", "Date,InitialOdometer,Odometer,Notes,Tags\n"), "lubelogger")
            .error,
        "odo.csv: line 1: odometer records hold no fuel or service to import");

    // A log header without units: the vehicle's codes give them (miles, UK gallons).
    const ImportedFile uk =
        read(write("mini.csv", "\"## Vehicle\"\n\"Name\",\"DistUnit\",\"FuelUnit\"\n"
                               "\"Mini\",\"1\",\"2\"\n\"## Log\"\n\"Data\",\"Odo\",\"Fuel\"\n"
                               "\"2021-06-12 08:30\",\"30000\",\"10\"\n"),
             "fuelio");
    ASSERT_EQ(uk.fuel.size(), 1u);
    EXPECT_EQ(uk.fuel[0].odometer, 30000.0);
    EXPECT_NEAR(*uk.fuel[0].gallons, 12.009499, 5e-7);

    const ImportedFile split =
        read(write("split.csv", "Year,Month,Day,Odo,Gallons,Total Cost\n2021,6,12,1000,10,$30\n"
                                "2021,2,30,1300,10,$30\n"),
             "generic");
    ASSERT_EQ(split.fuel.size(), 1u);
    EXPECT_EQ(split.fuel[0].date, day(2021, 6, 12));
    EXPECT_EQ(split.fuel[0].cost->scaled, 300000);
    EXPECT_EQ(refusal(split, 3), "date '2021-2-30' is not a day");
}

TEST_F(FormatReadersTest, DetectionOwnExportAndFilesOfNoFormat) {
    EXPECT_EQ(detectFormat(write("own.csv", "Drivolex export,1\n")).formatId, "drivolex");
    // Our own reader: a file of the first line alone lacks its tables.
    EXPECT_TRUE(readImportFile(write("own2.csv", "Drivolex export,1\n"), "drivolex")
                    .error.contains(QLatin1String("own2.csv")));
    EXPECT_FALSE(detectFormat(write("other.csv", "name,colour\nbob,red\n")).formatId);
    EXPECT_FALSE(detectFormat(write("empty.csv", "")).formatId);
    const Detection binary =
        detectFormat(write("binary.csv", QByteArray("Date,Notes\n6/12\0/2021,x\n", 24)));
    EXPECT_FALSE(binary.formatId);
    EXPECT_FALSE(binary.error.isEmpty());
    const ImportedFile notFuelly =
        readImportFile(write("x.csv", "car_name,odometer\nA,1\n"), "fuelly");
    EXPECT_EQ(notFuelly.error, "x.csv: line 1: no column 'fuelup_date'");
    EXPECT_EQ(importFormats().size(), 8u);
    EXPECT_EQ(findImportFormat("spritmonitor")->name, "Spritmonitor (CSV export)");
}

} // namespace
