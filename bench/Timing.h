#pragma once

#include <algorithm>
#include <chrono>
#include <vector>

namespace bench {

using Clock = std::chrono::steady_clock;

// Seconds spent in fn.
template <typename Fn> double timed(Fn&& fn) {
    const auto start = Clock::now();
    fn();
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// The middle sample: one slow run on a shared machine does not move it.
inline double median(std::vector<double> samples) {
    if (samples.empty())
        return 0;
    std::sort(samples.begin(), samples.end());
    const size_t middle = samples.size() / 2;
    return samples.size() % 2 ? samples[middle] : (samples[middle - 1] + samples[middle]) / 2;
}

// Ours and raw, one sample each per round, taking turns at going first so that a
// warm cache or a busy neighbour favours neither side.
struct PairedSamples {
    std::vector<double> ours;
    std::vector<double> raw;

    template <typename Ours, typename Raw> void round(int index, Ours&& oursFn, Raw&& rawFn) {
        if (index % 2 == 0) {
            ours.push_back(oursFn());
            raw.push_back(rawFn());
        } else {
            raw.push_back(rawFn());
            ours.push_back(oursFn());
        }
    }
};

} // namespace bench
