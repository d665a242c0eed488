#include "WrappedText.h"

#include <QFontMetricsF>
#include <QRegularExpression>
#include <QTextLayout>

namespace report {

QStringList wrappedLines(const QString& text, const QFont& font, const QPaintDevice& device,
                         double width) {
    QStringList lines;
    QString plain = text;
    plain.replace(QLatin1String("\r\n"), QLatin1String("\n"))
        .replace(QLatin1Char('\r'), QLatin1Char('\n'));
    plain.replace(QLatin1Char('\t'), QLatin1Char(' '));
    const QFontMetricsF metrics(font, &device);
    for (const QString& paragraph : plain.split(QLatin1Char('\n'))) {
        // Most cells fit as they are: no layout is made for them.
        if (metrics.horizontalAdvance(paragraph) <= width) {
            lines << paragraph;
            continue;
        }
        QTextLayout layout(paragraph, font, const_cast<QPaintDevice*>(&device));
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width);
            QString piece = paragraph.mid(line.textStart(), line.textLength());
            while (!piece.isEmpty() && piece.back().isSpace())
                piece.chop(1);
            lines << piece;
        }
        layout.endLayout();
    }
    return lines;
}

} // namespace report
