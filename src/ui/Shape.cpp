#include "ui/Shape.h"

#include <QPainter>

Shape::Shape(QWidget* parent, QRect rect) : QWidget(parent)
{
    setGeometry(rect);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
}

void Shape::SetBorderColor(QColor color)
{
    color_ = color;
    update();
}

void Shape::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(color_);
    painter.drawRect(0, 0, width() - 1, height() - 1);
}
