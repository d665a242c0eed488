#include "PreviewReading.h"

#include "history/HistoryReader.h"
#include "store/Connection.h"

namespace importwindows {

PreviewResult readPreview(const PreviewRequest& request) {
    PreviewResult result;
    result.rowsRead = request.rowsRead;
    result.formatId = request.formatId;
    result.columns = request.columns;
    if (!result.rowsRead && result.formatId.isEmpty()) {
        const exchange::Detection detection = exchange::detectFormat(request.filePath);
        if (!detection.error.isEmpty()) {
            result.fileError = detection.error;
            return result;
        }
        // A file of no program we know may still be read once its columns are placed.
        result.formatId = detection.formatId.value_or(QStringLiteral("generic"));
    }
    if (!result.rowsRead && result.formatId == QLatin1String("generic") && !result.columns) {
        const exchange::GenericHeader header = exchange::readGenericHeader(request.filePath);
        if (!header.error.isEmpty()) {
            result.fileError = header.error;
            return result;
        }
        result.columns = header.columns;
    }
    if (!result.rowsRead && result.columns && !result.columns->missing().isEmpty()) {
        result.fileError = QStringLiteral("No column is read as %1: choose what each column "
                                          "holds under Columns.")
                               .arg(result.columns->missing().join(QLatin1String(", ")));
        return result;
    }
    if (!result.rowsRead) {
        auto read = std::make_shared<exchange::ImportedFile>(
            result.columns ? exchange::readGenericFile(request.filePath, *result.columns)
                           : exchange::readImportFile(request.filePath, result.formatId));
        if (!read->ok()) {
            result.fileError = read->error;
            return result;
        }
        result.rowsRead = std::move(read);
    }
    try {
        store::ConnectionHandle connection = store::openReadOnlyConnection(request.databasePath);
        for (const history::VehicleName& vehicle :
             history::HistoryReader(connection.get()).vehicles())
            result.vehicles.emplace_back(vehicle.vehicleId, vehicle.lookUp);
        std::vector<importing::VehicleTarget> targets =
            request.targets ? *request.targets
                            : importing::defaultTargets(connection.get(), *result.rowsRead);
        result.plan = std::make_shared<importing::ImportPlan>(
            importing::planImport(connection.get(), *result.rowsRead, std::move(targets)));
    } catch (...) {
        result.failure = std::current_exception();
    }
    return result;
}

} // namespace importwindows
