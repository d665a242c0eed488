#include "QueryText.h"

#include <QRegularExpression>

namespace store {

namespace {

bool isNameStart(QChar c) {
    return c.isLetter() || c == QLatin1Char('_');
}
bool isNamePart(QChar c) {
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

} // namespace

bool tokenize(const QString& text, QList<QueryToken>* tokens) {
    tokens->clear();
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n) {
        const QChar c = text[i];
        if (c.isSpace()) {
            ++i;
        } else if (isNameStart(c)) {
            const qsizetype start = i;
            while (i < n && isNamePart(text[i]))
                ++i;
            tokens->append({QueryToken::Name, text.mid(start, i - start), false});
        } else if (c == QLatin1Char('[')) {
            const qsizetype close = text.indexOf(QLatin1Char(']'), i + 1);
            if (close < 0 || close == i + 1)
                return false;
            tokens->append({QueryToken::Name, text.mid(i + 1, close - i - 1), true});
            i = close + 1;
        } else if (c.isDigit() || ((c == QLatin1Char('-') || c == QLatin1Char('+')) && i + 1 < n &&
                                   (text[i + 1].isDigit() || text[i + 1] == QLatin1Char('.')))) {
            const qsizetype start = i++;
            while (i < n && (text[i].isDigit() || text[i] == QLatin1Char('.')))
                ++i;
            if (i < n && isNamePart(text[i]))
                return false; // "12abc" is neither a number nor a name
            tokens->append({QueryToken::Number, text.mid(start, i - start), false});
        } else if (QStringLiteral("*=,;").contains(c)) {
            tokens->append({QueryToken::Symbol, QString(c), false});
            ++i;
        } else {
            return false;
        }
    }
    tokens->append({QueryToken::End, QString(), false});
    return true;
}

bool readEqualityTerms(const QList<QueryToken>& tokens, qsizetype* pos,
                       QList<EqualityTerm>* terms) {
    qsizetype i = *pos;
    for (;;) {
        if (tokens[i].kind != QueryToken::Name || tokens[i + 1].kind == QueryToken::End ||
            !tokens[i + 1].isSymbol('=') || tokens[i + 2].kind != QueryToken::Number)
            return false;
        static const QRegularExpression plainNumber(QStringLiteral("^[+-]?[0-9]+(\\.[0-9]+)?$"));
        if (!plainNumber.match(tokens[i + 2].text).hasMatch())
            return false;
        terms->append({tokens[i].text, tokens[i + 2].text});
        i += 3;
        if (!tokens[i].isWord("AND"))
            break;
        ++i;
    }
    *pos = i;
    return true;
}

} // namespace store
