#pragma once

#include <QtGlobal>
#include <cstdint>
#include <vector>

namespace store {

// The rows of a record set, as their row numbers in the order of its select text,
// shared by the set and its clones. Deleted rows keep their place (moves skip them)
// so that positions and bookmarks stay put. About 8 bytes a row, 12 once many rows
// have been looked up by their numbers in a set that is not in row-number order.
class RowKeys {
public:
    explicit RowKeys(std::vector<qint64> keys);

    int size() const { return int(m_keys.size()); } // deleted rows included
    int liveCount() const { return size() - int(m_deleted.size()); }
    qint64 key(int index) const { return m_keys[size_t(index)]; }
    bool isDeleted(int index) const;

    // The first live index at or after `from` (size() when none), at or before
    // `from` (-1 when none).
    int nextLive(int from) const;
    int previousLive(int from) const;
    // Zero-based position among the live rows.
    int livePosition(int index) const;

    // The index of the row with this number, or -1.
    int indexOf(qint64 key) const;

    void append(qint64 key);
    void markDeleted(int index);

private:
    void buildSortedIndex() const;
    int scanFor(qint64 key) const;

    std::vector<qint64> m_keys;
    std::vector<int> m_deleted; // indexes of deleted rows, ascending; few
    bool m_ascending = true;    // row numbers rise with the index: search them directly
    mutable std::vector<std::uint32_t> m_byKey; // indexes sorted by row number, built on demand
    mutable int m_scans = 0;                    // lookups made by scanning, before m_byKey
};

} // namespace store
