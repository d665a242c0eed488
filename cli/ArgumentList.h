#pragma once

#include <QString>
#include <QStringList>
#include <map>
#include <set>

namespace cli {

// A command's arguments: its plain words in order and its options, each option known
// beforehand as a switch (`--dry-run`) or as taking a value (`--format F`, `--format=F`).
struct ArgumentList {
    QStringList words;
    std::map<QString, QString> values;
    std::set<QString> switches;
    QString error; // "unknown option '--frmat'", "--format needs a value"; empty when read

    bool has(const QString& option) const { return switches.count(option) != 0; }
    QString value(const QString& option) const;
    bool hasValue(const QString& option) const { return values.count(option) != 0; }
};

ArgumentList parseArguments(const QStringList& arguments, const QStringList& valueOptions,
                            const QStringList& switchOptions);

} // namespace cli
