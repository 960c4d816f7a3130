#include "ui/Shape.h"

#include <QPainter>
#include <QRegion>

Shape::Shape(QWidget* parent, QRect rect) : QWidget(parent)
{
    setGeometry(rect);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
}

void Shape::SetBorderColor(QColor color)
{
    color_ = color;
    // Only the outline changes; over a camera-sized composite the inside would be
    // painted again from the picture below every tenth of a second.
    update(QRegion(rect()) - QRegion(rect().adjusted(1, 1, -1, -1)));
}

void Shape::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(color_);
    painter.drawRect(0, 0, width() - 1, height() - 1);
}
