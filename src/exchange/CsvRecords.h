#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace exchange {

// One CSV record and the file line it starts on (1-based, physical lines, so a
// field holding a line break moves the next record's line on).
struct CsvRecord {
    int line = 0;
    QStringList fields;
};

// Called for each record as it comes; returning false stops the reading. Section
// files (a marker line, then a header and rows) are split by the caller on the way.
using CsvRecordSink = std::function<bool(const CsvRecord&)>;

// Parses CSV text with libcsv in strict mode: quoted fields may hold delimiters,
// doubled quotes and line breaks; lines end in LF, CRLF or CR; the last line needs
// no line break; empty fields are kept, an unquoted one as a null QString and a
// quoted one ("") as empty text, so that a file can tell NULL from ''; blank lines
// are skipped; spaces around an unquoted field are trimmed. Returns an empty string when the whole
// text was read (or the sink stopped), otherwise "line N: what is wrong".
QString readCsvRecords(const QString& text, char delimiter, const CsvRecordSink& sink);

} // namespace exchange
