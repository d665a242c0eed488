// drivolex-cli report, run as a script runs it without a display: the PDF of the vehicle
// (found whatever its letter case) or of each, the period's orders only, and bad
// arguments refused with exit status 2, naming what is wrong, before anything is written.
#include "CliRun.h"
#include "DemoDatabase.h"

#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace cli_test {

class ReportCliTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        db = dir.filePath(QStringLiteral("demo.mdb"));
        demo::writeDemoDatabase(db);
        pdf = dir.filePath(QStringLiteral("out.pdf"));
    }

    using Run = CliRun;
    // Runs the command as from a terminal without a display.
    static Run report(const QStringList& arguments) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
        environment.remove(QStringLiteral("DISPLAY"));
        environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
        return runCli(QStringList{QStringLiteral("report")} + arguments, environment);
    }
    static QString pdfText(const QString& path) {
        QProcess process;
        process.start(QStringLiteral("pdftotext"),
                      {QStringLiteral("-layout"), path, QStringLiteral("-")});
        EXPECT_TRUE(process.waitForFinished(60000)) << "pdftotext (poppler-utils) did not run";
        // Ligatures ("fi" as one glyph) read back as their letters.
        return QString::fromUtf8(process.readAllStandardOutput())
            .normalized(QString::NormalizationForm_KC);
    }

    QTemporaryDir dir;
    QString db;
    QString pdf;
};

TEST_F(ReportCliTest, WritesTheVehiclesRecordForThePeriodAndEveryVehicleWithoutOne) {
    const Run whole = report(
        {db, QStringLiteral("--vehicle"), QStringLiteral("civic"), QStringLiteral("--pdf"), pdf});
    ASSERT_EQ(whole.status, 0) << whole.err.toStdString();
    EXPECT_TRUE(whole.out.contains(pdf)) << whole.out.toStdString();
    const QString text = pdfText(pdf);
    for (const char* expected :
         {"Civic", "2HGFC2F59GH512345", "1/20/2024", "Change Oil", "3/30/2024", "5/11/2024"})
        EXPECT_TRUE(text.contains(QLatin1String(expected))) << expected;
    EXPECT_FALSE(text.contains(QLatin1String("1FTFW1ET5CFA67890"))) << "the Pickup's serial";

    const QString spring = dir.filePath(QStringLiteral("spring.pdf"));
    const Run period = report({db, QStringLiteral("--vehicle=Civic"), QStringLiteral("--from"),
                               QStringLiteral("3/1/2024"), QStringLiteral("--to"),
                               QStringLiteral("2024-04-30"), QStringLiteral("--pdf"), spring});
    ASSERT_EQ(period.status, 0) << period.err.toStdString();
    const QString springText = pdfText(spring);
    EXPECT_TRUE(springText.contains(QLatin1String("3/30/2024")));
    EXPECT_FALSE(springText.contains(QLatin1String("1/20/2024")));
    EXPECT_FALSE(springText.contains(QLatin1String("5/11/2024")));

    const QString all = dir.filePath(QStringLiteral("all.pdf"));
    ASSERT_EQ(report({db, QStringLiteral("--pdf"), all}).status, 0);
    const QString allText = pdfText(all);
    for (const char* serial : {"2HGFC2F59GH512345", "1FTFW1ET5CFA67890", "4S4BSAFC3K3301122"})
        EXPECT_TRUE(allText.contains(QLatin1String(serial))) << serial;
}

TEST_F(ReportCliTest, BadArgumentsExitTwoNamingTheProblemAndWriteNothing) {
    const QString missing = dir.filePath(QStringLiteral("missing.mdb"));
    const QList<std::pair<QStringList, QString>> cases = {
        {{db, QStringLiteral("--from"), QStringLiteral("2/30/2024"), QStringLiteral("--pdf"), pdf},
         QStringLiteral("2/30/2024")},
        {{db, QStringLiteral("--to"), QStringLiteral("soon"), QStringLiteral("--pdf"), pdf},
         QStringLiteral("--to")},
        {{db, QStringLiteral("--from"), QStringLiteral("5/1/2024"), QStringLiteral("--to"),
          QStringLiteral("4/1/2024"), QStringLiteral("--pdf"), pdf},
         QStringLiteral("--from")},
        {{db, QStringLiteral("--vehicle"), QStringLiteral("Sedan"), QStringLiteral("--pdf"), pdf},
         QStringLiteral("Sedan")},
        {{missing, QStringLiteral("--pdf"), pdf}, missing},
        {{db}, QStringLiteral("--pdf")},
        {{db, QStringLiteral("--pdf"), pdf, QStringLiteral("--fuel")}, QStringLiteral("--fuel")},
    };
    for (const auto& [arguments, named] : cases) {
        const Run run = report(arguments);
        EXPECT_EQ(run.status, 2) << arguments.join(' ').toStdString();
        EXPECT_TRUE(run.err.contains(named)) << run.err.toStdString();
        EXPECT_FALSE(QFileInfo::exists(pdf)) << arguments.join(' ').toStdString();
    }
    // A folder that is not there: the file is named and nothing is left.
    const QString nowhere = dir.filePath(QStringLiteral("no-such-folder/out.pdf"));
    const Run unwritable = report({db, QStringLiteral("--pdf"), nowhere});
    EXPECT_EQ(unwritable.status, 1);
    EXPECT_TRUE(unwritable.err.contains(nowhere)) << unwritable.err.toStdString();
}

} // namespace cli_test
