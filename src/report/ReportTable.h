#pragma once

#include "PageFlow.h"
#include "ReportStyle.h"

#include <QStringList>
#include <optional>

namespace report {

// The columns of a printed table: widths in dots, and which columns hold figures
// (set to the right).
struct TableColumns {
    std::vector<double> widths;
    std::vector<bool> rightAligned;
    double left = 0; // where the first column starts within the page's body

    // Widths given in points, one column (the last unless told) taking what room the
    // others leave of width; on too narrow a page every column gives up its share.
    static TableColumns fitted(const ReportStyle& style, const std::vector<double>& points,
                               std::vector<bool> rightAligned, double left, double width,
                               std::optional<std::size_t> stretch = std::nullopt);
};

// A row of cells, each wrapped within its column: as high as its tallest cell.
Strip tableRow(const ReportStyle& style, const TableColumns& columns, const QStringList& cells,
               const QFont& font);
// The header row: bold captions over a rule.
Strip tableHeader(const ReportStyle& style, const TableColumns& columns,
                  const QStringList& captions);

// A line of text (or several, wrapped within width) from left, each line a strip.
std::vector<Strip> textLines(const ReportStyle& style, const QString& text, const QFont& font,
                             double left, double width);

// Paints lines of text from the top of rect, one line height apart.
void paintLines(QPainter& painter, const QRectF& rect, const QStringList& lines, const QFont& font,
                const ReportStyle& style, bool rightAligned = false);

// The height of a line of text of the font, with the room a table row leaves
// above and below it.
double lineHeight(const ReportStyle& style, const QFont& font);
double rowPadding(const ReportStyle& style);

} // namespace report
