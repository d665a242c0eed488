#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

struct sqlite3;

// Writing a database's rows out for another program, or for our own import to take back.
namespace exporting {

struct ExportFormat {
    QString id;   // "drivolex", "lubelogger", "fuelly": what drivolex-cli's --format takes
    QString name; // "Drivolex (every table, every field)", as the export window lists it
};

// Every format, in the order the export window lists them.
const std::vector<ExportFormat>& exportFormats();
const ExportFormat* findExportFormat(const QString& id);

// Told how far the writing has come; returning false cancels it.
using ExportProgress = std::function<bool(qint64 done, qint64 total)>;

struct ExportResult {
    bool cancelled = false;
    QStringList files; // every file written (a format of one kind per file writes several)
    qint64 fuelRows = 0;
    qint64 workOrders = 0;
};

// Writes the rows of one vehicle (or of all) in the format to outPath (and, for a format
// of one kind of row per file, beside it, named after it). Each file is written under a
// temporary name and renamed when whole, so a cancel or a failure leaves no half file and
// an existing file as it was. Throws the store's error naming the file.
ExportResult exportDatabase(sqlite3* db, const QString& formatId, std::optional<qint64> vehicleId,
                            const QString& outPath, const ExportProgress& progress = {});

} // namespace exporting
