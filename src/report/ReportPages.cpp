#include "ReportPages.h"

#include "ReportLayout.h"
#include "ReportTable.h"
#include "exporting/ExportFile.h"
#include "store/StoreErrors.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QLocale>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>

namespace report {

namespace {

// A report laid out: its groups of strips, and the strips placed on its pages.
struct LaidOutReport {
    const ReportContent* content = nullptr;
    std::vector<StripGroup> groups;
    std::vector<PageStrips> pages;
};

QString vehicleDescription(const VehicleHeading& vehicle) {
    QStringList words;
    for (const QString& word : {vehicle.year, vehicle.make, vehicle.model})
        if (!word.trimmed().isEmpty())
            words << word.trimmed();
    return words.join(QLatin1Char(' '));
}

// The band above a page's body: the report and its vehicle, over a rule; and the one
// below: the day it was printed, the page's number, the period.
void paintPageFrame(QPainter& painter, const QRectF& page, const QRectF& body,
                    const ReportStyle& style, const ReportContent& content, int number, int count) {
    const QFontMetricsF small(style.small(), &style.device());
    painter.setFont(style.small());
    painter.setPen(ReportStyle::ink());
    const double headerBaseline = page.top() + small.ascent();
    painter.drawText(QPointF(page.left(), headerBaseline),
                     QStringLiteral("Service Record: ") + content.vehicle.lookUp);
    const QString vehicle = vehicleDescription(content.vehicle);
    painter.drawText(QPointF(page.right() - small.horizontalAdvance(vehicle), headerBaseline),
                     vehicle);
    painter.setPen(QPen(ReportStyle::rule(), style.dots(0.5)));
    const double ruleY = body.top() - style.dots(6);
    painter.drawLine(QPointF(page.left(), ruleY), QPointF(page.right(), ruleY));

    painter.setPen(ReportStyle::ink());
    const double footerBaseline = page.bottom() - small.descent();
    painter.drawText(QPointF(page.left(), footerBaseline),
                     QStringLiteral("Printed ") + content.printedDate);
    const QString pageText = QStringLiteral("Page %1 of %2").arg(number).arg(count);
    painter.drawText(
        QPointF(page.center().x() - small.horizontalAdvance(pageText) / 2, footerBaseline),
        pageText);
    painter.drawText(
        QPointF(page.right() - small.horizontalAdvance(content.periodText), footerBaseline),
        content.periodText);
}

} // namespace

QPageSize defaultPageSize() {
    return QLocale::system().measurementSystem() == QLocale::ImperialUSSystem
               ? QPageSize(QPageSize::Letter)
               : QPageSize(QPageSize::A4);
}

QMarginsF reportMargins() {
    return QMarginsF(15, 12, 15, 12);
}

bool paintReports(QPagedPaintDevice& device, const std::vector<ReportContent>& reports,
                  const PageProgress& progress) {
    device.setPageMargins(reportMargins(), QPageLayout::Millimeter);
    const ReportStyle style(device);
    const QRectF page(0, 0, device.width(), device.height());
    const double band = lineHeight(style, style.small()) + style.dots(10);
    const QRectF body = page.adjusted(0, band, 0, -band);

    std::vector<LaidOutReport> laidOut;
    int pageCount = 0;
    for (const ReportContent& content : reports) {
        LaidOutReport report;
        report.content = &content;
        report.groups = layOutReport(content, style, body.width());
        report.pages = flowPages(report.groups, body.height());
        pageCount += int(report.pages.size());
        laidOut.push_back(std::move(report));
    }
    if (progress && !progress(0, pageCount))
        return false;

    QPainter painter;
    if (!painter.begin(&device))
        store::raise(store::errIo, QStringLiteral("The report could not be started on the "
                                                  "printer or file."));
    painter.setRenderHint(QPainter::Antialiasing);
    if (laidOut.empty()) {
        painter.setFont(style.body());
        painter.drawText(body, Qt::AlignTop | Qt::AlignLeft,
                         QStringLiteral("There is no vehicle to report on."));
    }
    int done = 0;
    for (const LaidOutReport& report : laidOut) {
        const int count = int(report.pages.size());
        for (int number = 1; number <= count; ++number) {
            if (done > 0)
                device.newPage();
            paintPageFrame(painter, page, body, style, *report.content, number, count);
            for (const PlacedStrip& placed : report.pages[std::size_t(number - 1)]) {
                const QRectF rect(body.left(), body.top() + placed.top, body.width(),
                                  placed.strip->height);
                painter.save();
                placed.strip->paint(painter, rect);
                painter.restore();
            }
            ++done;
            if (progress && !progress(done, pageCount)) {
                painter.end();
                return false;
            }
        }
    }
    painter.end();
    return true;
}

bool writeReportPdf(const QString& path, const std::vector<ReportContent>& reports,
                    const QPageSize& pageSize, const PageProgress& progress) {
    exporting::ExportFile file(path);
    QBuffer buffer(&file.text());
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(1200);
        writer.setPageSize(pageSize);
        writer.setCreator(QStringLiteral("Drivolex"));
        writer.setTitle(reports.size() == 1
                            ? QStringLiteral("Service Record: ") + reports.front().vehicle.lookUp
                            : QStringLiteral("Service Records"));
        if (!paintReports(writer, reports, progress))
            return false;
    }
    buffer.close();
    file.finish();
    file.commit();
    return true;
}

} // namespace report
