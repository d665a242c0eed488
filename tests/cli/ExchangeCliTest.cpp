// drivolex-cli new, import, export and formats, run as a script runs them: exit
// statuses, the refusals as FILE:LINE: reason, nothing written unless asked, and the
// round trip of our own format.
#include "CliRun.h"
#include "DemoDatabase.h"
#include "store/StoreTestFiles.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace cli_test {

using testing_support::sqlScalar;

class ExchangeCliTest : public ::testing::Test {
protected:
    using Run = CliRun;
    static Run cli(const QStringList& arguments) { return runCli(arguments); }
    QString file(const QString& name, const QByteArray& text = {}) const {
        const QString path = dir.filePath(name);
        if (!text.isEmpty()) {
            QFile out(path);
            EXPECT_TRUE(out.open(QIODevice::WriteOnly));
            out.write(text);
        }
        return path;
    }
    QString newDatabase(const QString& name) const {
        const QString path = file(name);
        const Run made = cli({QStringLiteral("new"), path});
        EXPECT_EQ(made.status, 0) << made.err.toStdString();
        return path;
    }
    int count(const QString& db, const char* table) const {
        return sqlScalar(db, QStringLiteral("SELECT count(*) FROM %1").arg(QLatin1String(table)))
            .toInt();
    }

    // A Spritmonitor fuelings file: semicolons, decimal commas, day-first dates, litres; a
    // first fill-up, a partial fill, and a day that does not exist on line 5.
    QString spritmonitorFile() const {
        return file(QStringLiteral("sprit.csv"),
                    "Date;Odometer;Trip;Quantity;Total price;Currency;Type;Tires;Roads;"
                    "Driving style;Fuel;Note;Consumption\n"
                    "01.03.2024;10000;;40,00;72,40;EUR;3;;;;;;\n"
                    "15.03.2024;10500;500;35,50;64,26;EUR;1;;;;;;\n"
                    "29.03.2024;10800;300;10,00;18,10;EUR;2;;;;;;\n"
                    "31.04.2024;11100;300;30,00;54,30;EUR;1;;;;;;\n");
    }

    QTemporaryDir dir;
};

TEST_F(ExchangeCliTest, NewMakesAnEmptyDatabaseAndNeverReplacesAFile) {
    const QString db = newDatabase(QStringLiteral("cars.mdb"));
    EXPECT_EQ(cli({QStringLiteral("check"), db}).status, 0);
    EXPECT_EQ(count(db, "VehicleInfo"), 0);
    const Run again = cli({QStringLiteral("new"), db});
    EXPECT_EQ(again.status, 2);
    EXPECT_TRUE(again.err.contains(db)) << again.err.toStdString();
    EXPECT_EQ(cli({QStringLiteral("new")}).status, 2);
}

TEST_F(ExchangeCliTest, RefusedRowsAreToldByLineAndStopTheImportUnlessSkipped) {
    const QString db = newDatabase(QStringLiteral("cars.mdb"));
    const QString source = spritmonitorFile();
    const QStringList import = {QStringLiteral("import"),    source,
                                QStringLiteral("--into"),    db,
                                QStringLiteral("--vehicle"), QStringLiteral("Golf")};

    Run run = cli(import + QStringList{QStringLiteral("--dry-run")});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.contains(source + QStringLiteral(":5: "))) << run.err.toStdString();
    EXPECT_EQ(count(db, "Fuel"), 0) << "a dry run writes nothing";

    run = cli(import);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(count(db, "Fuel"), 0) << "refused rows stop the import";
    EXPECT_EQ(count(db, "VehicleInfo"), 0);

    run = cli(import + QStringList{QStringLiteral("--skip-refused")});
    EXPECT_EQ(run.status, 1) << "rows were still refused";
    EXPECT_TRUE(run.out.contains(QLatin1String("3 fuel purchases"))) << run.out.toStdString();
    EXPECT_EQ(sqlScalar(db, QStringLiteral("SELECT VehicleLookup FROM VehicleInfo")),
              QStringLiteral("Golf"));
    // 35.5 L is 9.378 US gallons; 500 km is 310.686 miles more than the first reading.
    EXPECT_EQ(sqlScalar(db, QStringLiteral("SELECT round(FuelGals, 3) FROM Fuel "
                                           "ORDER BY FuelDate LIMIT 1 OFFSET 1")),
              QStringLiteral("9.378"));
    EXPECT_EQ(sqlScalar(db, QStringLiteral("SELECT count(*) FROM drivolex_fuel_missed")),
              QStringLiteral("1"))
        << "the first fill-up starts afresh";
    EXPECT_EQ(sqlScalar(db, QStringLiteral("SELECT count(*) FROM Fuel WHERE FuelFull = 0")),
              QStringLiteral("1"));

    // The same file again: every row a duplicate, nothing written twice.
    run = cli(import + QStringList{QStringLiteral("--skip-refused")});
    EXPECT_EQ(count(db, "Fuel"), 3);
    EXPECT_TRUE(run.out.contains(QLatin1String("3 skipped as duplicates")))
        << run.out.toStdString();
}

