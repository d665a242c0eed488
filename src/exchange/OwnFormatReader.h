#pragma once

#include "exchange/ImportedRows.h"

#include <QString>

namespace exchange {

// Reads a file of our own export format (one CSV file: a "Drivolex export,1" line,
// then a section per table, each a "## Table" line, its header and its rows) into
// the import's model: vehicles with their fields (also those without rows), fuel
// rows with their missed marks and the values kept aside, work orders with their
// services, parts, note and tags. A City or State kept aside is the whole value and
// wins over the one the Fuel table holds (cut to its size), as a vehicle's Make, Model
// or serial number kept aside wins over its own. A row that cannot be read
// is refused with its line and why, and with it the row it belongs to (a fuel row or
// work order is never taken in part). An unknown version, a missing section or
// section marker, or a section without a column it needs is an error naming the file.
ImportedFile readOwnFormat(const QString& path);

} // namespace exchange
