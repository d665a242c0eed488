#pragma once

#include <QList>
#include <QString>

namespace store {

// The pieces of a record-source text or a find criterion.
struct QueryToken {
    enum Kind { Name, Number, Symbol, End } kind = End;
    QString text; // a name without its brackets, a number with its sign, or the symbol
    bool isWord(const char* word) const {
        return kind == Name && !bracketed &&
               text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
    }
    bool isSymbol(char c) const { return kind == Symbol && text == QLatin1Char(c); }
    bool bracketed = false;
};

// Splits the text into tokens; returns false for a character the store does not know.
bool tokenize(const QString& text, QList<QueryToken>* tokens);

// One "field = number" term of a WHERE clause or a criterion.
struct EqualityTerm {
    QString field;
    QString number; // plain decimal text as written, sign included
};

// Reads "field = number [AND field = number ...]" from tokens[*pos]; stops before
// the first token that does not continue the list. Returns false on a malformed term.
bool readEqualityTerms(const QList<QueryToken>& tokens, qsizetype* pos, QList<EqualityTerm>* terms);

} // namespace store
