#include "exporting/Export.h"

#include "exporting/ExportRun.h"
#include "exporting/FuellyExport.h"
#include "exporting/LubeLoggerExport.h"
#include "exporting/OwnFormatExport.h"
#include "store/StoreErrors.h"

namespace exporting {

const std::vector<ExportFormat>& exportFormats() {
    static const std::vector<ExportFormat> all{
        {QStringLiteral("drivolex"), QStringLiteral("Drivolex (every table, every field)")},
        {QStringLiteral("lubelogger"),
         QStringLiteral("LubeLogger (gas, service and supplies CSV)")},
        {QStringLiteral("fuelly"), QStringLiteral("Fuelly (web site CSV)")},
    };
    return all;
}

const ExportFormat* findExportFormat(const QString& id) {
    for (const ExportFormat& format : exportFormats())
        if (format.id.compare(id, Qt::CaseInsensitive) == 0)
            return &format;
    return nullptr;
}

ExportResult exportDatabase(sqlite3* db, const QString& formatId, std::optional<qint64> vehicleId,
                            const QString& outPath, const ExportProgress& progress) {
    const ExportFormat* format = findExportFormat(formatId);
    if (!format)
        store::raise(store::errInvalidOperation,
                     QStringLiteral("The export file '%1' could not be written: there is no export "
                                    "format '%2'.")
                         .arg(outPath, formatId));
    ExportRun run(db, vehicleId, progress);
    if (vehicleId &&
        run.scalar(QStringLiteral("SELECT count(*) FROM VehicleInfo WHERE VehicleID = ?"),
                   QStringLiteral("VehicleInfo")) == 0)
        store::raise(store::errNoCurrentRecord,
                     QStringLiteral("The export file '%1' could not be written: the file '%2' has "
                                    "no vehicle %3.")
                         .arg(outPath, run.databaseFile())
                         .arg(*vehicleId));
    ExportResult result;
    bool whole = false;
    if (format->id == QLatin1String("drivolex"))
        whole = writeOwnFormat(run, outPath, result);
    else if (format->id == QLatin1String("lubelogger"))
        whole = writeLubeLogger(run, outPath, result);
    else
        whole = writeFuelly(run, outPath, result);
    if (!whole)
        return ExportResult{true, {}, 0, 0};
    return result;
}

} // namespace exporting
