#pragma once

#include "exchange/CsvRecords.h"
#include "exchange/TextDecoding.h"

#include <QString>
#include <vector>

namespace exchange {

// What reading a CSV file found out about its text.
struct CsvFileText {
    TextEncoding encoding = TextEncoding::Utf8;
    char delimiter = ',';
    QString error; // "fuel.csv: line 214: a quoted field is not closed"; empty when read
    bool ok() const { return error.isEmpty(); }
};

// Reads the file at path: decodes it, detects its delimiter, and hands each record
// to the sink as it comes (a format reader splitting section files works here).
// Records before an error have been handed on; the error names the file.
CsvFileText readCsvFile(const QString& path, const CsvRecordSink& sink);

struct CsvTable {
    CsvFileText text;
    std::vector<CsvRecord> records;
};

// The whole file's records at once.
CsvTable loadCsvFile(const QString& path);

} // namespace exchange
