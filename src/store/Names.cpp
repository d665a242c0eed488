#include "Names.h"

#include "StoreErrors.h"

namespace store {

QString quoted(const QString& name) {
    QString text = name;
    text.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + text + QLatin1Char('"');
}

QString quotedList(const QStringList& names) {
    QStringList parts;
    for (const QString& name : names)
        parts << quoted(name);
    return parts.join(QLatin1String(", "));
}

void checkName(const QString& name, const QString& what) {
    bool ok = !name.isEmpty() && name.size() <= 64 && name.trimmed() == name;
    for (const QChar c : name)
        if (c.category() == QChar::Other_Control || c == QLatin1Char('"') ||
            c == QLatin1Char('[') || c == QLatin1Char(']') || c == QLatin1Char(';'))
            ok = false;
    if (!ok)
        raise(errSchema, QStringLiteral("'%1' is not a valid %2 name.").arg(name, what));
}

bool isReservedTableName(const QString& name) {
    return name.startsWith(QLatin1String("sqlite_"), Qt::CaseInsensitive) ||
           name.startsWith(QLatin1String("drivolex_"), Qt::CaseInsensitive);
}

} // namespace store
