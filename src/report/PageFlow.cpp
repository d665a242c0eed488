#include "PageFlow.h"

#include <algorithm>

namespace report {

std::vector<PageStrips> flowPages(const std::vector<StripGroup>& groups, double bodyHeight) {
    std::vector<PageStrips> pages(1);
    double y = 0;
    const auto place = [&](const Strip& strip) {
        pages.back().push_back(PlacedStrip{&strip, y});
        y += strip.height;
    };
    const auto newPage = [&] {
        pages.emplace_back();
        y = 0;
    };
    for (const StripGroup& group : groups) {
        if (group.strips.empty())
            continue;
        if (group.newPage && !pages.back().empty())
            newPage();
        if (!pages.back().empty())
            y += group.spaceBefore;
        double kept = 0;
        const std::size_t keep =
            std::min(std::max<std::size_t>(group.keepFirst, 1), group.strips.size());
        for (std::size_t i = 0; i < keep; ++i)
            kept += group.strips[i].height;
        if (!pages.back().empty() && y + kept > bodyHeight && kept <= bodyHeight)
            newPage();
        for (std::size_t i = 0; i < group.strips.size(); ++i) {
            const Strip& strip = group.strips[i];
            if (y + strip.height > bodyHeight && !pages.back().empty()) {
                newPage();
                if (i > 0)
                    for (const std::shared_ptr<const Strip>& repeated : strip.repeated)
                        place(*repeated);
            }
            place(strip);
        }
    }
    return pages;
}

} // namespace report
