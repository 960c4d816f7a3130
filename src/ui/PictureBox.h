#pragma once
#include "platform/Surface.h"

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

signals:
    void mouseDown(std::int16_t button, std::int16_t shift, float x, float y);
    void mouseMove(std::int16_t buttons, std::int16_t shift, float x, float y);
    void mouseUp(std::int16_t button, std::int16_t shift, float x, float y);
    void doubleClicked();
    void filesDropped(const QMimeData* data, std::int16_t button, std::int16_t shift, float x,
                      float y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    QPointF InnerPoint(QPointF widgetPoint) const;
    bool Reports(QPointF widgetPoint) const;
    void FollowSurface();

    Surface surface_;
    BorderStyle border_;
};
