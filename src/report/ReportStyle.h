#pragma once

#include <QColor>
#include <QFont>

class QPaintDevice;

namespace report {

// The report's type and measures. Lengths are given in points and turned into the
// device's dots here, so one layout serves a 1200 dpi PDF and a 600 dpi printer alike;
// the fonts take no hinting, so their widths scale with the resolution and a page
// breaks at the same line on every device.
class ReportStyle {
public:
    explicit ReportStyle(const QPaintDevice& device);

    double dots(double points) const { return points * m_dotsPerPoint; }

    const QFont& body() const { return m_body; }       // texts and table cells
    const QFont& bold() const { return m_bold; }       // table headers, visit lines
    const QFont& small() const { return m_small; }     // page header, footer, chart axes
    const QFont& heading() const { return m_heading; } // a section's title
    const QFont& title() const { return m_title; }     // the report's title
    const QPaintDevice& device() const { return m_device; }

    // Black and shades of grey only: the pages print alike on a black-and-white printer.
    static QColor ink() { return Qt::black; }
    static QColor rule() { return QColor(0x80, 0x80, 0x80); }
    static QColor shade() { return QColor(0xe6, 0xe6, 0xe6); }

private:
    QFont font(double points, bool bold) const;

    const QPaintDevice& m_device;
    double m_dotsPerPoint;
    QFont m_body;
    QFont m_bold;
    QFont m_small;
    QFont m_heading;
    QFont m_title;
};

} // namespace report
