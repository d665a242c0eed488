#pragma once

#include "values/NumberText.h"

#include <QString>
#include <optional>

namespace history {

// The window's texts for its figures, from the values library's patterns; an empty
// figure is empty text.
QString mpgText(std::optional<double> mpg);          // "26.83", ".75" as Gas Purchases shows it
QString centsText(values::WideInteger cents);        // "$1,234.56"; negative "($4.00)"
QString scaledMoneyText(values::WideInteger scaled); // 1/10000 of a dollar, to cents
QString perUnitMoneyText(
    std::optional<double> dollars); // per mile, per gallon: "$0.12", "$3.459" -> "$3.46"
QString milesText(std::optional<double> miles);     // "12,345"
QString gallonsText(std::optional<double> gallons); // "1,234.5"
QString countText(qint64 count);                    // "1,234"

} // namespace history
