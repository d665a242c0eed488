#pragma once

#include "exchange/CsvFile.h"
#include "exchange/CsvRecords.h"
#include "exchange/FieldText.h"
#include "exchange/ImportedRows.h"

#include <QString>
#include <QStringList>
#include <initializer_list>
#include <optional>
#include <vector>

// What every format reader does alike: columns found by name, fields read with a
// refusal that names the field and its text, and fuel rows finished the same way.
namespace exchange {

// A header row's columns by name, lower case and trimmed. A repeated name ("Place
// City" twice in aCar's events) finds its first column.
class HeaderIndex {
public:
    HeaderIndex() = default;
    explicit HeaderIndex(const QStringList& header);
    int column(const char* name) const; // -1 when the header has none
    int firstOf(std::initializer_list<const char*> names) const;
    bool has(const char* name) const { return column(name) >= 0; }
    int size() const { return int(names_.size()); }
    const QString& name(int column) const { return names_[column]; } // lower case

private:
    QStringList names_;
};

// One record's fields as one row reads them. The first problem refuses the row;
// reading on after it is harmless, so a reader reads every field and then asks.
class RowReader {
public:
    RowReader(const CsvRecord& record, DecimalMark mark) : record_(record), mark_(mark) {}

    int line() const { return record_.line; }
    QString text(int column) const;     // trimmed; empty for a column the row lacks
    QString nullable(int column) const; // as text, but null when empty
    std::optional<double> number(int column, const char* field, bool negativeAllowed = false);
    std::optional<values::Currency> money(int column, const char* field);
    std::optional<QDateTime> date(int column, DateOrder order, const char* field = "date");
    std::optional<QDateTime> dateText(const QString& text, DateOrder order,
                                      const char* field = "date");
    // The total of a purchase given by its unit price (see totalFromUnitPrice); refuses
    // the row when the product is beyond what money holds.
    std::optional<values::Currency> costFromPrice(int priceColumn, values::Currency price,
                                                  double volume);
    // A flag; `otherwise` when the field is empty or missing.
    bool flag(int column, const char* field, bool otherwise);

    void refuse(const QString& why);
    bool refused() const { return !problem_.isEmpty(); }
    const QString& problem() const { return problem_; }

private:
    const CsvRecord& record_;
    DecimalMark mark_;
    QString problem_;
};

// The base name of a file ("fuel" for ".../fuel.csv"): the vehicle of a file that
// names none.
QString fileVehicleName(const QString& path);
QString fileNameOf(const QString& path);

// Adds the vehicle unless the file has one of that name; returns its index.
size_t noteVehicle(ImportedFile& file, const ImportedVehicle& vehicle);

void warn(ImportedFile& file, int line, const QString& message);
void refuse(ImportedFile& file, int line, const QString& message);

// The file's records for a reader that takes them all at once: nothing, with the
// file's error set, when the file cannot be read or holds no record.
std::optional<CsvTable> loadRecords(const QString& path, ImportedFile& file);

// A service visit read from its row: kept, or refused with the row's first problem (a
// visit without a date is refused too).
void addWorkOrder(ImportedFile& file, RowReader& row, ImportedWorkOrder order);

// The total of a purchase given by its unit price, rounded to cents as money is paid.
// Nothing when the product is beyond what money holds.
std::optional<values::Currency> totalFromUnitPrice(values::Currency price, double volume);

// The fuel rows of a file, gathered and then finished: rows without a date, a volume or
// an odometer (or a trip to make one from) are refused; odometers missing beside a trip
// distance become the running sum of trips in date order (from the vehicle's last known
// odometer), said once in a warning.
class FuelRows {
public:
    void add(ImportedFile& file, const RowReader& row, ImportedFuel fuel,
             std::optional<double> tripMiles = std::nullopt);
    void finish(ImportedFile& file);

private:
    std::vector<ImportedFuel> rows_;
    std::vector<std::optional<double>> trips_;
    // A refused row's trip still moves the running odometer on, so one bad row does not
    // shift every later odometer; such rows are not kept.
    std::vector<bool> kept_;
};

// A work order's total as one part: the cost kept whole, described by the order's title.
ImportedPart costAsPart(const QString& description, values::Currency cost);

} // namespace exchange
