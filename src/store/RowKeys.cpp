#include "RowKeys.h"

#include <algorithm>

namespace store {

namespace {

// Lookups by scanning a set before its keys are sorted for binary search.
constexpr int kScansBeforeSorting = 32;

} // namespace

RowKeys::RowKeys(std::vector<qint64> keys) : m_keys(std::move(keys)) {
    m_keys.shrink_to_fit();
    m_ascending = std::is_sorted(m_keys.begin(), m_keys.end()) &&
                  std::adjacent_find(m_keys.begin(), m_keys.end()) == m_keys.end();
}

bool RowKeys::isDeleted(int index) const {
    return std::binary_search(m_deleted.begin(), m_deleted.end(), index);
}

int RowKeys::nextLive(int from) const {
    int index = std::max(from, 0);
    while (index < size() && isDeleted(index))
        ++index;
    return std::min(index, size());
}

int RowKeys::previousLive(int from) const {
    int index = std::min(from, size() - 1);
    while (index >= 0 && isDeleted(index))
        --index;
    return index;
}

int RowKeys::livePosition(int index) const {
    const auto deletedBefore = std::lower_bound(m_deleted.begin(), m_deleted.end(), index);
    return index - int(deletedBefore - m_deleted.begin());
}

int RowKeys::indexOf(qint64 key) const {
    if (!m_keys.empty() && m_keys.back() == key)
        return size() - 1; // the row just added: the common case after an update
    if (m_ascending) {
        const auto it = std::lower_bound(m_keys.begin(), m_keys.end(), key);
        return it != m_keys.end() && *it == key ? int(it - m_keys.begin()) : -1;
    }
    if (m_byKey.size() != m_keys.size()) {
        // A set read afresh is mostly searched once (the row just saved): a scan
        // answers at once, where sorting would cost as much as dozens of scans.
        if (++m_scans <= kScansBeforeSorting)
            return scanFor(key);
        buildSortedIndex();
    }
    const auto it = std::lower_bound(m_byKey.begin(), m_byKey.end(), key,
                                     [this](std::uint32_t i, qint64 k) { return m_keys[i] < k; });
    return it != m_byKey.end() && m_keys[*it] == key ? int(*it) : -1;
}

void RowKeys::append(qint64 key) {
    if (!m_keys.empty() && key <= m_keys.back())
        m_ascending = false;
    m_keys.push_back(key);
    if (!m_byKey.empty() || m_keys.size() == 1) {
        const auto it =
            std::lower_bound(m_byKey.begin(), m_byKey.end(), key,
                             [this](std::uint32_t i, qint64 k) { return m_keys[i] < k; });
        m_byKey.insert(it, std::uint32_t(m_keys.size() - 1));
    }
}

void RowKeys::markDeleted(int index) {
    const auto it = std::lower_bound(m_deleted.begin(), m_deleted.end(), index);
    if (it == m_deleted.end() || *it != index)
        m_deleted.insert(it, index);
}

int RowKeys::scanFor(qint64 key) const {
    const auto it = std::find(m_keys.begin(), m_keys.end(), key);
    return it != m_keys.end() ? int(it - m_keys.begin()) : -1;
}

void RowKeys::buildSortedIndex() const {
    m_byKey.resize(m_keys.size());
    for (size_t i = 0; i < m_keys.size(); ++i)
        m_byKey[i] = std::uint32_t(i);
    std::sort(m_byKey.begin(), m_byKey.end(),
              [this](std::uint32_t a, std::uint32_t b) { return m_keys[a] < m_keys[b]; });
}

} // namespace store
