// Feeds any bytes as a file to the import: detection, every format's reader and the
// generic reader with the aliases' columns. A refused file or row is fine; a crash, a
// sanitizer report, or a row handed on without what a row needs (a date, a volume, an
// odometer, a line) is a finding.
#include "exchange/ImportFormats.h"

#include <QFile>
#include <QTemporaryDir>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

using namespace exchange;

namespace {

[[noreturn]] void finding(const char* what, const QString& format, int line) {
    std::fprintf(stderr, "%s\n  format: %s\n  line:   %d\n", what, qPrintable(format), line);
    std::abort();
}

void check(const ImportedFile& file, const QString& format) {
    if (!file.ok())
        return;
    if (file.vehicles.empty())
        finding("a read file without a vehicle", format, 0);
    for (const ImportedFuel& fuel : file.fuel) {
        if (fuel.line <= 0 || !fuel.date || !fuel.date->isValid() || !fuel.gallons ||
            !fuel.odometer)
            finding("a fuel row without what a row needs", format, fuel.line);
        if (!std::isfinite(*fuel.gallons) || !std::isfinite(*fuel.odometer) || *fuel.gallons < 0)
            finding("a fuel row with a volume or odometer that is no number", format, fuel.line);
        if (fuel.date->timeSpec() != Qt::UTC)
            finding("a date that is not the store's wall-clock value", format, fuel.line);
    }
    for (const ImportedWorkOrder& order : file.workOrders) {
        if (order.line <= 0 || !order.date || !order.date->isValid())
            finding("a work order without its line or date", format, order.line);
    }
    for (const RowProblem& refusal : file.refusals) {
        if (refusal.line <= 0 || refusal.message.isEmpty())
            finding("a refusal without its line or reason", format, refusal.line);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("input.csv"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            std::abort();
        file.write(reinterpret_cast<const char*>(data), qint64(size));
    }
    const Detection detection = detectFormat(path);
    if (detection.formatId && !findImportFormat(*detection.formatId))
        finding("detection names a format that is not listed", *detection.formatId, 0);
    for (const ImportFormat& format : importFormats())
        check(readImportFile(path, format.id), format.id);
    const GenericHeader header = readGenericHeader(path);
    if (header.error.isEmpty()) {
        GenericColumns columns = header.columns;
        // Also by hand: the first columns placed as a date, an odometer and a volume.
        check(readGenericFile(path, columns), QStringLiteral("generic"));
        const GenericField placed[] = {GenericField::Date, GenericField::TripDistance,
                                       GenericField::Volume, GenericField::UnitPrice};
        for (size_t i = 0; i < columns.fields.size() && i < std::size(placed); ++i)
            columns.fields[i] = placed[i];
        check(readGenericFile(path, columns), QStringLiteral("generic by hand"));
    }
    return 0;
}
