#include "ReportTable.h"

#include "WrappedText.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>

namespace report {

namespace {

// Room between a cell's text and its neighbour's, in points.
constexpr double kCellGap = 4;

} // namespace

TableColumns TableColumns::fitted(const ReportStyle& style, const std::vector<double>& points,
                                  std::vector<bool> rightAligned, double left, double width,
                                  std::optional<std::size_t> stretch) {
    TableColumns columns;
    columns.left = left;
    columns.rightAligned = std::move(rightAligned);
    const std::size_t stretched = stretch.value_or(points.size() - 1);
    double others = 0;
    for (std::size_t i = 0; i < points.size(); ++i) {
        columns.widths.push_back(style.dots(points[i]));
        if (i != stretched)
            others += columns.widths.back();
    }
    columns.widths[stretched] = std::max(width - others, columns.widths[stretched]);
    const double total = others + columns.widths[stretched];
    if (total > width)
        for (double& w : columns.widths)
            w *= width / total;
    return columns;
}

double lineHeight(const ReportStyle& style, const QFont& font) {
    return QFontMetricsF(font, &style.device()).lineSpacing();
}

double rowPadding(const ReportStyle& style) {
    return style.dots(1.5);
}

void paintLines(QPainter& painter, const QRectF& rect, const QStringList& lines, const QFont& font,
                const ReportStyle& style, bool rightAligned) {
    const QFontMetricsF metrics(font, &style.device());
    painter.setFont(font);
    double baseline = rect.top() + metrics.ascent();
    for (const QString& line : lines) {
        const double x =
            rightAligned ? rect.right() - metrics.horizontalAdvance(line) : rect.left();
        painter.drawText(QPointF(x, baseline), line);
        baseline += metrics.lineSpacing();
    }
}

Strip tableRow(const ReportStyle& style, const TableColumns& columns, const QStringList& cells,
               const QFont& font) {
    const double gap = style.dots(kCellGap);
    std::vector<QStringList> wrapped;
    std::size_t lineCount = 1;
    for (std::size_t i = 0; i < columns.widths.size(); ++i) {
        wrapped.push_back(wrappedLines(cells.value(qsizetype(i)), font, style.device(),
                                       std::max(columns.widths[i] - gap, 1.0)));
        lineCount = std::max<std::size_t>(lineCount, wrapped.back().size());
    }
    const double pad = rowPadding(style);
    Strip strip;
    strip.height = double(lineCount) * lineHeight(style, font) + 2 * pad;
    strip.paint = [&style, columns, wrapped = std::move(wrapped), font, pad,
                   gap](QPainter& painter, const QRectF& rect) {
        double x = rect.left() + columns.left;
        for (std::size_t i = 0; i < columns.widths.size(); ++i) {
            // Half the gap on either side keeps a figure off the text beside it.
            const QRectF placed(x + gap / 2, rect.top() + pad, columns.widths[i] - gap,
                                rect.height() - 2 * pad);
            paintLines(painter, placed, wrapped[i], font, style, columns.rightAligned[i]);
            x += columns.widths[i];
        }
    };
    return strip;
}

Strip tableHeader(const ReportStyle& style, const TableColumns& columns,
                  const QStringList& captions) {
    Strip strip = tableRow(style, columns, captions, style.bold());
    strip.paint = [&style, columns, paintCells = std::move(strip.paint)](QPainter& painter,
                                                                         const QRectF& rect) {
        paintCells(painter, rect);
        double width = 0;
        for (const double w : columns.widths)
            width += w;
        painter.setPen(QPen(ReportStyle::ink(), style.dots(0.6)));
        const double y = rect.bottom() - style.dots(0.5);
        painter.drawLine(QPointF(rect.left() + columns.left, y),
                         QPointF(rect.left() + columns.left + width, y));
    };
    return strip;
}

std::vector<Strip> textLines(const ReportStyle& style, const QString& text, const QFont& font,
                             double left, double width) {
    std::vector<Strip> strips;
    const double height = lineHeight(style, font);
    for (const QString& line : wrappedLines(text, font, style.device(), width)) {
        Strip strip;
        strip.height = height;
        strip.paint = [&style, line, font, left](QPainter& painter, const QRectF& rect) {
            paintLines(painter, rect.adjusted(left, 0, 0, 0), {line}, font, style);
        };
        strips.push_back(std::move(strip));
    }
    return strips;
}

} // namespace report
