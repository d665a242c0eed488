#include "ReportCommands.h"

#include "PrintDialogs.h"
#include "platform/AppError.h"
#include "platform/ErrorReporting.h"
#include "platform/FileDialog.h"
#include "platform/MsgBox.h"
#include "report/ReportPages.h"
#include "store/FileReplace.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPageLayout>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProgressDialog>
#include <QTimer>
#include <exception>
#include <optional>

namespace reportwindows {

namespace {

const QString kPrintTitle = QStringLiteral("Print");
const QString kPreviewTitle = QStringLiteral("Print Preview");
const QString kExportTitle = QStringLiteral("Export PDF");

// The pages as they are laid out, with Cancel; shown once the work takes a while.
class ReportProgress {
public:
    ReportProgress(QWidget* owner, const QString& title)
        : m_dialog(QStringLiteral("Laying out the pages..."), QStringLiteral("Cancel"), 0, 0,
                   owner) {
        m_dialog.setObjectName(QStringLiteral("prgReport"));
        m_dialog.setWindowTitle(title);
        m_dialog.setWindowModality(Qt::WindowModal);
        m_dialog.setMinimumDuration(500);
        m_dialog.setAutoClose(false);
        m_dialog.setAutoReset(false);
        m_dialog.setValue(0);
    }
    ~ReportProgress() { m_dialog.close(); }
    ReportProgress(const ReportProgress&) = delete;
    ReportProgress& operator=(const ReportProgress&) = delete;

