#pragma once

#include "exporting/Export.h"

namespace exporting {

class ExportRun;

// Our own format: one CSV file holding every table and every field, the program's
// extra tables too (see the manual, "Our own export format"). Keys are written as
// ordinals in key order and references by those ordinals, so that the same records
// give the same bytes whatever keys the file gave them. Returns false when cancelled.
bool writeOwnFormat(ExportRun& run, const QString& outPath, ExportResult& result);

} // namespace exporting
