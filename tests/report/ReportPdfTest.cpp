// The demonstration vehicle's service record written as PDF and read back with
// pdftotext: every visit, service, part, total and note in order, pages numbered,
// nothing past the right margin, long visits split with their headers repeated,
// charts drawn as vectors, and a cancel that leaves no file.
#include "DemoDatabase.h"
#include "ReportFiles.h"
#include "store/StoreTestFiles.h"

#include <QDir>
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

// The words of a PDF with their boxes, as pdftotext -bbox gives them.
struct Word {
    QString text;
    double xMin = 0;
    double xMax = 0;
    int page = 0;
};
std::vector<Word> pdfWords(const QString& pdf, double* pageWidth) {
    QXmlStreamReader xml(pdfText(pdf, {QStringLiteral("-bbox")}));
    std::vector<Word> words;
    int page = 0;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("page")) {
            ++page;
            *pageWidth = xml.attributes().value(QLatin1String("width")).toDouble();
        } else if (xml.name() == QLatin1String("word")) {
            Word word;
            word.page = page;
            word.xMin = xml.attributes().value(QLatin1String("xMin")).toDouble();
            word.xMax = xml.attributes().value(QLatin1String("xMax")).toDouble();
            word.text = xml.readElementText();
            words.push_back(word);
        }
    }
    return words;
}

int pdfPageCount(const QString& pdf) {
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {pdf});
    info.waitForFinished(60000);
    const QRegularExpressionMatch match =
        QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)"))
            .match(QString::fromUtf8(info.readAllStandardOutput()));
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

// Each text found after the one before it; the first missing one is named.
void expectInOrder(const QString& text, const QStringList& expected) {
    qsizetype at = 0;
    for (const QString& piece : expected) {
        const qsizetype found = text.indexOf(piece, at);
        ASSERT_GE(found, 0) << "missing or out of order: " << piece.toStdString();
        at = found + piece.size();
    }
}

TEST_F(ReportPdfTest, DemoVehicleHoldsEveryVisitInOrderOnNumberedPages) {
    const QString pdf = writePdf(civicOptions());
    if (qEnvironmentVariableIsSet("DRIVOLEX_KEEP_REPORT"))
        QFile::copy(pdf, qEnvironmentVariable("DRIVOLEX_KEEP_REPORT"));
    const QString text = pdfText(pdf, {QStringLiteral("-layout")});
    // The demonstration's orders, services, parts and notes as the file holds them.
    QStringList expected{QStringLiteral("Service Record: Civic"), QStringLiteral("Honda"),
                         QStringLiteral("2HGFC2F59GH512345"), QStringLiteral("Statistics")};
    const QStringList orders =
        sqlScalar(path, QStringLiteral(
                            "SELECT group_concat(WorkOrderID, ' ') FROM (SELECT WorkOrderID FROM "
                            "WorkOrder ORDER BY Date, WorkOrderID)"))
            .split(QLatin1Char(' '));
    ASSERT_EQ(orders.size(), 3);
    for (const QString& order : orders) {
        expected << QStringLiteral("Work Order ") + order;
        const auto column = [&](const QString& sql) {
            return sqlScalar(path, sql.arg(order)).split(QLatin1Char('|'), Qt::SkipEmptyParts);
        };
        expected << column(QStringLiteral("SELECT group_concat(WorkDescription, '|') FROM (SELECT "
                                          "WorkDescription FROM WorkDone WHERE WorkOrderID = %1 "
                                          "ORDER BY WorkDoneID)"));
        expected << column(QStringLiteral(
            "SELECT group_concat(PartNum || '|' || PartDescription, '|') FROM (SELECT * FROM "
            "PartsUsed WHERE WorkOrderId = %1 ORDER BY PartID)"));
        expected << QStringLiteral("Parts Total");
        // The note's first words: the rest may wrap onto the next line.
        expected << column(QStringLiteral("SELECT WorkOrderMemo FROM WorkOrderMemo WHERE "
                                          "WorkOrderID = %1"))
                        .value(0)
                        .section(QLatin1Char(' '), 0, 5);
    }
    expected << QStringLiteral("Grand Total") << QStringLiteral("$155.45") << QStringLiteral("Fuel")
             << QStringLiteral("Charts") << QStringLiteral("Fuel Log")
             << QStringLiteral("5/10/2024");
    expectInOrder(text, expected);
    EXPECT_TRUE(text.contains(QStringLiteral("$32.45"))); // 5 quarts of oil at $6.49

    // Page n of m on every page, in order.
    const QStringList pages = pdfPages(pdf);
    ASSERT_EQ(int(pages.size()), pdfPageCount(pdf));
    for (qsizetype i = 0; i < pages.size(); ++i)
        EXPECT_TRUE(pages[i].contains(QStringLiteral("Page %1 of %2").arg(i + 1).arg(pages.size())))
            << "page " << i + 1;
    // A visit that fits on a page is never split.
    for (const QString& order : orders)
        for (const QString& page : pages)
            if (page.contains(QStringLiteral("Work Order ") + order + QLatin1Char('\n'))) {
                EXPECT_TRUE(page.contains(QStringLiteral("Parts Total")));
            }
}

