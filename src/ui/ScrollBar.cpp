#include "ui/ScrollBar.h"

#include <QKeyEvent>

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

void ScrollBar::keyPressEvent(QKeyEvent* event)
{
    // Qt's scroll bars invert their controls so that the wheel scrolls the right way, and
    // that turns the left and right keys around too. The left key steps back and the
    // right key forward, as up and down do.
    if (event->key() == Qt::Key_Left || event->key() == Qt::Key_Right) {
        triggerAction(event->key() == Qt::Key_Left ? SliderSingleStepSub : SliderSingleStepAdd);
        event->accept();
        return;
    }
    QScrollBar::keyPressEvent(event);
}
