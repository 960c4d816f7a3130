#include "windows/controls/PictureBox.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QWheelEvent>
#include <cmath>

namespace {
int BorderWidth(BorderStyle border)
{
    switch (border) {
    case BorderStyle::ThreeD: return 2;
    case BorderStyle::Flat: return 1;
    case BorderStyle::None: return 0;
    }
    return 0;
}
} // namespace

PictureBox::PictureBox(QWidget* parent, QRect outer, BorderStyle border, QColor backColour)
    : QWidget(parent),
      surface_(outer.width() - 2 * BorderWidth(border), outer.height() - 2 * BorderWidth(border),
               backColour),
      border_(border)
{
    setGeometry(outer);
    setAttribute(Qt::WA_OpaquePaintEvent);
    connect(&surface_, &Surface::resized, this, &PictureBox::FollowSurface);
    connect(&surface_, &Surface::refreshed, this, qOverload<>(&QWidget::update));
}

int PictureBox::borderWidth() const
{
    return BorderWidth(border_);
}

void PictureBox::SetOuterSize(int width, int height)
{
    surface_.SetSize(width - 2 * borderWidth(), height - 2 * borderWidth());
}

void PictureBox::SetZoom(double zoom)
{
    if (zoom == zoom_)
        return;
    zoom_ = zoom;
    FollowSurface();
    emit zoomChanged();
}

int PictureBox::ShownLength(int bitmapLength) const
{
    return zoom_ == 1.0 ? bitmapLength : int(std::lround(bitmapLength * zoom_));
}

void PictureBox::FollowSurface()
{
    resize(ShownLength(surface_.Width()) + 2 * borderWidth(),
           ShownLength(surface_.Height()) + 2 * borderWidth());
    update();
}

QPointF PictureBox::InnerPoint(QPointF widgetPoint) const
{
    return (widgetPoint - QPointF(borderWidth(), borderWidth())) / zoom_;
}

void PictureBox::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const int b = borderWidth();
    painter.setClipRegion(event->region());
    if (zoom_ == 1.0) {
        painter.drawImage(b, b, surface_.Image());
    } else {
        // The painter scales only what the clip lets through, so a camera-sized bitmap
        // costs what the exposed part of the screen holds. Shown smaller, the picture is
        // smoothed; shown larger, each pixel stays a sharp square.
        painter.setRenderHint(QPainter::SmoothPixmapTransform, zoom_ < 1.0);
        painter.drawImage(QRectF(b, b, surface_.Width() * zoom_, surface_.Height() * zoom_),
                          surface_.Image());
    }
    if (border_ == BorderStyle::Flat) {
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawRect(0, 0, width() - 1, height() - 1);
    } else if (border_ == BorderStyle::ThreeD) {
        // A sunken edge: dark outside line top-left, light bottom-right, twice.
        const QPalette pal = palette();
        const QColor lines[4] = {pal.color(QPalette::Mid), pal.color(QPalette::Light),
                                 pal.color(QPalette::Shadow), pal.color(QPalette::Midlight)};
        for (int ring = 0; ring < 2; ++ring) {
            const int r = width() - 1 - ring, bottom = height() - 1 - ring;
            painter.setPen(lines[ring * 2]);
            painter.drawLine(ring, ring, r - 1, ring);
            painter.drawLine(ring, ring, ring, bottom - 1);
            painter.setPen(lines[ring * 2 + 1]);
            painter.drawLine(ring, bottom, r, bottom);
            painter.drawLine(r, ring, r, bottom);
        }
    }
    // Outside the bitmap (a widget larger than its surface) shows the background.
    const QRect inner(b, b, ShownLength(surface_.Width()), ShownLength(surface_.Height()));
    const QRegion rest = QRegion(rect().adjusted(b, b, -b, -b)) - inner;
    for (const QRect& r : rest)
        painter.fillRect(r, surface_.BackColour());
}

void PictureBox::mousePressEvent(QMouseEvent* event)
{
    if (!Reports(event->position()))
        return;
    emit mouseDown(event->button(), event->modifiers(), InnerPoint(event->position()));
}

void PictureBox::mouseMoveEvent(QMouseEvent* event)
{
    if (!Reports(event->position()))
        return;
    emit mouseMove(event->buttons(), event->modifiers(), InnerPoint(event->position()));
}

void PictureBox::mouseReleaseEvent(QMouseEvent* event)
{
    if (!Reports(event->position()))
        return;
    emit mouseUp(event->button(), event->modifiers(), InnerPoint(event->position()));
}

void PictureBox::mouseDoubleClickEvent(QMouseEvent* event)
{
    // The second press of a double click is reported as the double click alone, so the
    // handlers see press, release, double click, release.
    if (Reports(event->position()))
        emit doubleClicked();
}

void PictureBox::keyPressEvent(QKeyEvent* event)
{
    bool used = false;
    emit keyDown(event->key(), event->modifiers(), used);
    if (!used)
        QWidget::keyPressEvent(event);
}

void PictureBox::wheelEvent(QWheelEvent* event)
{
    bool used = false;
    if (const int turned = event->angleDelta().y(); turned != 0)
        emit mouseWheel(turned, event->modifiers(), InnerPoint(event->position()), used);
    if (!used)
        QWidget::wheelEvent(event);
}

bool PictureBox::Reports(QPointF widgetPoint) const
{
    const int b = borderWidth();
    return b == 0 || (widgetPoint.x() >= b && widgetPoint.x() < width() - b &&
                      widgetPoint.y() >= b && widgetPoint.y() < height() - b);
}

void PictureBox::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void PictureBox::dragMoveEvent(QDragMoveEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void PictureBox::dropEvent(QDropEvent* event)
{
    event->acceptProposedAction();
    emit filesDropped(event->mimeData(), event->buttons(), event->modifiers(),
                      InnerPoint(event->position()));
}
