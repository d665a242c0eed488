#include "HistoryText.h"

#include "values/Format.h"
#include "values/PartLine.h"

#include <cmath>

namespace history {

namespace {

QString shown(std::optional<double> value, const char* pattern) {
    if (!value || !std::isfinite(*value))
        return QString();
    return values::Format(QVariant(*value), QLatin1String(pattern));
}

} // namespace

QString mpgText(std::optional<double> mpg) {
    if (!mpg || !std::isfinite(*mpg))
        return QString();
    // A tank's figure is single precision, as Gas Purchases computes and shows it:
    // formatted as that float (its shortest form), it rounds exactly as there.
    const float single = float(*mpg);
    if (double(single) == *mpg)
        return values::Format(QVariant(single), QStringLiteral("##.00"));
    return values::Format(QVariant(*mpg), QStringLiteral("##.00"));
}

QString centsText(values::WideInteger cents) {
    return values::Format(values::scaledDecimalText(cents, 2), QStringLiteral("Currency"));
}

QString scaledMoneyText(values::WideInteger scaled) {
    return centsText(values::roundedToCents(scaled));
}

QString perUnitMoneyText(std::optional<double> dollars) {
    return shown(dollars, "Currency");
}

QString milesText(std::optional<double> miles) {
    return shown(miles, "#,##0");
}

QString gallonsText(std::optional<double> gallons) {
    return shown(gallons, "#,##0.0");
}

QString countText(qint64 count) {
    return values::Format(QVariant(count), QStringLiteral("#,##0"));
}

} // namespace history
