#pragma once

#include "FittedRows.h"

#include <QString>

// What a row of the preview becomes, in a few words:
//   "fuel purchase 3/15/2024: 12.500 gal at 45,210 mi, $43.10, partial"
//   "work order 3/15/2024 at 45,210 mi: Change Oil, Rotate Tires; 2 parts; note"
// Built by hand rather than through the locale: a preview has one per row of the file.
namespace importing {

QString fuelText(const FittedFuel& row);
QString workOrderText(const FittedWorkOrder& row);

// 45210 -> "45,210"; 45210.46 -> "45,210.5" (one decimal where there is a fraction).
QString milesText(double miles);
// $43.10, -$5.00: rounded to cents half away from zero, thousands grouped.
QString moneyText(values::Currency amount);

} // namespace importing
