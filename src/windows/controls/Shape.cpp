#include "windows/controls/Shape.h"

#include "windows/controls/PictureBox.h"

#include <QPainter>
#include <QRegion>
#include <algorithm>
#include <cmath>

Shape::Shape(PictureBox* box, QRect bounds) : QWidget(box), box_(*box)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    connect(box, &PictureBox::zoomChanged, this, &Shape::FollowZoom);
    SetBounds(bounds);
}

void Shape::SetBounds(QRect bounds)
{
    bounds_ = bounds;
    FollowZoom();
}

// Both edges are scaled, so the outline keeps surrounding the pixels it marks; it stays at
// least one pixel wide and high.
void Shape::FollowZoom()
{
    const double zoom = box_.Zoom();
    if (zoom == 1.0) {
        setGeometry(bounds_);
        return;
    }
    const auto shown = [zoom](std::int64_t at) { return int(std::llround(double(at) * zoom)); };
    const int left = shown(bounds_.x()), top = shown(bounds_.y());
    const int right = shown(std::int64_t(bounds_.x()) + bounds_.width());
    const int bottom = shown(std::int64_t(bounds_.y()) + bounds_.height());
    setGeometry(left, top, std::max(right - left, 1), std::max(bottom - top, 1));
}

void Shape::SetBorderColor(QColor colour)
{
    colour_ = colour;
    // Only the outline changes; over a camera-sized composite the inside would be
    // painted again from the picture below every tenth of a second.
    update(QRegion(rect()) - QRegion(rect().adjusted(1, 1, -1, -1)));
}

void Shape::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(colour_);
    painter.drawRect(0, 0, width() - 1, height() - 1);
}
