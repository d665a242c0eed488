#pragma once

#include <QByteArray>
#include <QString>

namespace exchange {

// The encodings other programs' exports come in.
enum class TextEncoding { Utf8, Utf8WithBom, Utf16LE, Utf16BE, Windows1252 };

// "UTF-8", "UTF-8 with byte-order mark", "UTF-16 LE", "UTF-16 BE", "Windows-1252".
QString encodingName(TextEncoding encoding);

struct DecodedText {
    QString text;
    TextEncoding encoding = TextEncoding::Utf8;
    QString error; // empty when the bytes are text; otherwise why not, with its line
    bool ok() const { return error.isEmpty(); }
};

// Decodes a file's bytes: a byte-order mark decides first; then UTF-16 without a
// mark when every other byte is NUL; then UTF-8 when the bytes are valid UTF-8,
// otherwise Windows-1252. Bytes holding a NUL or other binary control characters
// are not text. The mark is not part of the text.
DecodedText decodeText(const QByteArray& bytes);

} // namespace exchange
