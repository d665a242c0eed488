#include "ReportStyle.h"

#include <QPaintDevice>

namespace report {

ReportStyle::ReportStyle(const QPaintDevice& device)
    : m_device(device), m_dotsPerPoint(device.logicalDpiY() / 72.0), m_body(font(9, false)),
      m_bold(font(9, true)), m_small(font(7.5, false)), m_heading(font(12, true)),
      m_title(font(18, true)) {}

QFont ReportStyle::font(double points, bool bold) const {
    QFont font(QStringList{QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans"),
                           QStringLiteral("Arial")});
    // No ligatures: a PDF's text reads back as typed ("filter", not a ligature sign).
    font.setStyleHint(QFont::SansSerif, QFont::PreferNoShaping);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

} // namespace report