TEST_F(ExchangeCliTest, BadFilesAndBadUsageExitWithTwo) {
    const QString db = newDatabase(QStringLiteral("cars.mdb"));
    const QString source = spritmonitorFile();
    EXPECT_EQ(cli({QStringLiteral("import"), source}).status, 2) << "no --into";
    EXPECT_EQ(cli({QStringLiteral("import"), source, QStringLiteral("--into"), db,
                   QStringLiteral("--format"), QStringLiteral("nosuch")})
                  .status,
              2);
    const Run unknown = cli({QStringLiteral("import"),
                             file(QStringLiteral("notes.txt"), "just some words\nand more\n"),
                             QStringLiteral("--into"), db});
    EXPECT_EQ(unknown.status, 2);
    EXPECT_TRUE(unknown.err.contains(QLatin1String("notes.txt"))) << unknown.err.toStdString();
    EXPECT_EQ(cli({QStringLiteral("import"), source, QStringLiteral("--into"),
                   file(QStringLiteral("missing.mdb"))})
                  .status,
              2);
    EXPECT_EQ(
        cli({QStringLiteral("export"), db, QStringLiteral("--format"), QStringLiteral("drivolex")})
            .status,
        2)
        << "no --out";
    EXPECT_EQ(
        cli({QStringLiteral("export"), db, QStringLiteral("--format"), QStringLiteral("drivolex"),
             QStringLiteral("--vehicle"), QStringLiteral("Nobody"), QStringLiteral("--out"),
             file(QStringLiteral("x.csv"))})
            .status,
        2);
    const Run formats = cli({QStringLiteral("formats")});
    EXPECT_EQ(formats.status, 0);
    for (const char* id : {"fuelly", "acar", "fuelio", "lubelogger", "spritmonitor", "drivvo",
                           "drivolex", "generic"})
        EXPECT_TRUE(formats.out.contains(QLatin1String(id))) << id;
}

// Our own export taken into a new database and exported again gives the same bytes.
TEST_F(ExchangeCliTest, OwnExportRoundTripsThroughANewDatabase) {
    const QString demo = file(QStringLiteral("demo.mdb"));
    demo::writeDemoDatabase(demo);
    const QString first = file(QStringLiteral("first.csv"));
    Run run = cli({QStringLiteral("export"), demo, QStringLiteral("--format"),
                   QStringLiteral("drivolex"), QStringLiteral("--out"), first});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();

    const QString copy = newDatabase(QStringLiteral("copy.mdb"));
    run = cli({QStringLiteral("import"), first, QStringLiteral("--into"), copy});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const demo::DemoCounts expected = demo::demoCounts();
    const demo::DemoCounts read = demo::countRows(copy);
    EXPECT_EQ(read.vehicles, expected.vehicles);
    EXPECT_EQ(read.fuel, expected.fuel);
    EXPECT_EQ(read.orders, expected.orders);
    EXPECT_EQ(read.services, expected.services);
    EXPECT_EQ(read.parts, expected.parts);
    EXPECT_EQ(read.notes, expected.notes);

    const QString second = file(QStringLiteral("second.csv"));
    run = cli({QStringLiteral("export"), copy, QStringLiteral("--format"),
               QStringLiteral("drivolex"), QStringLiteral("--out"), second});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(testing_support::fileBytes(first), testing_support::fileBytes(second));
}

} // namespace cli_test
