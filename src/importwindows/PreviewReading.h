#pragma once

#include "exchange/ImportFormats.h"
#include "importing/ImportPlan.h"

#include <exception>
#include <memory>
#include <optional>

namespace importwindows {

// What the preview asks for: the file read as a format (or the rows already read) and
// planned against the database, with the vehicles' targets (the defaults when none).
struct PreviewRequest {
    QString filePath;
    QString formatId;                                       // empty: found from the file's content
    std::optional<exchange::GenericColumns> columns;        // the generic format's placing
    std::shared_ptr<const exchange::ImportedFile> rowsRead; // set: not read again
    QString databasePath;
    std::optional<std::vector<importing::VehicleTarget>> targets;
};

struct PreviewResult {
    QString formatId; // the format read (found, when the request named none)
    std::optional<exchange::GenericColumns> columns;        // the generic format's placing
    std::shared_ptr<const exchange::ImportedFile> rowsRead; // empty when the file failed
    std::shared_ptr<importing::ImportPlan> plan;            // empty on any failure
    std::vector<std::pair<qint64, QString>> vehicles;       // the database's, key and Look Up
    QString fileError; // the file cannot be read as the format, or its columns are not placed
    std::exception_ptr failure; // the database could not be read
};

// Runs off the window's thread, over a read-only connection of its own.
PreviewResult readPreview(const PreviewRequest& request);

} // namespace importwindows
