#include "ui/AppIcon.h"

#include <QPainter>
#include <QPixmap>

namespace {
QPixmap Draw(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    const int s = size / 16;
    painter.setPen(Qt::black);
    painter.setBrush(QColor(0x40, 0x80, 0xC0));
    painter.drawRect(0, 0, 11 * s, 11 * s);
    painter.setBrush(QColor(0xF0, 0xC0, 0x30));
    painter.drawRect(5 * s, 5 * s, 10 * s, 10 * s);
    return pixmap;
}
} // namespace

QIcon AppIcon()
{
    QIcon icon;
    icon.addPixmap(Draw(16));
    icon.addPixmap(Draw(32));
    return icon;
}
