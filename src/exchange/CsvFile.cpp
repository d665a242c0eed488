#include "exchange/CsvFile.h"

#include "exchange/Delimiter.h"

#include <QFile>
#include <QFileInfo>

namespace exchange {

CsvFileText readCsvFile(const QString& path, const CsvRecordSink& sink) {
    CsvFileText about;
    const QString fileName = QFileInfo(path).fileName();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        about.error = QStringLiteral("%1: cannot be read: %2").arg(fileName, file.errorString());
        return about;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        about.error = QStringLiteral("%1: cannot be read: %2").arg(fileName, file.errorString());
        return about;
    }
    const DecodedText decoded = decodeText(bytes);
    about.encoding = decoded.encoding;
    if (!decoded.ok()) {
        about.error = QStringLiteral("%1: %2").arg(fileName, decoded.error);
        return about;
    }
    about.delimiter = detectDelimiter(decoded.text);
    const QString error = readCsvRecords(decoded.text, about.delimiter, sink);
    if (!error.isEmpty())
        about.error = QStringLiteral("%1: %2").arg(fileName, error);
    return about;
}

CsvTable loadCsvFile(const QString& path) {
    CsvTable table;
    table.text = readCsvFile(path, [&table](const CsvRecord& record) {
        table.records.push_back(record);
        return true;
    });
    return table;
}

} // namespace exchange
