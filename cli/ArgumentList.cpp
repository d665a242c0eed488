#include "ArgumentList.h"

namespace cli {

QString ArgumentList::value(const QString& option) const {
    const auto found = values.find(option);
    return found == values.end() ? QString() : found->second;
}

ArgumentList parseArguments(const QStringList& arguments, const QStringList& valueOptions,
                            const QStringList& switchOptions) {
    ArgumentList list;
    for (qsizetype i = 0; i < arguments.size() && list.error.isEmpty(); ++i) {
        const QString& argument = arguments[i];
        if (!argument.startsWith(QLatin1String("--")) || argument == QLatin1String("--")) {
            list.words << argument;
            continue;
        }
        const qsizetype equals = argument.indexOf(QLatin1Char('='));
        const QString name = equals < 0 ? argument : argument.left(equals);
        if (switchOptions.contains(name) && equals < 0) {
            list.switches.insert(name);
        } else if (valueOptions.contains(name)) {
            if (list.values.count(name))
                list.error = QStringLiteral("%1 is given twice").arg(name);
            else if (equals >= 0)
                list.values[name] = argument.mid(equals + 1);
            else if (i + 1 < arguments.size())
                list.values[name] = arguments[++i];
            else
                list.error = QStringLiteral("%1 needs a value").arg(name);
        } else {
            list.error = QStringLiteral("unknown option '%1'").arg(argument);
        }
    }
    return list;
}

} // namespace cli
