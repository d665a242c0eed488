#include "exchange/TextDecoding.h"

#include "exchange/Windows1252.h"

#include <QStringDecoder>
#include <algorithm>

namespace exchange {

namespace {

enum class NulPattern { None, Utf16LE, Utf16BE };

// Text in UTF-16 without a mark: in the first kilobyte, every other byte is NUL
// (at odd offsets for little-endian) for at least half the characters, and the
// other offsets hold none.
NulPattern utf16NulPattern(const QByteArray& bytes) {
    const qsizetype pairs = std::min<qsizetype>(bytes.size(), 1024) / 2;
    qsizetype evenNuls = 0;
    qsizetype oddNuls = 0;
    for (qsizetype i = 0; i < pairs; ++i) {
        evenNuls += bytes[2 * i] == '\0';
        oddNuls += bytes[2 * i + 1] == '\0';
    }
    if (pairs == 0)
        return NulPattern::None;
    if (evenNuls == 0 && oddNuls * 2 >= pairs)
        return NulPattern::Utf16LE;
    if (oddNuls == 0 && evenNuls * 2 >= pairs)
        return NulPattern::Utf16BE;
    return NulPattern::None;
}

// A NUL or a control character no text file holds; tab, line breaks, form feed
// and the old end-of-file mark (0x1A) are text.
bool isBinaryControl(QChar c) {
    const char16_t u = c.unicode();
    return u < 0x20 && u != '\t' && u != '\n' && u != '\r' && u != '\f' && u != '\v' && u != 0x1A;
}

int lineAt(const QString& text, qsizetype index) {
    return static_cast<int>(text.left(index).count(QLatin1Char('\n'))) + 1;
}

DecodedText decodeUtf16(const QByteArray& body, TextEncoding encoding) {
    QStringDecoder decoder(encoding == TextEncoding::Utf16LE ? QStringConverter::Utf16LE
                                                             : QStringConverter::Utf16BE,
                           QStringConverter::Flag::Stateless);
    DecodedText decoded{decoder.decode(body), encoding, {}};
    if (decoder.hasError() || body.size() % 2 != 0)
        decoded.error = QStringLiteral("not valid %1 text").arg(encodingName(encoding));
    return decoded;
}

DecodedText decodeBytes(const QByteArray& bytes) {
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
        DecodedText decoded{decoder.decode(bytes.mid(3)), TextEncoding::Utf8WithBom, {}};
        if (decoder.hasError())
            decoded.error = QStringLiteral("starts as UTF-8 but holds bytes that are not UTF-8");
        return decoded;
    }
    if (bytes.startsWith("\xFF\xFE"))
        return decodeUtf16(bytes.mid(2), TextEncoding::Utf16LE);
    if (bytes.startsWith("\xFE\xFF"))
        return decodeUtf16(bytes.mid(2), TextEncoding::Utf16BE);
    switch (utf16NulPattern(bytes)) {
    case NulPattern::Utf16LE:
        return decodeUtf16(bytes, TextEncoding::Utf16LE);
    case NulPattern::Utf16BE:
        return decodeUtf16(bytes, TextEncoding::Utf16BE);
    case NulPattern::None:
        break;
    }
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (!decoder.hasError())
        return {text, TextEncoding::Utf8, {}};
    return {decodeWindows1252(bytes), TextEncoding::Windows1252, {}};
}

} // namespace

QString encodingName(TextEncoding encoding) {
    switch (encoding) {
    case TextEncoding::Utf8:
        return QStringLiteral("UTF-8");
    case TextEncoding::Utf8WithBom:
        return QStringLiteral("UTF-8 with byte-order mark");
    case TextEncoding::Utf16LE:
        return QStringLiteral("UTF-16 LE");
    case TextEncoding::Utf16BE:
        return QStringLiteral("UTF-16 BE");
    case TextEncoding::Windows1252:
        return QStringLiteral("Windows-1252");
    }
    return {};
}

DecodedText decodeText(const QByteArray& bytes) {
    DecodedText decoded = decodeBytes(bytes);
    if (!decoded.ok())
        return decoded;
    const auto binary = std::find_if(decoded.text.cbegin(), decoded.text.cend(), isBinaryControl);
    if (binary != decoded.text.cend()) {
        decoded.error = QStringLiteral("line %1: not a text file (it holds binary bytes)")
                            .arg(lineAt(decoded.text, binary - decoded.text.cbegin()));
    }
    return decoded;
}

} // namespace exchange
