// The service record from the Vehicle History: Export PDF, printing to a PDF printer and
// the preview give the same pages of the vehicle and period chosen; a cancel or a file
// that cannot be written leaves no file.
#include "DemoDatabase.h"
#include "historywindows/HistoryWindowFixture.h"
#include "platform/FileDialog.h"
#include "report/ReportPages.h"
#include "reportwindows/PrintDialogs.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QDir>
#include <QMenuBar>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QProgressDialog>
#include <QTimer>

namespace reportwindows_test {

using reportwindows::PrintDialogs;

// Every page's text as pdftotext lays it out; pages end with a form feed.
QString pdfText(const QString& path) {
    QProcess process;
    process.start(QStringLiteral("pdftotext"),
                  {QStringLiteral("-layout"), path, QStringLiteral("-")});
    EXPECT_TRUE(process.waitForFinished(60000)) << "pdftotext (poppler-utils) did not run";
    EXPECT_EQ(process.exitCode(), 0) << path.toStdString();
    // Ligatures ("fi" as one glyph) read back as their letters.
    return QString::fromUtf8(process.readAllStandardOutput())
        .normalized(QString::NormalizationForm_KC);
}

int pageCount(const QString& text) {
    return int(text.count(QLatin1Char('\f')));
}

class ReportWindowTest : public historywindows_test::HistoryWindowTest {
protected:
    void TearDown() override {
        platform::FileDialog::setShower({});
        PrintDialogs::setPrintShower({});
        PrintDialogs::setPreviewShower({});
        HistoryWindowTest::TearDown();
    }

    // The Vehicle History on the demonstration file, showing the vehicle.
    void openOnDemo(const QString& lookup) {
        demo::writeDemoDatabase(path);
        openHistory();
        chooseVehicle(lookup);
    }

    // Export PDF to name in the test's folder; the path given to the dialog's seam.
    QString exportPdf(const QString& name) {
        const QString target = dir.filePath(name);
        platform::FileDialog::setShower([this, target](const platform::FileDialog& dialog) {
            offered = dialog.defaultFileName();
            filters = dialog.filters();
            return target;
        });
        click(history->cmdExportPdf);
        return target;
    }

    // Print, to a PDF printer writing name.
    QString printToPdf(const QString& name) {
        const QString target = dir.filePath(name);
        PrintDialogs::setPrintShower([target](QPrinter& printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(target);
            return true;
        });
        click(history->cmdPrint);
        return target;
    }

    // Cancels the progress of the command that runs next, at its first step.
    void cancelAtFirstPage() {
        QTimer::singleShot(0, history, [this] {
            auto* progress = history->findChild<QProgressDialog*>(QStringLiteral("prgReport"));
            ASSERT_NE(progress, nullptr) << "no progress while the pages are laid out";
            progress->cancel();
        });
    }

    QStringList filesInDir() const {
        return QDir(dir.path()).entryList(QDir::Files | QDir::NoDotAndDotDot);
    }

