// A file's format from its first records: section markers, then the header's names.
#include "CsvFile.h"
#include "FormatReaders.h"
#include "ImportFormats.h"
#include "ReaderSupport.h"

namespace exchange {

namespace {

// Enough records to pass a file's metadata block and reach its first header.
constexpr int kRecordsLooked = 64;

bool isSingleField(const CsvRecord& record) {
    for (qsizetype i = 1; i < record.fields.size(); ++i) {
        if (!record.fields[i].trimmed().isEmpty())
            return false;
    }
    return !record.fields.isEmpty();
}

std::optional<QString> fromMarkers(const std::vector<CsvRecord>& records) {
    bool drivvo = false;
    for (size_t i = 0; i < records.size(); ++i) {
        const CsvRecord& record = records[i];
        if (!isSingleField(record))
            continue;
        const QString marker = record.fields.front().trimmed();
        const QString lower = marker.toLower();
        if (lower == "fill-up records" || lower == "event records" ||
            (i == 0 && lower == "metadata"))
            return QStringLiteral("acar");
        if (lower.startsWith("##")) {
            const QString name = lower.mid(2).trimmed();
            if (name == "log" || name == "costcategories" || name == "favstations")
                return QStringLiteral("fuelio");
            // Fuelio's vehicle header names its unit codes; Drivvo's is translated.
            if (name == "vehicle" && i + 1 < records.size() &&
                HeaderIndex(records[i + 1].fields).has("distunit"))
                return QStringLiteral("fuelio");
        }
        if (isDrivvoSectionMarker(marker))
            drivvo = true;
    }
    if (drivvo)
        return QStringLiteral("drivvo");
    return std::nullopt;
}

std::optional<QString> fromHeader(const CsvRecord& first, char delimiter) {
    const HeaderIndex header(first.fields);
    if (delimiter == ';' && header.has("date") &&
        (header.has("quantity") || header.has("total price") || header.has("costs")))
        return QStringLiteral("spritmonitor");
    if (header.has("car_name") && header.has("fuelup_date"))
        return QStringLiteral("fuelly");
    if (header.has("odometer reading") && header.has("partial fill-up?"))
        return QStringLiteral("acar");
    if ((header.has("fuelconsumed") && header.has("isfilltofull")) ||
        (header.has("partnumber") && header.has("partquantity")) ||
        (header.has("initialodometer") && header.has("odometer")))
        return QStringLiteral("lubelogger");
    bool service = header.size() == 6;
    for (const char* name : {"date", "description", "cost", "notes", "odometer", "tags"})
        service = service && header.has(name);
    if (service)
        return QStringLiteral("lubelogger");
    if (genericColumnsFor(first.fields).missing().isEmpty())
        return QStringLiteral("generic");
    return std::nullopt;
}

} // namespace

Detection detectFormat(const QString& path) {
    Detection detection;
    std::vector<CsvRecord> records;
    const CsvFileText text = readCsvFile(path, [&records](const CsvRecord& record) {
        records.push_back(record);
        return records.size() < size_t(kRecordsLooked);
    });
    if (!text.ok() && records.empty()) {
        detection.error = text.error;
        return detection;
    }
    if (records.empty())
        return detection;
    if (!records.front().fields.isEmpty() &&
        records.front().fields.front().trimmed().startsWith(QStringLiteral("Drivolex export"),
                                                            Qt::CaseInsensitive)) {
        detection.formatId = QStringLiteral("drivolex");
        return detection;
    }
    detection.formatId = fromMarkers(records);
    if (!detection.formatId)
        detection.formatId = fromHeader(records.front(), text.delimiter);
    return detection;
}

} // namespace exchange