TEST_F(ReportPdfTest, LongVisitsSplitWithTheirHeadersAndNothingRunsPastTheMargin) {
    QString sql =
        QStringLiteral(
            "INSERT INTO WorkOrder (VehicleID, WorkOrderID, Mileage, Date) VALUES "
            "(%1, 900, 60000, '2024-06-01 00:00:00'), (%1, 901, 61000, '2024-07-01 00:00:00');"
            "INSERT INTO WorkDone VALUES (900, 9001, 'Rebuild the engine'), (901, 9002, 'Wash');"
            "INSERT INTO PartsUsed VALUES (9001, 'SHORT', 'After the long one', 10000, 901, 1);")
            .arg(civic);
    QStringList noteLines;
    for (int part = 1; part <= 70; ++part)
        sql += QStringLiteral("INSERT INTO PartsUsed VALUES (%1, 'P-%1', 'Engine part number %1 "
                              "with a long description', 12345, 900, 2);")
                   .arg(1000 + part);
    for (int line = 1; line <= 90; ++line)
        noteLines << QStringLiteral("Note line %1 of the rebuild.").arg(line);
    // One word longer than the page is wide: it breaks inside the word.
    noteLines << QString(400, QLatin1Char('W'));
    sql += QStringLiteral("INSERT INTO WorkOrderMemo VALUES ('%1', 900);")
               .arg(noteLines.join(QLatin1Char('\n')));
    ASSERT_EQ(testing_support::sqlExecute(path, sql), QString());

    report::ReportOptions options = civicOptions();
    options.withFuelLog = false;
    const QString pdf = writePdf(options);
    const QStringList pages = pdfPages(pdf, {QStringLiteral("-layout")});
    // The long order opens a page of its own and runs over the pages after it.
    int firstPage = -1;
    int continued = 0;
    for (qsizetype i = 0; i < pages.size(); ++i) {
        if (pages[i].contains(QStringLiteral("Work Order 900\n")) && firstPage < 0)
            firstPage = int(i);
        if (pages[i].contains(QStringLiteral("Work Order 900 (continued)"))) {
            ++continued;
            // Parts carried over come under their header row again.
            if (pages[i].contains(QStringLiteral("P-10")) ||
                pages[i].contains(QStringLiteral("P-7"))) {
                EXPECT_TRUE(pages[i].contains(QStringLiteral("Part #")));
            }
        }
    }
    ASSERT_GE(firstPage, 0);
    EXPECT_GE(continued, 2);
    QStringList expected;
    for (int part = 1; part <= 70; ++part)
        expected << QStringLiteral("P-%1 ").arg(1000 + part);
    expected << QStringLiteral("Parts Total") << noteLines.mid(0, 90);
    expectInOrder(pages.join(QLatin1Char('\n')), expected);
    // The short order after it stays whole on one page.
    for (const QString& page : pages)
        if (page.contains(QStringLiteral("Work Order 901\n"))) {
            EXPECT_TRUE(page.contains(QStringLiteral("After the long one")));
        }

    double pageWidth = 0;
    const std::vector<Word> words = pdfWords(pdf, &pageWidth);
    ASSERT_GT(words.size(), 1000u);
    const double margin = report::reportMargins().right() * 72 / 25.4;
    qsizetype wordsOfW = 0;
    for (const Word& word : words) {
        EXPECT_LE(word.xMax, pageWidth - margin + 0.5) << word.text.toStdString();
        EXPECT_GE(word.xMin, margin - 0.5) << word.text.toStdString();
        if (word.text.startsWith(QLatin1Char('W')) &&
            word.text.count(QLatin1Char('W')) == word.text.size())
            wordsOfW += word.text.size();
    }
    EXPECT_EQ(wordsOfW, 400);
}

TEST_F(ReportPdfTest, ChartsAreVectorsAndThePaperIsTheOneAskedFor) {
    const std::vector<report::ReportContent> reports = reportsOf(path, civicOptions());
    const QString pdf = dir.filePath(QStringLiteral("a4.pdf"));
    ASSERT_TRUE(report::writeReportPdf(pdf, reports, QPageSize(QPageSize::A4)));
    QProcess images;
    images.start(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf});
    ASSERT_TRUE(images.waitForFinished(60000));
    const QStringList lines = QString::fromUtf8(images.readAllStandardOutput())
                                  .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    EXPECT_EQ(lines.size(), 2) << "no picture below the list's two header lines";
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {pdf});
    ASSERT_TRUE(info.waitForFinished(60000));
    EXPECT_TRUE(QString::fromUtf8(info.readAllStandardOutput()).contains(QStringLiteral("(A4)")));
}

TEST_F(ReportPdfTest, CancelLeavesNoFileAndTheOldOneAsItWas) {
    const QString pdf = dir.filePath(QStringLiteral("kept.pdf"));
    {
        QFile old(pdf);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("the report of last year");
    }
    const std::vector<report::ReportContent> reports = reportsOf(path, civicOptions());
    int calls = 0;
    EXPECT_FALSE(report::writeReportPdf(pdf, reports, QPageSize(QPageSize::Letter),
                                        [&calls](int done, int count) {
                                            ++calls;
                                            EXPECT_GT(count, 1);
                                            return done < 1;
                                        }));
    EXPECT_EQ(calls, 2);
    QFile old(pdf);
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), QByteArray("the report of last year"));
    EXPECT_EQ(QDir(dir.path()).entryList({QStringLiteral("*.pdf*")}, QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("kept.pdf")});
    // A folder that is not there: the error names the file.
    try {
        report::writeReportPdf(dir.filePath(QStringLiteral("gone/x.pdf")), reports,
                               QPageSize(QPageSize::Letter));
        ADD_FAILURE() << "no error";
    } catch (const std::exception& error) {
        EXPECT_TRUE(QString::fromUtf8(error.what()).contains(QStringLiteral("x.pdf")));
    }
}

} // namespace
