#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <optional>

// The lines a writing child process sends its parent: one before each change is
// handed to the record store ("TRY") and one once the store has returned ("ACK"),
// so the parent knows which changes the file must hold after the child is killed.
namespace crash {

struct Step {
    enum class Kind { Add, Edit, Delete };
    Kind kind = Kind::Add;
    QString table;
    qint64 key = 0; // 0 for an add that has not been saved yet
    // Fields written, with their values as the store shows them (empty: no value).
    QList<QPair<QString, QString>> fields;
};

struct Line {
    enum class Tag { Try, Ack, Fail };
    Tag tag = Tag::Fail;
    Step step;
    QString text; // Fail: what went wrong in the child
};

// One line, ending in '\n'. Tabs, line breaks and backslashes in values are escaped.
QByteArray formatLine(Line::Tag tag, const Step& step);
QByteArray formatFailure(const QString& text);
// Nothing for a line that is not one of ours.
std::optional<Line> parseLine(const QByteArray& line);

QString describe(const Step& step);

} // namespace crash
