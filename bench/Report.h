#pragma once

#include <string>
#include <vector>

namespace bench {

// One measured figure. With a raw figure the target is the highest ratio of ours
// to raw; without one (raw < 0) it is the highest value of ours itself, and a
// target of 0 means the figure is only reported.
struct Figure {
    std::string name;
    std::string unit; // of ours and raw
    double ours = 0;
    double raw = -1;
    double target = 0;
    int samples = 0;

    bool hasRaw() const { return raw >= 0; }
    double ratio() const { return hasRaw() && raw > 0 ? ours / raw : 0; }
    bool hasTarget() const { return target > 0; }
    bool met() const { return !hasTarget() || (hasRaw() ? ratio() : ours) <= target; }
};

// The table for people: figure, ours, raw, ratio, target and whether it holds.
void printTable(const std::vector<Figure>& figures);
// The same figures as JSON.
void writeJson(const std::vector<Figure>& figures, const std::string& path);

} // namespace bench
