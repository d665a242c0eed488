#pragma once

#include "exporting/Export.h"

namespace exporting {

class ExportRun;

// Fuelly's web site CSV: one row per fuel purchase of every vehicle that goes out, the
// vehicle named by its Look Up, the MPG of the tank a full fill closes. Returns false
// when cancelled.
bool writeFuelly(ExportRun& run, const QString& outPath, ExportResult& result);

} // namespace exporting
