#include "ReportLayout.h"

#include "ReportCharts.h"
#include "ReportTable.h"

#include <QFontMetricsF>
#include <QPainter>

namespace report {

namespace {

// Where a visit's services, parts and note begin: right of their captions.
constexpr double kVisitIndent = 64;
constexpr double kChartHeight = 210;

Strip space(const ReportStyle& style, double points) {
    Strip strip;
    strip.height = style.dots(points);
    strip.paint = [](QPainter&, const QRectF&) {};
    return strip;
}

Strip heading(const ReportStyle& style, const QString& text) {
    Strip strip;
    strip.height = lineHeight(style, style.heading()) + style.dots(4);
    strip.paint = [&style, text](QPainter& painter, const QRectF& rect) {
        painter.setPen(ReportStyle::ink());
        paintLines(painter, rect, {text}, style.heading(), style);
        painter.setPen(QPen(ReportStyle::ink(), style.dots(0.8)));
        const double y = rect.bottom() - style.dots(1.5);
        painter.drawLine(QPointF(rect.left(), y), QPointF(rect.right(), y));
    };
    return strip;
}

// Caption and value pairs side by side, pairs per row: the title block, the statistics.
std::vector<Strip> figureRows(const ReportStyle& style, const QStringList& captions,
                              const QStringList& texts, int pairsPerRow, double width) {
    std::vector<double> points;
    std::vector<bool> right;
    const double pairWidth = width / pairsPerRow / style.dots(1);
    for (int i = 0; i < pairsPerRow; ++i) {
        points.push_back(pairWidth * 0.55);
        points.push_back(pairWidth * 0.45);
        right.push_back(false);
        right.push_back(false);
    }
    const TableColumns columns = TableColumns::fitted(style, points, right, 0, width);
    std::vector<Strip> rows;
    const int rowCount = int((captions.size() + pairsPerRow - 1) / pairsPerRow);
    for (int row = 0; row < rowCount; ++row) {
        QStringList cells;
        for (int pair = 0; pair < pairsPerRow; ++pair) {
            // Down the first column, then down the next, as the Statistics tab reads.
            const qsizetype i = qsizetype(pair) * rowCount + row;
            cells << (i < captions.size() ? captions[i] + QLatin1Char(':') : QString());
            const QString text = texts.value(i);
            cells << (i < captions.size() && text.isEmpty() ? QStringLiteral("\u2014") : text);
        }
        rows.push_back(tableRow(style, columns, cells, style.body()));
    }
    return rows;
}

// A titled section of figures that keeps together: the statistics, the fuel summary.
StripGroup figureSection(const ReportStyle& style, const QString& title,
                         const QStringList& captions, const QStringList& texts, double width,
                         double spaceBefore) {
    StripGroup section;
    section.spaceBefore = spaceBefore;
    section.strips.push_back(heading(style, title));
    for (Strip& row : figureRows(style, captions, texts, 2, width))
        section.strips.push_back(std::move(row));
    section.keepFirst = section.strips.size();
    return section;
}

// The line that opens a visit: date, miles and order number over a rule.
Strip visitLine(const ReportStyle& style, const ServiceVisit& visit, bool continued) {
    Strip strip;
    strip.height = lineHeight(style, style.bold()) + style.dots(5);
    strip.paint = [&style, &visit, continued](QPainter& painter, const QRectF& rect) {
        painter.setPen(QPen(ReportStyle::rule(), style.dots(0.5)));
        painter.drawLine(rect.topLeft(), rect.topRight());
        painter.setPen(ReportStyle::ink());
        const QRectF text = rect.adjusted(0, style.dots(3), 0, 0);
        const QString date = visit.date.isEmpty() ? QStringLiteral("No date") : visit.date;
        paintLines(painter, text, {date}, style.bold(), style);
        if (!visit.miles.isEmpty())
            paintLines(painter, text.adjusted(style.dots(kVisitIndent), 0, 0, 0),
                       {visit.miles + QStringLiteral(" miles")}, style.bold(), style);
        QString order = QStringLiteral("Work Order ") + QString::number(visit.workOrderId);
        if (continued)
            order += QStringLiteral(" (continued)");
        paintLines(painter, text, {order}, style.bold(), style, true);
    };
    return strip;
}

// Lines of text right of a caption; the caption is painted with the first line.
std::vector<Strip> captionedLines(const ReportStyle& style, const QString& caption,
                                  const QString& text, double width) {
    const double indent = style.dots(kVisitIndent);
    std::vector<Strip> lines = textLines(style, text, style.body(), indent, width - indent);
    if (!lines.empty() && !caption.isEmpty()) {
        lines.front().paint = [&style, caption, paintLine = std::move(lines.front().paint)](
                                  QPainter& painter, const QRectF& rect) {
            paintLines(painter, rect, {caption}, style.small(), style);
            paintLine(painter, rect);
        };
    }
    return lines;
}

void addVisit(StripGroup& group, const ReportStyle& style, const ServiceVisit& visit,
              double width) {
    const auto continued = std::make_shared<const Strip>(visitLine(style, visit, true));
    group.strips.push_back(visitLine(style, visit, false));
    const std::size_t first = group.strips.size();
    for (qsizetype i = 0; i < visit.services.size(); ++i)
        for (Strip& line : captionedLines(style, i == 0 ? QStringLiteral("Services") : QString(),
                                          QStringLiteral("\u2022 ") + visit.services[i], width))
            group.strips.push_back(std::move(line));
    if (visit.services.isEmpty())
        for (Strip& line : captionedLines(style, QStringLiteral("Services"),
                                          QStringLiteral("none recorded"), width))
            group.strips.push_back(std::move(line));
    const double indent = style.dots(kVisitIndent);
    if (!visit.parts.empty()) {
        const TableColumns columns = TableColumns::fitted(
            style, {28, 84, 150, 62, 66}, {true, false, false, true, true}, indent, width - indent);
        const auto header = std::make_shared<const Strip>(tableHeader(
            style, columns,
            {QStringLiteral("Qty"), QStringLiteral("Part #"), QStringLiteral("Description"),
             QStringLiteral("Cost"), QStringLiteral("Total")}));
        Strip opening = *header;
        opening.paint = [&style, paintHeader = header->paint](QPainter& painter,
                                                              const QRectF& rect) {
            paintLines(painter, rect.adjusted(0, rowPadding(style), 0, 0),
                       {QStringLiteral("Parts")}, style.small(), style);
            paintHeader(painter, rect);
        };
        group.strips.push_back(std::move(opening));
        for (const PartLine& part : visit.parts) {
            Strip row =
                tableRow(style, columns,
                         {part.quantity, part.partNumber, part.description, part.cost, part.total},
                         style.body());
            row.repeated = {continued, header};
            group.strips.push_back(std::move(row));
        }
        Strip total = tableRow(
            style, columns,
            {QString(), QString(), QString(), QStringLiteral("Parts Total"), visit.partsTotal},
            style.bold());
        group.strips.push_back(std::move(total));
    }
    if (!visit.note.isEmpty())
        for (Strip& line : captionedLines(style, QStringLiteral("Note"), visit.note, width))
            group.strips.push_back(std::move(line));
    for (std::size_t i = first; i < group.strips.size(); ++i)
        if (group.strips[i].repeated.empty())
            group.strips[i].repeated = {continued};
    group.strips.push_back(space(style, 2));
}

Strip chartStrip(const ReportStyle& style,
                 std::function<void(QPainter&, const QRectF&)> paintChart) {
    Strip strip;
    strip.height = style.dots(kChartHeight);
    strip.paint = [paintChart = std::move(paintChart), &style](QPainter& painter,
                                                               const QRectF& rect) {
        paintChart(painter, rect.adjusted(0, style.dots(6), 0, -style.dots(6)));
    };
    return strip;
}

} // namespace

std::vector<StripGroup> layOutReport(const ReportContent& content, const ReportStyle& style,
                                     double width) {
    std::vector<StripGroup> groups;
    const double gap = style.dots(14);

    StripGroup title;
    {
        Strip name;
        name.height = lineHeight(style, style.title()) + style.dots(6);
        name.paint = [&style, &content](QPainter& painter, const QRectF& rect) {
            painter.setPen(ReportStyle::ink());
            paintLines(painter, rect, {QStringLiteral("Service Record: ") + content.vehicle.lookUp},
                       style.title(), style);
        };
        title.strips.push_back(std::move(name));
        const VehicleHeading& v = content.vehicle;
        for (Strip& row :
             figureRows(style,
                        {QStringLiteral("Look Up"), QStringLiteral("Make"), QStringLiteral("Model"),
                         QStringLiteral("Year"), QStringLiteral("Serial #"),
                         QStringLiteral("Period"), QStringLiteral("Printed")},
                        {v.lookUp, v.make, v.model, v.year, v.serialNumber, content.periodText,
                         content.printedDate},
                        2, width))
            title.strips.push_back(std::move(row));
        title.keepFirst = title.strips.size();
    }
    groups.push_back(std::move(title));

    groups.push_back(figureSection(style, QStringLiteral("Statistics"), content.statisticCaptions,
                                   content.statisticTexts, width, gap));

    const QString historyTitle =
        QStringLiteral("Service History (%1 work order%2)")
            .arg(content.visits.size())
            .arg(content.visits.size() == 1 ? QString() : QStringLiteral("s"));
    if (content.visits.empty()) {
        StripGroup none;
        none.spaceBefore = gap;
        none.strips.push_back(heading(style, historyTitle));
        for (Strip& line : textLines(style, QStringLiteral("No work orders in this period."),
                                     style.body(), 0, width))
            none.strips.push_back(std::move(line));
        none.keepFirst = none.strips.size();
        groups.push_back(std::move(none));
    }
    for (std::size_t i = 0; i < content.visits.size(); ++i) {
        StripGroup visit;
        if (i == 0) {
            visit.spaceBefore = gap;
            visit.strips.push_back(heading(style, historyTitle));
        }
        addVisit(visit, style, content.visits[i], width);
        visit.keepFirst = visit.strips.size();
        groups.push_back(std::move(visit));
    }
    if (!content.visits.empty()) {
        StripGroup total;
        Strip line =
            tableRow(style, TableColumns::fitted(style, {200, 100}, {false, true}, 0, width),
                     {QStringLiteral("Grand Total"), content.grandTotal}, style.bold());
        line.paint = [&style, paintRow = std::move(line.paint)](QPainter& painter,
                                                                const QRectF& rect) {
            painter.setPen(QPen(ReportStyle::ink(), style.dots(0.8)));
            painter.drawLine(rect.topLeft(), rect.topRight());
            paintRow(painter, rect);
        };
        total.strips.push_back(std::move(line));
        groups.push_back(std::move(total));
    }

    groups.push_back(figureSection(style, QStringLiteral("Fuel"),
                                   {QStringLiteral("Fill-Ups"), QStringLiteral("Gallons"),
                                    QStringLiteral("Fuel Cost"), QStringLiteral("Average MPG")},
                                   {content.fuel.fillUps, content.fuel.gallons,
                                    content.fuel.fuelCost, content.fuel.averageMpg},
                                   width, gap));

    StripGroup charts;
    charts.spaceBefore = gap;
    charts.strips.push_back(heading(style, QStringLiteral("Charts")));
    charts.strips.push_back(chartStrip(style, [&style, &content](QPainter& p, const QRectF& r) {
        paintMpgChart(p, r, style, content.charts);
    }));
    charts.keepFirst = 2;
    charts.strips.push_back(chartStrip(style, [&style, &content](QPainter& p, const QRectF& r) {
        paintCostChart(p, r, style, content.charts.costPerMonth);
    }));
    groups.push_back(std::move(charts));

    if (content.withFuelLog) {
        StripGroup log;
        log.newPage = true;
        log.strips.push_back(heading(style, QStringLiteral("Fuel Log")));
        // The City takes the room the figures leave.
        const TableColumns fitted = TableColumns::fitted(
            style, {52, 54, 50, 46, 34, 48, 52, 36, 60, 34},
            {false, true, true, true, false, true, true, true, false, false}, 0, width, 8);
        const auto header =
            std::make_shared<const Strip>(tableHeader(style, fitted, content.fuelLogCaptions));
        log.strips.push_back(*header);
        if (content.fuelLogRows.empty())
            for (Strip& line : textLines(style, QStringLiteral("No fuel purchases in this period."),
                                         style.body(), 0, width))
                log.strips.push_back(std::move(line));
        for (const QStringList& cells : content.fuelLogRows) {
            Strip row = tableRow(style, fitted, cells, style.body());
            row.repeated = {header};
            log.strips.push_back(std::move(row));
        }
        log.keepFirst = 3;
        groups.push_back(std::move(log));
    }
    return groups;
}

} // namespace report
