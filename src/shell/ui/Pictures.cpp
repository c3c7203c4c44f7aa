#include "shell/ui/Pictures.h"

#include <QPainter>
#include <QPainterPath>

namespace zorneta {

namespace {

// A plug and a socket; joined when connected, apart when not.
QPixmap plugPicture(bool connected) {
    const int w = 48, h = 32;
    QPixmap pm(w, h);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor body = connected ? QColor(30, 140, 60) : QColor(170, 40, 40);
    const int gap = connected ? 0 : 8;
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(body);
    // Cable and socket on the left.
    p.drawRect(2, 14, 8, 4);
    p.drawRoundedRect(10, 8, 10, 16, 2, 2);
    // Plug with pins on the right.
    p.drawRoundedRect(26 + gap / 2, 8, 10, 16, 2, 2);
    p.drawRect(36 + gap / 2, 14, 10 - gap / 2, 4);
    p.setBrush(QColor(220, 200, 80));
    p.drawRect(20 + gap / 2, 11, 6, 3);
    p.drawRect(20 + gap / 2, 18, 6, 3);
    return pm;
}

} // namespace

QPixmap connectedPicture() {
    return plugPicture(true);
}
QPixmap notConnectedPicture() {
    return plugPicture(false);
}

QPixmap logoPicture(int size) {
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size / 96.0;
    p.scale(s, s);
    // A furnace with its heating curve.
    p.setPen(QPen(QColor(60, 60, 60), 2));
    p.setBrush(QColor(240, 236, 226));
    p.drawRoundedRect(6, 6, 84, 84, 8, 8);
    QPainterPath curve;
    curve.moveTo(14, 80);
    curve.cubicTo(30, 78, 40, 20, 56, 22);
    curve.cubicTo(64, 23, 62, 30, 70, 28);
    curve.lineTo(84, 28);
    p.setPen(QPen(QColor(200, 40, 20), 4, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(curve);
    p.setPen(QPen(QColor(10, 10, 200), 2));
    p.drawLine(14, 84, 84, 84);
    p.drawLine(14, 84, 14, 14);
    return pm;
}

} // namespace zorneta
