#include "AppIcon.h"

#include <QPainter>
#include <QPainterPath>

namespace about {

QPixmap appIconPixmap(int size, qreal devicePixelRatio) {
    QPixmap pixmap(QSize(size, size) * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 32.0, size / 32.0);

    // Body and cabin.
    QPainterPath body;
    body.moveTo(2, 22);
    body.lineTo(2, 16);
    body.lineTo(8, 15);
    body.lineTo(12, 9);
    body.lineTo(22, 9);
    body.lineTo(26, 15);
    body.lineTo(30, 16);
    body.lineTo(30, 22);
    body.closeSubpath();
    painter.setPen(QPen(QColor(20, 40, 90), 1.2));
    painter.setBrush(QColor(40, 100, 200));
    painter.drawPath(body);
    painter.setBrush(QColor(200, 230, 255));
    painter.drawPolygon(QPolygonF({{10, 15}, {13, 11}, {21, 11}, {24, 15}}));

    // Wheels.
    painter.setBrush(QColor(30, 30, 30));
    painter.drawEllipse(QPointF(9, 22), 4, 4);
    painter.drawEllipse(QPointF(23, 22), 4, 4);
    painter.setBrush(QColor(190, 190, 190));
    painter.drawEllipse(QPointF(9, 22), 1.5, 1.5);
    painter.drawEllipse(QPointF(23, 22), 1.5, 1.5);
    return pixmap;
}

} // namespace about
