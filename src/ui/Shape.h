#pragma once
#include <QWidget>

// A one-pixel rectangle outline over its container's contents, transparent inside and
// to the mouse. Its line runs along the edges of its own rectangle.
class Shape : public QWidget {
    Q_OBJECT
public:
    Shape(QWidget* parent, QRect rect);

    void SetBorderColor(QColor color);
    QColor BorderColor() const { return color_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor color_{Qt::black};
};
