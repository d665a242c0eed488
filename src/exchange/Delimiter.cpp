#include "exchange/Delimiter.h"

#include <array>

namespace exchange {

namespace {

constexpr std::array<char, 3> kCandidates = {',', ';', '\t'};

} // namespace

char detectDelimiter(QStringView text) {
    std::array<int, kCandidates.size()> counts{};
    bool inQuotes = false;
    for (const QChar c : text) {
        if (c == QLatin1Char('"')) {
            inQuotes = !inQuotes; // a doubled quote toggles twice
        } else if (!inQuotes && (c == QLatin1Char('\n') || c == QLatin1Char('\r'))) {
            if (counts != decltype(counts){})
                break;
        } else if (!inQuotes) {
            for (std::size_t i = 0; i < kCandidates.size(); ++i)
                counts[i] += c == QLatin1Char(kCandidates[i]);
        }
    }
    std::size_t best = 0;
    for (std::size_t i = 1; i < kCandidates.size(); ++i)
        if (counts[i] > counts[best])
            best = i;
    return kCandidates[best];
}

} // namespace exchange
