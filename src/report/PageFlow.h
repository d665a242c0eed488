#pragma once

#include <QRectF>
#include <functional>
#include <memory>
#include <vector>

class QPainter;

namespace report {

// One unbreakable band of a page, as wide as the page's body: a line of text, a
// table row, a chart. It paints itself into the rectangle it is given.
struct Strip {
    double height = 0;
    std::function<void(QPainter&, const QRectF&)> paint;
    // Put first on a page this strip opens in the middle of its group: a table's
    // header row, a visit's "(continued)" line.
    std::vector<std::shared_ptr<const Strip>> repeated;
};

// Strips that belong together. The first keepFirst of them never part: they move to
// a new page together when they do not fit the rest of this one (unless they are
// taller than a whole page, when they flow over as they must).
struct StripGroup {
    std::vector<Strip> strips;
    std::size_t keepFirst = 0;
    double spaceBefore = 0; // left out at the top of a page
    bool newPage = false;   // starts on a page of its own
};

struct PlacedStrip {
    const Strip* strip = nullptr;
    double top = 0;
};
using PageStrips = std::vector<PlacedStrip>;

// Places the groups on pages whose bodies are bodyHeight high, in order. The strips
// point into groups, which must outlive the pages.
std::vector<PageStrips> flowPages(const std::vector<StripGroup>& groups, double bodyHeight);

} // namespace report
