#include "RecordSource.h"

#include "StoreErrors.h"

#include <QRegularExpression>

namespace store {

namespace {

[[noreturn]] void syntaxError(const QString& text) {
    raise(errSyntaxInQuery,
          QStringLiteral("The record source \"%1\" is not a table name or a select text the "
                         "program understands.")
              .arg(text));
}

bool isSelectText(const QString& text) {
    static const QRegularExpression selectWord(QStringLiteral("^select\\b"),
                                               QRegularExpression::CaseInsensitiveOption);
    return selectWord.match(text).hasMatch();
}

void readOrder(const QList<QueryToken>& tokens, qsizetype* pos, QList<OrderItem>* order,
               const QString& text) {
    qsizetype i = *pos;
    for (;;) {
        if (tokens[i].kind != QueryToken::Name)
            syntaxError(text);
        OrderItem item{tokens[i].text, false};
        ++i;
        if (tokens[i].isWord("DESC")) {
            item.descending = true;
            ++i;
        } else if (tokens[i].isWord("ASC")) {
            ++i;
        }
        order->append(item);
        if (!tokens[i].isSymbol(','))
            break;
        ++i;
    }
    *pos = i;
}

} // namespace

RecordSource parseRecordSource(const QString& text) {
    const QString trimmed = text.trimmed();
    QList<QueryToken> tokens;
    if (!isSelectText(trimmed)) {
        // A table name alone, possibly in brackets.
        QString name = trimmed;
        if (name.startsWith(QLatin1Char('[')) && name.endsWith(QLatin1Char(']')))
            name = name.mid(1, name.size() - 2);
        if (name.isEmpty() || name.contains(QLatin1Char('[')) || name.contains(QLatin1Char(']')))
            syntaxError(text);
        return RecordSource{name, {}, {}};
    }

    if (!tokenize(trimmed, &tokens))
        syntaxError(text);
    RecordSource source;
    qsizetype i = 1;
    if (!tokens[i++].isSymbol('*') || !tokens[i++].isWord("FROM") ||
        tokens[i].kind != QueryToken::Name)
        syntaxError(text);
    source.table = tokens[i++].text;
    if (tokens[i].isWord("WHERE")) {
        ++i;
        if (!readEqualityTerms(tokens, &i, &source.where))
            syntaxError(text);
    }
    if (tokens[i].isWord("ORDER")) {
        ++i;
        if (!tokens[i++].isWord("BY"))
            syntaxError(text);
        readOrder(tokens, &i, &source.order, text);
    }
    if (tokens[i].isSymbol(';'))
        ++i;
    if (tokens[i].kind != QueryToken::End)
        syntaxError(text);
    return source;
}

QList<EqualityTerm> parseCriteria(const QString& text) {
    QList<QueryToken> tokens;
    QList<EqualityTerm> terms;
    qsizetype i = 0;
    if (!tokenize(text, &tokens) || !readEqualityTerms(tokens, &i, &terms) ||
        tokens[i].kind != QueryToken::End)
        raise(errSyntaxInExpression,
              QStringLiteral("The search \"%1\" is not of the form field = number.").arg(text));
    return terms;
}

} // namespace store
