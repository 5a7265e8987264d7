#include "ui/CardPictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPolygon>

namespace kavo {

QPixmap PlayIcon() {
    QPixmap icon(12, 12);
    icon.fill(Qt::transparent);
    QPainter painter(&icon);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x2E, 0x9E, 0x3E));
    painter.drawPolygon(QPolygon({QPoint(2, 1), QPoint(11, 6), QPoint(2, 11)}));
    return icon;
}

QPixmap StopIcon() {
    QPixmap icon(12, 12);
    icon.fill(Qt::transparent);
    QPainter painter(&icon);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xD0, 0x3A, 0x2F));
    painter.drawRoundedRect(QRectF(1.5, 1.5, 9, 9), 1.5, 1.5);
    return icon;
}

QPixmap CardBackground(QSize size, bool selected) {
    QPixmap picture(size);
    QPainter painter(&picture);
    QLinearGradient fill(0, 0, 0, size.height());
    if (selected) {
        fill.setColorAt(0, QColor(0xFF, 0xF4, 0xE0));
        fill.setColorAt(1, QColor(0xFC, 0xE2, 0xB8));
    } else {
        fill.setColorAt(0, QColor(0xFF, 0xFF, 0xFF));
        fill.setColorAt(1, QColor(0xF0, 0xF3, 0xF7));
    }
    painter.fillRect(picture.rect(), fill);
    painter.setPen(selected ? QColor(0xE0, 0x8A, 0x34) : QColor(0xD5, 0xDA, 0xE1));
    painter.drawRect(picture.rect().adjusted(0, 0, -1, -1));
    return picture;
}

} // namespace kavo
