#pragma once

#include <QByteArray>
#include <QString>

// Writing CSV records into a byte buffer: UTF-8, comma-separated, records ending in
// CRLF, text quoted only where a reader would otherwise take it differently.
namespace exporting::csv {

// Appends one text field. Quoted when it is empty (so that it reads back as empty
// text, not as no value), holds a comma, a quote or a line break, starts or ends with
// a blank (which readers trim), or starts with '#' (which a section marker does);
// quotes inside are doubled.
void appendText(QByteArray& out, const char* utf8, qsizetype length);
inline void appendText(QByteArray& out, const QByteArray& utf8) {
    appendText(out, utf8.constData(), utf8.size());
}
inline void appendText(QByteArray& out, const QString& text) {
    appendText(out, text.toUtf8());
}

inline void separate(QByteArray& out) {
    out.append(',');
}
inline void endRecord(QByteArray& out) {
    out.append("\r\n", 2);
}

// A header or other record of plain names, none of which needs quoting.
void appendRecord(QByteArray& out, const char* const* names, int count);

} // namespace exporting::csv
