#include "ReportCharts.h"

#include "history/HistoryText.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace report {

std::vector<double> niceTicks(double low, double high, int maxTicks) {
    if (!(high > low)) {
        const double pad = std::max(std::abs(low) * 0.1, 1.0);
        low -= pad;
        high += pad;
    }
    const double rough = (high - low) / std::max(maxTicks, 1);
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    double step = power;
    for (const double factor : {1.0, 2.0, 5.0, 10.0})
        if (factor * power >= rough) {
            step = factor * power;
            break;
        }
    std::vector<double> ticks;
    for (double tick = std::floor(low / step) * step; tick < high + step * 0.999; tick += step)
        ticks.push_back(std::abs(tick) < step * 1e-9 ? 0 : tick);
    return ticks;
}

namespace {

// The parts of a chart's rectangle: its title above, the plot, the axis texts left and
// below, the legend under them.
struct ChartFrame {
    QRectF plot;
    QRectF legend;
};

ChartFrame frameChart(QPainter& painter, const QRectF& rect, const ReportStyle& style,
                      const QString& title, const std::vector<QString>& valueLabels) {
    const QFontMetricsF small(style.small(), &style.device());
    const QFontMetricsF bold(style.bold(), &style.device());
    painter.setPen(ReportStyle::ink());
    painter.setFont(style.bold());
    painter.drawText(QPointF(rect.left(), rect.top() + bold.ascent()), title);
    double labelWidth = 0;
    for (const QString& label : valueLabels)
        labelWidth = std::max(labelWidth, small.horizontalAdvance(label));
    ChartFrame frame;
    const double top = rect.top() + bold.lineSpacing() + style.dots(4);
    const double legendHeight = small.lineSpacing() + style.dots(2);
    const double bottom = rect.bottom() - legendHeight - small.lineSpacing() - style.dots(3);
    frame.plot = QRectF(QPointF(rect.left() + labelWidth + style.dots(4), top),
                        QPointF(rect.right() - style.dots(2), bottom));
    frame.legend = QRectF(rect.left(), rect.bottom() - legendHeight, rect.width(), legendHeight);
    return frame;
}

void sayEmpty(QPainter& painter, const QRectF& plot, const ReportStyle& style,
              const QString& text) {
    painter.setPen(QPen(ReportStyle::rule(), style.dots(0.5)));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(plot);
    painter.setPen(ReportStyle::ink());
    painter.setFont(style.body());
    painter.drawText(plot, Qt::AlignCenter, text);
}

// The value axis: grid lines at the ticks, their labels on the left.
void paintValueAxis(QPainter& painter, const QRectF& plot, const ReportStyle& style,
                    const std::vector<double>& ticks, const std::vector<QString>& labels) {
    const QFontMetricsF small(style.small(), &style.device());
    const double low = ticks.front();
    const double high = ticks.back();
    painter.setFont(style.small());
    for (std::size_t i = 0; i < ticks.size(); ++i) {
        const double y = plot.bottom() - (ticks[i] - low) / (high - low) * plot.height();
        painter.setPen(QPen(ReportStyle::shade().darker(115), style.dots(0.4)));
        painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
        painter.setPen(ReportStyle::ink());
        painter.drawText(QPointF(plot.left() - style.dots(3) - small.horizontalAdvance(labels[i]),
                                 y + small.ascent() / 2 - small.descent() / 2),
                         labels[i]);
    }
    painter.setPen(QPen(ReportStyle::ink(), style.dots(0.6)));
    painter.drawLine(plot.bottomLeft(), plot.bottomRight());
    painter.drawLine(plot.bottomLeft(), plot.topLeft());
}

// Labels under the plot at the given x places, each centred on its place and left
// out where it would run into the one before.
void paintTimeLabels(QPainter& painter, const QRectF& plot, const ReportStyle& style,
                     const std::vector<std::pair<double, QString>>& labels) {
    const QFontMetricsF small(style.small(), &style.device());
    painter.setFont(style.small());
    double lastRight = -1e300;
    for (const auto& [x, text] : labels) {
        const double width = small.horizontalAdvance(text);
        const double left = std::clamp(x - width / 2, plot.left() - style.dots(6),
                                       plot.right() + style.dots(2) - width);
        painter.setPen(QPen(ReportStyle::ink(), style.dots(0.5)));
        painter.drawLine(QPointF(x, plot.bottom()), QPointF(x, plot.bottom() + style.dots(2)));
        if (left < lastRight + style.dots(4))
            continue;
        painter.drawText(QPointF(left, plot.bottom() + style.dots(3) + small.ascent()), text);
        lastRight = left + width;
    }
}

// Year marks where the time runs over more than about two years, else months.
std::vector<std::pair<double, QString>> timeLabels(const QDate& first, const QDate& last,
                                                   const std::function<double(QDate)>& xOf) {
    std::vector<std::pair<double, QString>> labels;
    const int months = (last.year() - first.year()) * 12 + last.month() - first.month();
    if (months > 26) {
        const int years = last.year() - first.year();
        const int every = years > 40 ? 10 : years > 20 ? 5 : years > 10 ? 2 : 1;
        for (int year = first.year() + 1; year <= last.year(); ++year)
            if (year % every == 0)
                labels.emplace_back(xOf(QDate(year, 1, 1)), QString::number(year));
    } else {
        const int every = months > 12 ? 3 : months > 6 ? 2 : 1;
        for (QDate month(first.year(), first.month(), 1); month <= last; month = month.addMonths(1))
            if ((month.month() - 1) % every == 0 && month >= first)
                labels.emplace_back(xOf(month), month.toString(QStringLiteral("M/yyyy")));
    }
    return labels;
}

void paintLegend(QPainter& painter, const QRectF& legend, const ReportStyle& style,
                 const std::vector<std::pair<std::function<void(const QRectF&)>, QString>>& keys) {
    const QFontMetricsF small(style.small(), &style.device());
    double x = legend.left();
    const double box = small.ascent();
    const double top = legend.top() + style.dots(2);
    for (const auto& [swatch, text] : keys) {
        swatch(QRectF(x, top, box * 2, box));
        x += box * 2 + style.dots(3);
        painter.setPen(ReportStyle::ink());
        painter.setFont(style.small());
        painter.drawText(QPointF(x, top + small.ascent() - small.descent() / 2), text);
        x += small.horizontalAdvance(text) + style.dots(12);
    }
}

// Diagonal lines a few points apart across rect: a hatch that keeps its spacing at
// any resolution, where a pattern brush is a few dots.
void hatch(QPainter& painter, const QRectF& rect, const ReportStyle& style) {
    painter.save();
    painter.setClipRect(rect, Qt::IntersectClip);
    painter.setPen(QPen(ReportStyle::ink(), style.dots(0.35)));
    const double step = style.dots(2.5);
    for (double x = rect.left() - rect.height(); x < rect.right(); x += step)
        painter.drawLine(QPointF(x, rect.bottom()), QPointF(x + rect.height(), rect.top()));
    painter.restore();
}

std::vector<QString> tickTexts(const std::vector<double>& ticks,
                               const std::function<QString(double)>& text) {
    std::vector<QString> labels;
    for (const double tick : ticks)
        labels.push_back(text(tick));
    return labels;
}

} // namespace

