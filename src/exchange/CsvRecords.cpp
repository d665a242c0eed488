#include "exchange/CsvRecords.h"

#include <csv.h>

#include <algorithm>

namespace exchange {

namespace {

// What the libcsv callbacks fill in while the text is fed one physical line at a
// time, so that each record is known by the line it started on.
struct ParseState {
    const CsvRecordSink& sink;
    CsvRecord record;
    int startLine = 0;
    bool recordEnded = false;
    bool stopped = false;
};

void onField(void* bytes, std::size_t length, void* data) {
    auto* state = static_cast<ParseState*>(data);
    // libcsv gives no bytes at all for an empty unquoted field: that is a null QString,
    // while a quoted empty field ("") is empty text.
    if (!bytes) {
        state->record.fields.append(QString());
        return;
    }
    QString field =
        QString::fromUtf8(static_cast<const char*>(bytes), static_cast<qsizetype>(length));
    if (field.isNull())
        field = QStringLiteral("");
    state->record.fields.append(field);
}

void onRecordEnd(int /*terminator*/, void* data) {
    auto* state = static_cast<ParseState*>(data);
    state->record.line = state->startLine;
    state->recordEnded = true;
    if (!state->stopped && !state->sink(state->record))
        state->stopped = true;
    state->record.fields.clear();
}

// The end of the physical line starting at begin: just past its LF, CRLF or lone CR.
qsizetype lineEnd(const QByteArray& bytes, qsizetype begin) {
    for (qsizetype i = begin; i < bytes.size(); ++i) {
        if (bytes[i] == '\n')
            return i + 1;
        if (bytes[i] == '\r')
            return (i + 1 < bytes.size() && bytes[i + 1] == '\n') ? i + 2 : i + 1;
    }
    return bytes.size();
}

bool isBlank(const char* begin, const char* end) {
    return std::all_of(begin, end,
                       [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; });
}

// Ends libcsv's parser however the reading ends.
class Parser {
public:
    explicit Parser(char delimiter) {
        csv_init(&parser_, CSV_STRICT | CSV_STRICT_FINI | CSV_EMPTY_IS_NULL);
        csv_set_delim(&parser_, static_cast<unsigned char>(delimiter));
    }
    ~Parser() { csv_free(&parser_); }
    Parser(const Parser&) = delete;
    Parser& operator=(const Parser&) = delete;
    csv_parser* get() { return &parser_; }

private:
    csv_parser parser_{};
};

QString lineError(int line, const char* what) {
    return QStringLiteral("line %1: %2").arg(line).arg(QLatin1String(what));
}

} // namespace

QString readCsvRecords(const QString& text, char delimiter, const CsvRecordSink& sink) {
    const QByteArray bytes = text.toUtf8();
    Parser parser(delimiter);
    ParseState state{sink, {}, 0, false, false};
    bool recordOpen = false;
    int line = 0;
    for (qsizetype begin = 0; begin < bytes.size() && !state.stopped;) {
        const qsizetype end = lineEnd(bytes, begin);
        ++line;
        if (!recordOpen)
            state.startLine = line;
        state.recordEnded = false;
        const auto length = static_cast<std::size_t>(end - begin);
        if (csv_parse(parser.get(), bytes.constData() + begin, length, onField, onRecordEnd,
                      &state) != length) {
            if (csv_error(parser.get()) == CSV_EPARSE)
                return lineError(line, "a quote is out of place (a field holding quotes must be "
                                       "quoted, with its quotes doubled)");
            return lineError(line, csv_strerror(csv_error(parser.get())));
        }
        if (state.recordEnded)
            recordOpen = false;
        else if (!isBlank(bytes.constData() + begin, bytes.constData() + end))
            recordOpen = true;
        begin = end;
    }
    if (state.stopped)
        return {};
    if (csv_fini(parser.get(), onField, onRecordEnd, &state) != 0)
        return lineError(state.startLine, "a quoted field is not closed");
    return {};
}

} // namespace exchange
