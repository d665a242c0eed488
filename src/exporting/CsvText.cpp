#include "exporting/CsvText.h"

namespace exporting::csv {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

bool needsQuotes(const char* text, qsizetype length) {
    if (length == 0 || isBlank(text[0]) || isBlank(text[length - 1]) || text[0] == '#')
        return true;
    for (qsizetype i = 0; i < length; ++i) {
        const char c = text[i];
        if (c == ',' || c == '"' || c == '\n' || c == '\r')
            return true;
    }
    return false;
}

} // namespace

void appendText(QByteArray& out, const char* utf8, qsizetype length) {
    if (!needsQuotes(utf8, length)) {
        out.append(utf8, length);
        return;
    }
    out.append('"');
    for (qsizetype i = 0; i < length; ++i) {
        if (utf8[i] == '"')
            out.append('"');
        out.append(utf8[i]);
    }
    out.append('"');
}

void appendRecord(QByteArray& out, const char* const* names, int count) {
    for (int i = 0; i < count; ++i) {
        if (i > 0)
            separate(out);
        out.append(names[i]);
    }
    endRecord(out);
}

} // namespace exporting::csv
