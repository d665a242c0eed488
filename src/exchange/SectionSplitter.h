#pragma once

#include "exchange/CsvRecords.h"

#include <QString>
#include <functional>
#include <optional>
#include <vector>

// Files made of sections, each a marker line, then a header and its rows: aCar's
// blocks ("Fill-Up Records"), Fuelio's "## Log", Drivvo's "##Refuelling".
namespace exchange {

struct CsvSection {
    QString name; // the marker as the file writes it, trimmed; empty before any marker
    int line = 0; // the marker's line
    std::optional<CsvRecord> header; // the record after the marker
    std::vector<CsvRecord> rows;
};

// The marker's name when the record is one, otherwise nothing.
using SectionMarker = std::function<std::optional<QString>(const CsvRecord&)>;

// Splits records into sections. Records before the first marker make a section with
// an empty name and no header, so that none is lost. `withHeader` false keeps the
// record after a marker among the rows.
std::vector<CsvSection> splitSections(const std::vector<CsvRecord>& records,
                                      const SectionMarker& marker, bool withHeader = true);

} // namespace exchange
