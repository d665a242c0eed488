#pragma once

#include "exporting/Export.h"

namespace exporting {

class ExportRun;

// LubeLogger's CSV files of one vehicle: the gas records at outPath, beside it
// <stem>.service.csv (one row per work order) and, when the vehicle has parts,
// <stem>.supplies.csv. US dates, plain decimal numbers, flags True/False. Its files
// hold no vehicle column: an export of every vehicle of a file of several is refused.
// Returns false when cancelled.
bool writeLubeLogger(ExportRun& run, const QString& outPath, ExportResult& result);

} // namespace exporting
