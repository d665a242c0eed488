// Placing groups of strips on pages: what moves whole to the next page, what flows
// over, and what is repeated atop a page a group runs onto.
#include "report/PageFlow.h"

#include <gtest/gtest.h>

namespace {

using report::flowPages;
using report::PageStrips;
using report::Strip;
using report::StripGroup;

Strip strip(double height) {
    Strip s;
    s.height = height;
    return s;
}

StripGroup group(std::vector<double> heights, std::size_t keepFirst) {
    StripGroup g;
    for (const double h : heights)
        g.strips.push_back(strip(h));
    g.keepFirst = keepFirst;
    return g;
}

std::vector<double> tops(const PageStrips& page) {
    std::vector<double> values;
    for (const report::PlacedStrip& placed : page)
        values.push_back(placed.top);
    return values;
}

TEST(PageFlowTest, GroupThatFitsNoLongerMovesWholeAndSpaceIsLeftOutAtATop) {
    std::vector<StripGroup> groups{group({40, 30}, 2), group({20, 20}, 2)};
    groups[1].spaceBefore = 5;
    // 70 + 5 + 40 > 100: the second group starts the next page, without its space.
    const auto pages = flowPages(groups, 100);
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(tops(pages[0]), (std::vector<double>{0, 40}));
    EXPECT_EQ(tops(pages[1]), (std::vector<double>{0, 20}));
    EXPECT_EQ(pages[1][0].strip, &groups[1].strips[0]);
    // Room enough: the space stays between them on one page.
    EXPECT_EQ(flowPages(groups, 200).size(), 1u);
    EXPECT_EQ(tops(flowPages(groups, 200)[0]), (std::vector<double>{0, 40, 75, 95}));
}

TEST(PageFlowTest, GroupLongerThanAPageFlowsWithItsHeadersRepeated) {
    StripGroup table = group({10, 10, 30, 30, 30, 30}, 3);
    const auto header = std::make_shared<const Strip>(strip(10));
    for (std::size_t i = 2; i < table.strips.size(); ++i)
        table.strips[i].repeated = {header};
    std::vector<StripGroup> groups{group({60}, 1), table};
    const auto pages = flowPages(groups, 100);
    // The first three strips keep together: they leave the first page to the 60.
    ASSERT_EQ(pages.size(), 3u);
    ASSERT_EQ(pages[0].size(), 1u);
    EXPECT_EQ(tops(pages[1]), (std::vector<double>{0, 10, 20, 50}));
    ASSERT_EQ(pages[2].size(), 3u);
    // The page the table runs onto opens with its header row, then the next rows.
    EXPECT_EQ(pages[2][0].strip, header.get());
    EXPECT_EQ(tops(pages[2]), (std::vector<double>{0, 10, 40}));
}

TEST(PageFlowTest, AGroupStartingAPageRepeatsNothingAndTallStripsStillTakeAPage) {
    StripGroup visit = group({30, 30}, 2);
    visit.strips[0].repeated = {std::make_shared<const Strip>(strip(10))};
    visit.newPage = true;
    std::vector<StripGroup> groups{group({20}, 1), visit, group({500}, 1), group({5}, 1)};
    const auto pages = flowPages(groups, 100);
    ASSERT_EQ(pages.size(), 4u);
    EXPECT_EQ(pages[1].size(), 2u);  // no repeated strip before the group's own first
    EXPECT_EQ(pages[2].size(), 1u);  // too tall for any page: alone on its own
    EXPECT_EQ(pages[3][0].top, 0.0); // what follows starts afresh
}

} // namespace
