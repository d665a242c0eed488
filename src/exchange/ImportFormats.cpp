#include "ImportFormats.h"

#include "FormatReaders.h"
#include "OwnFormatReader.h"
#include "ReaderSupport.h"

namespace exchange {

const std::vector<ImportFormat>& importFormats() {
    static const std::vector<ImportFormat> formats = {
        {QStringLiteral("fuelly"), QStringLiteral("Fuelly (web site export)")},
        {QStringLiteral("acar"), QStringLiteral("aCar (CSV export)")},
        {QStringLiteral("fuelio"), QStringLiteral("Fuelio (backup CSV)")},
        {QStringLiteral("lubelogger"), QStringLiteral("LubeLogger (CSV export)")},
        {QStringLiteral("spritmonitor"), QStringLiteral("Spritmonitor (CSV export)")},
        {QStringLiteral("drivvo"), QStringLiteral("Drivvo (CSV export)")},
        {QStringLiteral("drivolex"), QStringLiteral("Drivolex (export)")},
        {QStringLiteral("generic"), QStringLiteral("Other CSV (columns by name)")},
    };
    return formats;
}

const ImportFormat* findImportFormat(const QString& id) {
    for (const ImportFormat& format : importFormats()) {
        if (format.id == id)
            return &format;
    }
    return nullptr;
}

ImportedFile readImportFile(const QString& path, const QString& formatId) {
    if (formatId == "fuelly")
        return readFuellyWebFile(path);
    if (formatId == "acar")
        return readACarFile(path);
    if (formatId == "fuelio")
        return readFuelioFile(path);
    if (formatId == "lubelogger")
        return readLubeLoggerFile(path);
    if (formatId == "spritmonitor")
        return readSpritmonitorFile(path);
    if (formatId == "drivvo")
        return readDrivvoFile(path);
    if (formatId == "drivolex")
        return readOwnFormat(path);
    ImportedFile file;
    file.formatId = formatId;
    if (formatId == "generic") {
        const GenericHeader header = readGenericHeader(path);
        if (!header.error.isEmpty()) {
            file.error = header.error;
            return file;
        }
        return readGenericFile(path, header.columns);
    }
    file.error = QStringLiteral("format '%1' is not known").arg(formatId);
    return file;
}

} // namespace exchange
