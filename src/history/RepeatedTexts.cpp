#include "RepeatedTexts.h"

#include "StoredColumns.h"
#include "store/Statement.h"

#include <sqlite3.h>

namespace history {

namespace {

// Past this many distinct texts the column is no list of a few places: each row
// then gets its own text, and the table stops growing.
constexpr qsizetype kMostKept = 4096;

} // namespace

QString RepeatedTexts::textAt(const store::Statement& stmt, int column) {
    if (sqlite3_column_type(stmt.get(), column) != SQLITE_TEXT)
        return stored::textAt(stmt, column);
    const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(stmt.get(), column));
    const int size = sqlite3_column_bytes(stmt.get(), column);
    const auto found = m_made.constFind(QByteArray::fromRawData(bytes, size));
    if (found != m_made.constEnd())
        return *found;
    QString text = QString::fromUtf8(bytes, size);
    if (m_made.size() < kMostKept)
        m_made.insert(QByteArray(bytes, size), text);
    return text;
}

} // namespace history
