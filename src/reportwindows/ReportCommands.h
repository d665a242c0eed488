#pragma once

#include "report/ReportContent.h"

#include <QString>

class QWidget;
struct sqlite3;

namespace reportwindows {

// What a window's report commands print: whose reports and for which period, and the
// name the document goes by (the print job's name, and the PDF's before ".pdf").
struct ReportRequest {
    report::ReportOptions options;
    QString documentName;
    QString folder; // where the save dialog begins
};

// "Civic service record" for a vehicle's Look Up, "Service records" for every vehicle;
// characters no file name may hold become "-".
QString documentNameOf(const QString& lookUp);

// Each reads the reports from db when asked, lays the pages out with a progress bar
// that can cancel, and tells a failure in a message box naming the printer or the
// file. None throws.

// The print dialog, then the pages on the printer chosen. A cancelled print to a
// file leaves no file.
void printReports(QWidget* owner, sqlite3* db, const ReportRequest& request);
// The print preview, on the system's default printer and page size; the preview's
// own Print prints the same pages.
void previewReports(QWidget* owner, sqlite3* db, const ReportRequest& request);
// The save dialog, then the PDF file on the system's default page size. Returns
// the file written; empty after a cancel or a failure, which leave no file.
QString exportReportPdf(QWidget* owner, sqlite3* db, const ReportRequest& request);

} // namespace reportwindows
