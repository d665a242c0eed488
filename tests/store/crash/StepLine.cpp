#include "StepLine.h"

#include <QStringList>

namespace crash {

namespace {

QString escaped(QString text) {
    text.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    text.replace(QLatin1Char('\t'), QLatin1String("\\t"));
    text.replace(QLatin1Char('\n'), QLatin1String("\\n"));
    return text;
}

QString unescaped(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != QLatin1Char('\\') || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const QChar next = text[++i];
        out += next == QLatin1Char('t')   ? QChar(u'\t')
               : next == QLatin1Char('n') ? QChar(u'\n')
                                          : next;
    }
    return out;
}

const char* kindWord(Step::Kind kind) {
    switch (kind) {
    case Step::Kind::Add:
        return "ADD";
    case Step::Kind::Edit:
        return "EDIT";
    case Step::Kind::Delete:
        return "DEL";
    }
    return "";
}

} // namespace

QByteArray formatLine(Line::Tag tag, const Step& step) {
    QStringList parts{tag == Line::Tag::Try ? QStringLiteral("TRY") : QStringLiteral("ACK"),
                      QLatin1String(kindWord(step.kind)), step.table, QString::number(step.key)};
    for (const auto& [field, value] : step.fields)
        parts << escaped(field) + QLatin1Char('=') + escaped(value);
    return parts.join(QLatin1Char('\t')).toUtf8() + '\n';
}

QByteArray formatFailure(const QString& text) {
    return "FAIL\t" + escaped(text).toUtf8() + '\n';
}

std::optional<Line> parseLine(const QByteArray& bytes) {
    const QStringList parts = QString::fromUtf8(bytes).split(QLatin1Char('\t'));
    Line line;
    if (parts[0] == QLatin1String("FAIL")) {
        line.text = parts.size() > 1 ? unescaped(parts[1]) : QString();
        return line;
    }
    if (parts.size() < 4)
        return std::nullopt;
    if (parts[0] == QLatin1String("TRY"))
        line.tag = Line::Tag::Try;
    else if (parts[0] == QLatin1String("ACK"))
        line.tag = Line::Tag::Ack;
    else
        return std::nullopt;
    bool known = false;
    for (Step::Kind kind : {Step::Kind::Add, Step::Kind::Edit, Step::Kind::Delete})
        if (parts[1] == QLatin1String(kindWord(kind))) {
            line.step.kind = kind;
            known = true;
        }
    bool keyOk = false;
    line.step.table = parts[2];
    line.step.key = parts[3].toLongLong(&keyOk);
    if (!known || !keyOk)
        return std::nullopt;
    for (qsizetype i = 4; i < parts.size(); ++i) {
        const qsizetype eq = parts[i].indexOf(QLatin1Char('='));
        if (eq < 0)
            return std::nullopt;
        line.step.fields.append({unescaped(parts[i].left(eq)), unescaped(parts[i].mid(eq + 1))});
    }
    return line;
}

QString describe(const Step& step) {
    QString text = QLatin1String(kindWord(step.kind)) + QLatin1Char(' ') + step.table +
                   QLatin1Char(' ') + QString::number(step.key);
    for (const auto& [field, value] : step.fields)
        text += QLatin1Char(' ') + field + QLatin1Char('=') + value.left(30);
    return text;
}

} // namespace crash
