#pragma once

#include "NumberText.h"

#include <QVariant>
#include <optional>

namespace values {

// A part's line total in 1/10000 of a dollar, the store's currency unit: quantity
// times cost, exactly (a 16-bit quantity times a 64-bit amount, and any sum of such
// lines, fits a WideInteger). Nothing when either is missing.
std::optional<WideInteger> partLineTotal(const QVariant& quantity, const QVariant& cost);

// An amount in 1/10000 of a dollar rounded to cents, half away from zero, as the
// currency display rounds it: a line total as its Total cell shows it.
WideInteger roundedToCents(WideInteger scaled);

} // namespace values
