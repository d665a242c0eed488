#pragma once

#include "ReportStyle.h"
#include "history/ChartData.h"

#include <QRectF>

class QPainter;

namespace report {

// The charts of the report, drawn as lines and filled shapes (vectors, never a
// picture) in black and greys: MPG per tank over time with the period's average as a
// dashed line, and the cost per month as stacked bars (fuel solid, parts hatched).
// Each fills rect with its title, axes and legend; without figures it says so.
void paintMpgChart(QPainter& painter, const QRectF& rect, const ReportStyle& style,
                   const history::ChartData& data);
void paintCostChart(QPainter& painter, const QRectF& rect, const ReportStyle& style,
                    const std::vector<history::MonthCost>& months);

// Round steps (1, 2 or 5 times a power of ten) from at or below low to at or above
// high, at most about maxTicks of them.
std::vector<double> niceTicks(double low, double high, int maxTicks);

} // namespace report
