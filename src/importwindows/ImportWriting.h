#pragma once

#include "importing/ImportPlan.h"

#include <optional>

class QWidget;

namespace importwindows {

// Writes the plan into the database in use through the connection the record windows
// share, with a progress bar and Cancel once it takes longer than half a second, and
// tells the user how it ended in a box: what was written and where the copy taken
// before it lies, or that the file is as it was (cancelled, or the error). Nothing
// when it did not end written.
std::optional<importing::ImportResult>
writeWithProgress(QWidget* owner, const QString& databasePath, const importing::ImportPlan& plan);

} // namespace importwindows
