#pragma once

#include "ReportContent.h"

#include <QMarginsF>
#include <QPageSize>
#include <functional>

class QPagedPaintDevice;

namespace report {

// Pages painted so far and the pages in all; false stops the painting.
using PageProgress = std::function<bool(int pagesDone, int pageCount)>;

// Letter where the system's measures are American, A4 elsewhere.
QPageSize defaultPageSize();
// Margins, in millimetres, that every common printer can print within.
QMarginsF reportMargins();

// Lays the reports out on the device's page size and paints them, each from a new
// page, each with its own "Page n of m". The device's margins are set to the
// report's, so a preview, a printer and a PDF writer give the same pages. Returns
// false when progress stopped it (what the device holds is then unfinished).
bool paintReports(QPagedPaintDevice& device, const std::vector<ReportContent>& reports,
                  const PageProgress& progress = {});

// Writes the reports as a PDF file under a temporary name beside path and moves it
// into place when whole, so a failure or a cancel never leaves half a file nor
// touches a file already there. Returns false when cancelled; throws the store's
// error naming the file.
bool writeReportPdf(const QString& path, const std::vector<ReportContent>& reports,
                    const QPageSize& pageSize, const PageProgress& progress = {});

} // namespace report
