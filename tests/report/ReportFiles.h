#pragma once

#include "report/ReportContent.h"
#include "report/ReportPages.h"
#include "store/Connection.h"

#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace report_test {

// A PDF's text as pdftotext gives it (poppler-utils), pages parted by form feeds.
inline QString pdfText(const QString& pdf, const QStringList& options = {}) {
    QProcess process;
    process.start(QStringLiteral("pdftotext"), options + QStringList{pdf, QStringLiteral("-")});
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return QStringLiteral("pdftotext failed: ") +
               QString::fromLocal8Bit(process.readAllStandardError());
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The pages of a PDF's text.
inline QStringList pdfPages(const QString& pdf, const QStringList& options = {}) {
    QStringList pages = pdfText(pdf, options).split(QLatin1Char('\f'));
    if (!pages.isEmpty() && pages.back().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}

// Reports read from a file with the options given, for the tests that check them.
inline std::vector<report::ReportContent> reportsOf(const QString& path,
                                                    report::ReportOptions options = {}) {
    if (options.periodText.isEmpty())
        options.periodText = QStringLiteral("All Time");
    if (!options.printedOn.isValid())
        options.printedOn = QDate(2026, 12, 9);
    const store::ConnectionHandle connection = store::openReadOnlyConnection(path);
    return report::readReports(connection.get(), options);
}

} // namespace report_test
