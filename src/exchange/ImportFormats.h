#pragma once

#include "exchange/ImportedRows.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// The file formats the import reads, how a file's format is found from its content,
// and the readers themselves. QtCore only: no database is touched here.
namespace exchange {

struct ImportFormat {
    QString id;   // "fuelly", "acar", "fuelio", "lubelogger", "spritmonitor", "drivvo",
                  // "drivolex", "generic": what drivolex-cli's --format takes
    QString name; // "Fuelly (web site export)", as the import window's list shows it
};

// Every format, in the order the import window lists them.
const std::vector<ImportFormat>& importFormats();
const ImportFormat* findImportFormat(const QString& id);

// The format a file's content shows (headers and section markers, never the file's
// name); "generic" when only the header aliases match, none when nothing does. The
// error of a file that cannot be read as text is in `error`.
struct Detection {
    std::optional<QString> formatId;
    QString error;
};
Detection detectFormat(const QString& path);

// Reads the file as the given format. Rows the format cannot make sense of are refused
// with their line; a file that is not of the format at all (a missing required column)
// gives `error` naming the file.
ImportedFile readImportFile(const QString& path, const QString& formatId);

// The generic reader: any CSV whose header names match the aliases other programs use.
// Columns the aliases do not place can be placed by hand.
enum class GenericField {
    Ignore,
    Vehicle,
    Date,
    Odometer,
    TripDistance,
    Volume,
    TotalCost,
    UnitPrice,
    Full,
    Partial,
    Missed,
    City,
    State,
    Station,
    Note,
    Tags,
    Day, // a date in three columns: day, month and year
    Month,
    Year,
};
QString genericFieldName(GenericField field); // "Odometer", as the mapping step shows it

struct GenericColumns {
    QStringList headers;              // the file's header row, as written
    std::vector<GenericField> fields; // one per header: what it is read as
    // The fields a fuel row needs (a date, an odometer or trip distance, a volume)
    // that no column gives yet, by name; empty when the file can be read.
    QStringList missing() const;
};

// The header row and what the aliases make of it.
struct GenericHeader {
    GenericColumns columns;
    QString error; // the file cannot be read, or has no header row
};
GenericHeader readGenericHeader(const QString& path);
// What the aliases make of a header row.
GenericColumns genericColumnsFor(const QStringList& headers);

// Reads the file with the columns placed as given (by the aliases or by hand). Units
// are read from the header names ("Fuel (litres)", "km") where they show them.
ImportedFile readGenericFile(const QString& path, const GenericColumns& columns);

} // namespace exchange
