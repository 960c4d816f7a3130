#include "ui/ScrollBar.h"

ScrollBar::ScrollBar(QWidget* parent, Qt::Orientation orientation, QRect outer,
                     std::int16_t min, std::int16_t max, std::int16_t value)
    : QScrollBar(orientation, parent)
{
    setGeometry(outer);
    setRange(min, max);
    setValue(value);
    setSingleStep(1);
    setPageStep(1);
    setTracking(false);
    setFocusPolicy(Qt::StrongFocus);
    connect(this, &QAbstractSlider::valueChanged, this, &ScrollBar::change);
}
