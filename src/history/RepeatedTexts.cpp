#include "RepeatedTexts.h"

#include "StoredColumns.h"
#include "store/Statement.h"

#include <sqlite3.h>

namespace history {

namespace {

// Past this many distinct texts the column is no list of a few places: each row
// then gets its own text, and the table stops growing.
constexpr qsizetype kMostKept = 4096;

std::size_t slotOf(const char* bytes, int size, std::size_t count) {
    const auto unit = [&](int i) { return std::size_t(static_cast<unsigned char>(bytes[i])); };
    return (std::size_t(size) * 131 + unit(0) * 31 + unit(size / 2) * 7 + unit(size - 1)) % count;
}

} // namespace

QString RepeatedTexts::textAt(const store::Statement& stmt, int column) {
    if (sqlite3_column_type(stmt.get(), column) != SQLITE_TEXT)
        return stored::textAt(stmt, column);
    const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(stmt.get(), column));
    const int size = sqlite3_column_bytes(stmt.get(), column);
    if (size == 0)
        return QString::fromUtf8(bytes, size);
    const QByteArray key = QByteArray::fromRawData(bytes, size);
    Made& recent = m_recent[slotOf(bytes, size, m_recent.size())];
    if (recent.bytes == key)
        return recent.text;
    const auto found = m_made.constFind(key);
    if (found != m_made.constEnd()) {
        recent = Made{found.key(), *found};
        return *found;
    }
    QString text = QString::fromUtf8(bytes, size);
    if (m_made.size() < kMostKept) {
        const auto kept = m_made.insert(QByteArray(bytes, size), text);
        recent = Made{kept.key(), text};
    }
    return text;
}

} // namespace history
