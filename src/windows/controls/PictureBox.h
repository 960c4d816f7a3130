#pragma once
#include "core/surfaces/Surface.h"

#include <QWidget>
#include <QMimeData>

enum class BorderStyle { None, Flat, ThreeD };

// A picture surface on screen: a widget that shows its Surface's backing bitmap inside
// an optional border (flat 1 pixel, 3-D 2 pixels on each side) and reports the mouse in
// the bitmap's pixels. With auto-size the widget follows the surface's size.
// A surface with a border reports the mouse only over its inner area: the border frames
// the picture and shows none of it. A borderless one reports every point, also beyond its
// edges while a held button keeps the mouse, so a drag can follow the pointer out.
// A zoom below 1 shows the bitmap smaller, smoothly scaled, a zoom above 1 larger, by nearest
// neighbour; the mouse is still reported in the bitmap's pixels, fractional where a screen
// pixel covers several or a part of one.
class PictureBox : public QWidget {
    Q_OBJECT
public:
    PictureBox(QWidget* parent, QRect outer, BorderStyle border, QColor backColour);

    Surface& surface() { return surface_; }
    const Surface& surface() const { return surface_; }
    BorderStyle border() const { return border_; }
    int borderWidth() const;
    // Outer size in the container's pixels, border included.
    void SetOuterSize(int width, int height);
    // Files dropped from the file manager arrive through filesDropped.
    void setAcceptFiles(bool accept) { setAcceptDrops(accept); }
    // Screen pixels per bitmap pixel, 1 unless set (above 0); the widget takes the zoomed
    // size, rounded to whole pixels.
    double Zoom() const { return zoom_; }
    void SetZoom(double zoom);

signals:
    // The mouse in the bitmap's pixels, fractional where a screen pixel covers several.
    void mouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPointF point);
    void mouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPointF point);
    void mouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPointF point);
    void doubleClicked();
    // A key pressed while the box has the focus. A receiver that uses the key sets `used`; a
    // key left unused goes on to the box's container (a scroll area scrolls with it).
    void keyDown(int key, Qt::KeyboardModifiers modifiers, bool& used);
    // The wheel turned over the box, in eighths of a degree (120 a notch, negative towards
    // the user). A receiver that uses the turn sets `used`; a turn left unused, or a
    // sideways one, goes on to the container.
    void mouseWheel(int delta, Qt::KeyboardModifiers modifiers, QPointF point, bool& used);
    // The zoom changed; the widget has its new size.
    void zoomChanged();
    void filesDropped(const QMimeData* data, Qt::MouseButtons buttons,
                      Qt::KeyboardModifiers modifiers, QPointF point);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    QPointF InnerPoint(QPointF widgetPoint) const;
    bool Reports(QPointF widgetPoint) const;
    void FollowSurface();
    int ShownLength(int bitmapLength) const;

    Surface surface_;
    BorderStyle border_;
    double zoom_ = 1.0;
};
