#pragma once
#include <QWidget>

class PictureBox;

// A one-pixel rectangle outline over a picture box's contents, transparent inside and to
// the mouse. Its line runs along the edges of its rectangle, which is kept in the box's
// pixels at zoom 1 (for a borderless box, the bitmap's pixels) and shown at the box's zoom.
class Shape : public QWidget {
    Q_OBJECT
public:
    Shape(PictureBox* box, QRect bounds);

    QRect Bounds() const { return bounds_; }
    void SetBounds(QRect bounds);
    void SetBorderColor(QColor colour);
    QColor BorderColor() const { return colour_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void FollowZoom();

    PictureBox& box_;
    QRect bounds_;
    QColor colour_{Qt::black};
};