void paintMpgChart(QPainter& painter, const QRectF& rect, const ReportStyle& style,
                   const history::ChartData& data) {
    painter.save();
    const std::vector<history::ChartPoint>& points = data.mpgPerTank;
    double low = 1e300;
    double high = -1e300;
    for (const history::ChartPoint& point : points) {
        low = std::min(low, point.value);
        high = std::max(high, point.value);
    }
    const std::vector<double> ticks =
        points.empty() ? std::vector<double>{0, 1} : niceTicks(low, high, 5);
    const auto mpgLabel = [](double value) { return history::mpgText(value); };
    // As many decimals as the step between the ticks needs: "34.5", "35.0".
    const double step = ticks.size() > 1 ? ticks[1] - ticks[0] : 1;
    const int decimals = std::max(0, int(-std::floor(std::log10(step) + 1e-9)));
    const std::vector<QString> labels = tickTexts(
        ticks, [decimals](double value) { return QString::number(value, 'f', decimals); });
    const ChartFrame frame =
        frameChart(painter, rect, style, QStringLiteral("MPG per Tank"), labels);
    if (points.empty()) {
        sayEmpty(painter, frame.plot, style,
                 QStringLiteral("No tank in this period gives an MPG."));
        painter.restore();
        return;
    }
    paintValueAxis(painter, frame.plot, style, ticks, labels);
    const double start = double(points.front().when.toMSecsSinceEpoch());
    double span = double(points.back().when.toMSecsSinceEpoch()) - start;
    if (span <= 0)
        span = 1;
    const auto xAt = [&](double msecs) {
        return points.size() == 1 ? frame.plot.center().x()
                                  : frame.plot.left() + (msecs - start) / span * frame.plot.width();
    };
    const auto yAt = [&](double value) {
        return frame.plot.bottom() -
               (value - ticks.front()) / (ticks.back() - ticks.front()) * frame.plot.height();
    };
    paintTimeLabels(
        painter, frame.plot, style,
        timeLabels(points.front().when.date(), points.back().when.date(), [&](const QDate& day) {
            return xAt(double(QDateTime(day, QTime(0, 0), Qt::UTC).toMSecsSinceEpoch()));
        }));
    painter.setClipRect(frame.plot.adjusted(-style.dots(2), -style.dots(2), style.dots(2), 0));
    if (data.averageMpg) {
        QPen dashed(ReportStyle::ink(), style.dots(0.8), Qt::DashLine);
        painter.setPen(dashed);
        const double y = yAt(*data.averageMpg);
        painter.drawLine(QPointF(frame.plot.left(), y), QPointF(frame.plot.right(), y));
    }
    QPolygonF line;
    line.reserve(qsizetype(points.size()));
    for (const history::ChartPoint& point : points)
        line << QPointF(xAt(double(point.when.toMSecsSinceEpoch())), yAt(point.value));
    painter.setPen(
        QPen(ReportStyle::ink(), style.dots(0.9), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPolyline(line);
    // Marks for the tanks while there are few enough to tell apart.
    if (points.size() <= 120) {
        painter.setBrush(Qt::white);
        const double radius = style.dots(1.6);
        for (const QPointF& point : line)
            painter.drawEllipse(point, radius, radius);
    }
    painter.setClipping(false);
    const QString average = data.averageMpg
                                ? QStringLiteral("Average ") + mpgLabel(*data.averageMpg)
                                : QStringLiteral("Average");
    paintLegend(painter, frame.legend, style,
                {{[&](const QRectF& box) {
                      painter.setPen(QPen(ReportStyle::ink(), style.dots(0.9)));
                      painter.drawLine(QPointF(box.left(), box.center().y()),
                                       QPointF(box.right(), box.center().y()));
                  },
                  QStringLiteral("MPG")},
                 {[&](const QRectF& box) {
                      painter.setPen(QPen(ReportStyle::ink(), style.dots(0.8), Qt::DashLine));
                      painter.drawLine(QPointF(box.left(), box.center().y()),
                                       QPointF(box.right(), box.center().y()));
                  },
                  average}});
    painter.restore();
}

void paintCostChart(QPainter& painter, const QRectF& rect, const ReportStyle& style,
                    const std::vector<history::MonthCost>& months) {
    painter.save();
    double high = 0;
    for (const history::MonthCost& month : months)
        high = std::max(high, month.fuel + month.parts);
    const std::vector<double> ticks = niceTicks(0, high > 0 ? high : 1, 5);
    const std::vector<QString> labels = tickTexts(
        ticks, [](double value) { return QStringLiteral("$") + QString::number(value, 'f', 0); });
    const ChartFrame frame =
        frameChart(painter, rect, style, QStringLiteral("Cost per Month"), labels);
    if (months.empty()) {
        sayEmpty(painter, frame.plot, style, QStringLiteral("No costs in this period."));
        painter.restore();
        return;
    }
    paintValueAxis(painter, frame.plot, style, ticks, labels);
    const double slot = frame.plot.width() / double(months.size());
    const auto xOf = [&](const QDate& day) {
        const QDate first = months.front().month;
        const int index = (day.year() - first.year()) * 12 + day.month() - first.month();
        return frame.plot.left() + slot * (index + 0.5);
    };
    paintTimeLabels(painter, frame.plot, style,
                    timeLabels(months.front().month, months.back().month, xOf));
    const auto yAt = [&](double value) {
        return frame.plot.bottom() - value / ticks.back() * frame.plot.height();
    };
    const double barWidth = std::max(slot * 0.7, style.dots(0.3));
    // Thin bars drawn with an outline would be all outline.
    const bool outlined = barWidth > style.dots(2);
    const QBrush fuelBrush(QColor(0x50, 0x50, 0x50));
    const QPen outline = outlined ? QPen(ReportStyle::ink(), style.dots(0.4)) : QPen(Qt::NoPen);
    for (std::size_t i = 0; i < months.size(); ++i) {
        const double left = frame.plot.left() + slot * double(i) + (slot - barWidth) / 2;
        const double fuelTop = yAt(months[i].fuel);
        const double partsTop = yAt(months[i].fuel + months[i].parts);
        painter.setPen(outline);
        if (months[i].fuel > 0) {
            painter.setBrush(fuelBrush);
            painter.drawRect(QRectF(QPointF(left, fuelTop), QPointF(left + barWidth, yAt(0))));
        }
        if (months[i].parts > 0) {
            const QRectF part(QPointF(left, partsTop), QPointF(left + barWidth, fuelTop));
            painter.setBrush(Qt::white);
            painter.drawRect(part);
            hatch(painter, part, style);
        }
    }
    paintLegend(painter, frame.legend, style,
                {{[&](const QRectF& box) {
                      painter.setPen(QPen(ReportStyle::ink(), style.dots(0.4)));
                      painter.setBrush(fuelBrush);
                      painter.drawRect(box);
                  },
                  QStringLiteral("Fuel")},
                 {[&](const QRectF& box) {
                      painter.setPen(QPen(ReportStyle::ink(), style.dots(0.4)));
                      painter.setBrush(Qt::white);
                      painter.drawRect(box);
                      hatch(painter, box, style);
                  },
                  QStringLiteral("Parts")}});
    painter.restore();
}

} // namespace report
