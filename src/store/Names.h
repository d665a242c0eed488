#pragma once

#include <QString>
#include <QStringList>

namespace store {

// Names of tables, fields, indexes and relations compare without regard to case.
inline bool sameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// A name as an SQL identifier: always quoted, never spliced in bare.
QString quoted(const QString& name);
QString quotedList(const QStringList& names);

// Throws errSchema unless the name is usable: 1 to 64 characters, no control
// characters, none of " [ ] ; and no blanks at either end. `what` names the kind
// of name in the message ("table", "field", ...).
void checkName(const QString& name, const QString& what);

// Names the store keeps for itself: SQLite's own tables and ours.
bool isReservedTableName(const QString& name);

} // namespace store
