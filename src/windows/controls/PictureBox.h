#pragma once
#include "core/surfaces/Surface.h"

#include <QWidget>
#include <cstdint>

#include <QMimeData>

enum class BorderStyle { None, Flat, ThreeD };

// A picture surface on screen: a widget that shows its Surface's backing bitmap inside
// an optional border (flat 1 pixel, 3-D 2 pixels on each side) and reports the mouse in
// the bitmap's pixels. With auto-size the widget follows the surface's size.
// A surface with a border reports the mouse only over its inner area: the border frames
// the picture and shows none of it. A borderless one reports every point, also beyond its
// edges while a held button keeps the mouse, so a drag can follow the pointer out.
// A zoom below 1 shows the bitmap smaller, smoothly scaled; the mouse is still reported in
// the bitmap's pixels, fractional where a screen pixel covers several.
class PictureBox : public QWidget {
    Q_OBJECT
public:
    PictureBox(QWidget* parent, QRect outer, BorderStyle border, QColor backColor);

    Surface& surface() { return surface_; }
    const Surface& surface() const { return surface_; }
    BorderStyle border() const { return border_; }
    int borderWidth() const;
    // Outer size in the container's pixels, border included.
    void SetOuterSize(int width, int height);
    // Files dropped from the file manager arrive through filesDropped.
    void setAcceptFiles(bool accept) { setAcceptDrops(accept); }
    // Screen pixels per bitmap pixel, 1 unless set (0 < zoom <= 1); the widget takes the
    // zoomed size, rounded to whole pixels.
    double Zoom() const { return zoom_; }
    void SetZoom(double zoom);

signals:
    void mouseDown(std::int16_t button, std::int16_t shift, float x, float y);
    void mouseMove(std::int16_t buttons, std::int16_t shift, float x, float y);
    void mouseUp(std::int16_t button, std::int16_t shift, float x, float y);
    void doubleClicked();
    // A key pressed while the box has the focus. A receiver that uses the key sets the code
    // to 0; a key left as it came goes on to the box's container (a scroll area scrolls
    // with it).
    void keyDown(std::int16_t& keyCode, std::int16_t shift);
    // The wheel turned over the box, in eighths of a degree (120 a notch, negative towards
    // the user). A receiver that uses the turn sets it to 0; a turn left as it came, or a
    // sideways one, goes on to the container.
    void mouseWheel(std::int32_t& delta, std::int16_t shift, float x, float y);
    // The zoom changed; the widget has its new size.
    void zoomChanged();
    void filesDropped(const QMimeData* data, std::int16_t button, std::int16_t shift, float x,
                      float y);

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
