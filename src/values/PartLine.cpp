#include "PartLine.h"

#include "Currency.h"

namespace values {

namespace {
constexpr WideInteger kScalePerCent = Currency::kScale / 100;
} // namespace

std::optional<WideInteger> partLineTotal(const QVariant& quantity, const QVariant& cost) {
    if (quantity.isNull() || cost.isNull() || !quantity.isValid() || !cost.isValid())
        return std::nullopt;
    return WideInteger(cost.value<Currency>().scaled) * WideInteger(quantity.toLongLong());
}

WideInteger roundedToCents(WideInteger scaled) {
    const WideInteger half = kScalePerCent / 2;
    return scaled >= 0 ? (scaled + half) / kScalePerCent : (scaled - half) / kScalePerCent;
}

} // namespace values
