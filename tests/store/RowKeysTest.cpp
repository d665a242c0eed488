#include "store/RowKeys.h"

#include <gtest/gtest.h>
#include <numeric>
#include <random>

using namespace store;

namespace {

// Keys 1..count in a shuffled order, as a set sorted by anything but its key has them.
std::vector<qint64> shuffledKeys(int count) {
    std::vector<qint64> keys(static_cast<size_t>(count));
    std::iota(keys.begin(), keys.end(), 1);
    std::shuffle(keys.begin(), keys.end(), std::mt19937(7));
    return keys;
}

} // namespace

TEST(RowKeys, EveryKeyIsFoundAtItsIndexBeforeAndAfterTheKeysAreSorted) {
    // 1003 keys: the scan's last, partial block is searched too. Three rounds of
    // lookups take the set from scanning to its sorted index.
    const std::vector<qint64> keys = shuffledKeys(1003);
    const RowKeys rows(keys);
    for (int round = 0; round < 3; ++round) {
        for (size_t i = 0; i < keys.size(); ++i)
            ASSERT_EQ(rows.indexOf(keys[i]), int(i)) << "round " << round << " key " << keys[i];
        EXPECT_EQ(rows.indexOf(0), -1);
        EXPECT_EQ(rows.indexOf(1004), -1);
        EXPECT_EQ(rows.indexOf(-1), -1);
    }
}

TEST(RowKeys, FirstLookupsOfAnUnsortedSetFindTheirRows) {
    for (int count : {1, 7, 8, 9, 17}) {
        const std::vector<qint64> keys = shuffledKeys(count);
        const RowKeys rows(keys);
        for (size_t i = 0; i < keys.size(); ++i)
            EXPECT_EQ(rows.indexOf(keys[i]), int(i)) << count << " keys, key " << keys[i];
        EXPECT_EQ(rows.indexOf(count + 1), -1) << count;
    }
    EXPECT_EQ(RowKeys({}).indexOf(1), -1);
}

TEST(RowKeys, AppendedRowsAreFoundWhetherOrNotTheKeysWereSorted) {
    RowKeys scanned(shuffledKeys(50));
    RowKeys sorted(shuffledKeys(50));
    for (qint64 key = 1; key <= 50; ++key) // enough lookups to sort the second set's keys
        ASSERT_GE(sorted.indexOf(key), 0);
    for (RowKeys* rows : {&scanned, &sorted}) {
        rows->append(100);
        rows->append(60);
        EXPECT_EQ(rows->indexOf(100), 50);
        EXPECT_EQ(rows->indexOf(60), 51);
        EXPECT_EQ(rows->indexOf(61), -1);
        for (qint64 key = 1; key <= 50; ++key)
            ASSERT_GE(rows->indexOf(key), 0) << key;
    }
}

TEST(RowKeys, AscendingKeysAndDeletedRowsKeepTheirPlaces) {
    RowKeys rows({2, 4, 6, 8});
    rows.markDeleted(1);
    EXPECT_EQ(rows.indexOf(4), 1); // still there for bookmarks; the caller checks isDeleted
    EXPECT_TRUE(rows.isDeleted(1));
    EXPECT_EQ(rows.indexOf(5), -1);
    EXPECT_EQ(rows.liveCount(), 3);
    EXPECT_EQ(rows.livePosition(2), 1);
    EXPECT_EQ(rows.nextLive(1), 2);
    EXPECT_EQ(rows.previousLive(1), 0);
    rows.append(3); // out of order from here on
    EXPECT_EQ(rows.indexOf(3), 4);
    EXPECT_EQ(rows.indexOf(8), 3);
}