    QString offered;
    QStringList filters;
};

TEST_F(ReportWindowTest, ExportPrintAndPreviewGiveTheSamePagesOfTheChosenVehicle) {
    openOnDemo(QStringLiteral("Civic"));
    ASSERT_TRUE(history->cmdExportPdf->isEnabled());
    const QString exported = exportPdf(QStringLiteral("civic.pdf"));
    EXPECT_EQ(offered, QStringLiteral("Civic service record.pdf"));
    EXPECT_EQ(filters, QStringList{QStringLiteral("PDF Files: *.pdf")});
    EXPECT_EQ(boxes.count(), 0) << boxes.last().prompt.toStdString();
    const QString text = pdfText(exported);
    for (const char* expected : {"Civic", "Honda", "2HGFC2F59GH512345", "1/20/2024", "48,575",
                                 "Change Oil", "15400-PLM-A02", "Oil filter", "3/30/2024",
                                 "Wiper blade 26 in", "5/11/2024", "Air filter full of road dust"})
        EXPECT_TRUE(text.contains(QLatin1String(expected))) << expected;
    EXPECT_LT(text.indexOf(QLatin1String("1/20/2024")), text.indexOf(QLatin1String("3/30/2024")))
        << "oldest first";
    EXPECT_FALSE(text.contains(QLatin1String("F-150"))) << "the chosen vehicle only";
    const int pages = pageCount(text);
    ASSERT_GE(pages, 1);
    EXPECT_TRUE(text.contains(QStringLiteral("Page %1 of %1").arg(pages)));

    const QString printed = printToPdf(QStringLiteral("printed.pdf"));
    EXPECT_EQ(boxes.count(), 0);
    EXPECT_EQ(pdfText(printed), text) << "the PDF printer prints the exported pages";

    int previewPages = -1;
    QSizeF previewPage;
    PrintDialogs::setPreviewShower([&](QPrintPreviewDialog& dialog) {
        auto* preview = dialog.findChild<QPrintPreviewWidget*>();
        ASSERT_NE(preview, nullptr);
        preview->updatePreview();
        previewPages = preview->pageCount();
        previewPage = dialog.printer()->pageLayout().fullRect(QPageLayout::Millimeter).size();
    });
    click(history->cmdPrintPreview);
    EXPECT_EQ(previewPages, pages);
    EXPECT_EQ(previewPage.toSize(), report::defaultPageSize().size(QPageSize::Millimeter).toSize());

    // The period and the fuel log choice reach the report.
    history->chkFuelLog->setChecked(true);
    chooseRange(QDate(2024, 3, 1), QDate(2024, 4, 30));
    const QString spring = pdfText(exportPdf(QStringLiteral("spring.pdf")));
    EXPECT_TRUE(spring.contains(QLatin1String("3/30/2024")));
    EXPECT_TRUE(spring.contains(QLatin1String("3/1/2024 to 4/30/2024")));
    EXPECT_FALSE(spring.contains(QLatin1String("1/20/2024"))) << "an order before the period";
    EXPECT_TRUE(spring.contains(QLatin1String("Indianapolis")) ||
                spring.contains(QLatin1String("3/23/2024")))
        << "a fill-up of the period in the fuel log";
}

TEST_F(ReportWindowTest, AllVehiclesGiveOneReportEach) {
    openOnDemo(QStringLiteral("All Vehicles"));
    const QString text = pdfText(exportPdf(QStringLiteral("all.pdf")));
    EXPECT_EQ(offered, QStringLiteral("Service records.pdf"));
    for (const char* vehicle : {"2HGFC2F59GH512345", "1FTFW1ET5CFA67890", "4S4BSAFC3K3301122"})
        EXPECT_TRUE(text.contains(QLatin1String(vehicle))) << vehicle;
    EXPECT_GE(pageCount(text), 3) << "each vehicle from a new page";
}

TEST_F(ReportWindowTest, CancelOrAFileThatCannotBeWrittenLeavesNoFile) {
    openOnDemo(QStringLiteral("Civic"));
    cancelAtFirstPage();
    const QString cancelled = exportPdf(QStringLiteral("cancelled.pdf"));
    EXPECT_FALSE(QFileInfo::exists(cancelled));
    cancelAtFirstPage();
    const QString cancelledPrint = printToPdf(QStringLiteral("cancelled-print.pdf"));
    EXPECT_FALSE(QFileInfo::exists(cancelledPrint));
    EXPECT_EQ(filesInDir(), QStringList{QStringLiteral("cars.mdb")}) << "no file left aside";
    // A print cancelled onto a file that was there leaves that file as it was.
    const QString kept = dir.filePath(QStringLiteral("kept.pdf"));
    {
        QFile old(kept);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("last year's report");
    }
    cancelAtFirstPage();
    printToPdf(QStringLiteral("kept.pdf"));
    QFile old(kept);
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), QByteArray("last year's report"));
    old.close();
    QFile::remove(kept);
    EXPECT_EQ(boxes.count(), 0) << "a cancel is no failure";

    const QString unwritable = exportPdf(QStringLiteral("no-such-folder/civic.pdf"));
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_TRUE(boxes.last().prompt.contains(QDir::toNativeSeparators(unwritable)))
        << boxes.last().prompt.toStdString();
    EXPECT_EQ(boxes.last().style, platform::vbExclamation);
    const QString unprintable = printToPdf(QStringLiteral("no-such-folder/printed.pdf"));
    ASSERT_EQ(boxes.count(), 2);
    EXPECT_TRUE(boxes.last().prompt.contains(QDir::toNativeSeparators(unprintable)))
        << boxes.last().prompt.toStdString();
    EXPECT_EQ(filesInDir(), QStringList{QStringLiteral("cars.mdb")});
}

TEST_F(ReportWindowTest, CommandsWaitForAVehicleAndTheirKeysAreTheirOwn) {
    openHistory();
    for (QWidget* command :
         {static_cast<QWidget*>(history->chkFuelLog), static_cast<QWidget*>(history->cmdPrint),
          static_cast<QWidget*>(history->cmdPrintPreview),
          static_cast<QWidget*>(history->cmdExportPdf)})
        EXPECT_FALSE(command->isEnabled()) << command->objectName().toStdString();
    addVehicles({QStringLiteral("Wagon")});
    history->Form_Activate();
    waitForHistory();
    EXPECT_TRUE(history->cmdPrint->isEnabled());

    // The report's access keys are used by no other control of the window nor menu
    // of the frame.
    const QList<QAbstractButton*> report = {history->chkFuelLog, history->cmdPrint,
                                            history->cmdPrintPreview, history->cmdExportPdf};
    QStringList others;
    for (QAbstractButton* button : history->findChildren<QAbstractButton*>())
        if (!report.contains(button))
            others << button->text();
    for (const QLabel* label : history->findChildren<QLabel*>())
        if (label->buddy())
            others << label->text();
    for (int tab = 0; tab < history->SSTab1->count(); ++tab)
        others << history->SSTab1->tabText(tab);
    for (const QAction* menu : form->menuBar()->actions())
        others << menu->text();
    QStringList keys;
    for (const QAbstractButton* button : report) {
        const QKeySequence key = QKeySequence::mnemonic(button->text());
        if (key.isEmpty())
            continue;
        keys << key.toString();
        for (const QString& other : others)
            EXPECT_NE(QKeySequence::mnemonic(other), key)
                << button->text().toStdString() << " and " << other.toStdString();
    }
    keys.removeDuplicates();
    EXPECT_EQ(keys.size(), 3) << "Print, Export PDF and the fuel log each have their own";
}

} // namespace reportwindows_test