    report::PageProgress callback() {
        return [this](int pagesDone, int pageCount) {
            if (pageCount > 0 && m_dialog.maximum() != pageCount)
                m_dialog.setMaximum(pageCount);
            if (pageCount > 0)
                m_dialog.setLabelText(
                    QStringLiteral("Page %1 of %2...").arg(pagesDone).arg(pageCount));
            m_dialog.setValue(pagesDone);
            QCoreApplication::processEvents();
            return !m_dialog.wasCanceled();
        };
    }
    bool cancelled() const { return m_dialog.wasCanceled(); }

private:
    QProgressDialog m_dialog;
};

// The reports of the request as the file holds them now; none with a box when the
// vehicle is no longer in the file.
std::optional<std::vector<report::ReportContent>> readFor(sqlite3* db, const ReportRequest& request,
                                                          const QString& title) {
    std::vector<report::ReportContent> reports = report::readReports(db, request.options);
    if (reports.empty()) {
        platform::MsgBox(request.options.vehicleId
                             ? QStringLiteral("The vehicle is no longer in the file.")
                             : QStringLiteral("The file holds no vehicle to report on."),
                         platform::vbExclamation, title);
        return std::nullopt;
    }
    return reports;
}

// The printer's own page size; the system's default when it gives none (no printer,
// or a PDF file).
void preparePrinter(QPrinter& printer, const QString& documentName) {
    printer.setDocName(documentName);
    printer.setCreator(QCoreApplication::applicationName());
    const QPrinterInfo info(printer);
    QPageSize size = info.isNull() ? QPageSize() : info.defaultPageSize();
    if (!size.isValid())
        size = report::defaultPageSize();
    printer.setPageSize(size);
    printer.setPageMargins(report::reportMargins(), QPageLayout::Millimeter);
}

// Where the printer's pages go, as a box names it.
QString targetOf(const QPrinter& printer) {
    if (printer.outputFormat() == QPrinter::PdfFormat)
        return QDir::toNativeSeparators(printer.outputFileName());
    return printer.printerName();
}

// The error's text, with the file or printer named when the text does not name it.
QString failureText(const QString& text, const QString& target) {
    if (target.isEmpty() || text.contains(target))
        return text;
    return QStringLiteral("%1: %2").arg(target, text);
}

// The error of what ran as a text; an empty text when nothing failed.
template <class Work> QString failureOf(Work work) {
    try {
        work();
    } catch (const platform::AppError& error) {
        return error.text();
    } catch (const std::exception& error) {
        return QString::fromLocal8Bit(error.what());
    }
    return QString();
}

} // namespace

QString documentNameOf(const QString& lookUp) {
    if (lookUp.trimmed().isEmpty())
        return QStringLiteral("Service records");
    QString name = lookUp.trimmed() + QStringLiteral(" service record");
    for (QChar& c : name)
        if (QStringLiteral("/\\:*?\"<>|").contains(c) || c.category() == QChar::Other_Control)
            c = QLatin1Char('-');
    return name;
}

void printReports(QWidget* owner, sqlite3* db, const ReportRequest& request) {
    platform::runReported([&] {
        const auto reports = readFor(db, request, kPrintTitle);
        if (!reports)
            return;
        QPrinter printer(QPrinter::HighResolution);
        preparePrinter(printer, request.documentName);
        if (!PrintDialogs::showPrint(printer, owner))
            return;
        // A print to a PDF file is written beside it and moved into place when whole, so
        // a cancel or a failure leaves the file that was there as it was.
        const QString file =
            printer.outputFormat() == QPrinter::PdfFormat ? printer.outputFileName() : QString();
        const QString aside = file.isEmpty() ? QString() : store::asideFileName(file);
        if (!aside.isEmpty())
            printer.setOutputFileName(aside);
        bool finished = false;
        ReportProgress progress(owner, kPrintTitle);
        // A cancel stops the job where the printer's driver can stop it.
        const report::PageProgress step = [&printer, next = progress.callback()](int done,
                                                                                 int count) {
            const bool goOn = next(done, count);
            if (!goOn)
                printer.abort();
            return goOn;
        };
        QString failure =
            failureOf([&] { finished = report::paintReports(printer, *reports, step); });
        if (failure.isEmpty() && !finished && !progress.cancelled())
            failure = QStringLiteral("The pages could not be printed.");
        if (failure.isEmpty() && printer.printerState() == QPrinter::Error)
            failure = QStringLiteral("The printer reported an error.");
        if (!aside.isEmpty()) {
            printer.setOutputFileName(file);
            if (failure.isEmpty() && finished)
                failure = failureOf([&] { store::replaceFile(aside, file); });
            QFile::remove(aside);
        }
        if (failure.isEmpty())
            return;
        platform::MsgBox(failureText(failure, targetOf(printer)) +
                             QStringLiteral("\n\nThe report was not printed."),
                         platform::vbExclamation, kPrintTitle);
    });
}

void previewReports(QWidget* owner, sqlite3* db, const ReportRequest& request) {
    platform::runReported([&] {
        const auto reports = readFor(db, request, kPreviewTitle);
        if (!reports)
            return;
        QPrinter printer(QPrinter::HighResolution);
        preparePrinter(printer, request.documentName);
        QPrintPreviewDialog dialog(&printer, owner);
        dialog.setObjectName(QStringLiteral("dlgPrintPreview"));
        dialog.setWindowTitle(kPreviewTitle + QStringLiteral(" - ") + request.documentName);
        // The pages are painted again whenever the preview's page setup changes, and
        // on the printer when the preview's Print is pressed.
        QObject::connect(
            &dialog, &QPrintPreviewDialog::paintRequested, &dialog, [&](QPrinter* target) {
                QWidget* over = dialog.isVisible() ? static_cast<QWidget*>(&dialog) : owner;
                ReportProgress progress(over, kPreviewTitle);
                bool finished = false;
                const QString failure = failureOf([&] {
                    finished = report::paintReports(*target, *reports, progress.callback());
                });
                if (!failure.isEmpty())
                    platform::MsgBox(failureText(failure, targetOf(*target)),
                                     platform::vbExclamation, kPreviewTitle);
                // A preview stopped part way shows no half report.
                if (!finished)
                    QTimer::singleShot(0, &dialog, &QDialog::reject);
            });
        PrintDialogs::showPreview(dialog);
    });
}

QString exportReportPdf(QWidget* owner, sqlite3* db, const ReportRequest& request) {
    QString written;
    platform::runReported([&] {
        platform::FileDialog dialog;
        dialog.setDialogTitle(kExportTitle);
        dialog.setInitDir(request.folder);
        dialog.addFilter(QStringLiteral("PDF Files: *.pdf"));
        dialog.setOption(platform::FileDialog::OverwritePrompt);
        dialog.setOption(platform::FileDialog::PathMustExist);
        dialog.setDefaultFileName(request.documentName + QStringLiteral(".pdf"));
        dialog.show(owner);
        if (dialog.fileName().isEmpty())
            return;
        QString path = QDir(dialog.folder()).filePath(dialog.fileName());
        if (QFileInfo(path).suffix().isEmpty())
            path += QStringLiteral(".pdf");
        const auto reports = readFor(db, request, kExportTitle);
        if (!reports)
            return;
        ReportProgress progress(owner, kExportTitle);
        bool finished = false;
        const QString failure = failureOf([&] {
            finished = report::writeReportPdf(path, *reports, report::defaultPageSize(),
                                              progress.callback());
        });
        if (!failure.isEmpty()) {
            platform::MsgBox(failureText(failure, QDir::toNativeSeparators(path)) +
                                 QStringLiteral("\n\nNo file was written."),
                             platform::vbExclamation, kExportTitle);
            return;
        }
        if (finished)
            written = path;
    });
    return written;
}

} // namespace reportwindows
