#include "windows/controls/ScrollBar.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOption>

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

bool ScrollBar::ArrowsOnly() const
{
    return orientation() == Qt::Vertical ? height() <= 2 * width() : width() <= 2 * height();
}

QRect ScrollBar::ArrowRect(bool forward) const
{
    if (orientation() == Qt::Vertical) {
        const int half = height() / 2;
        return forward ? QRect(0, half, width(), height() - half) : QRect(0, 0, width(), half);
    }
    const int half = width() / 2;
    return forward ? QRect(half, 0, width() - half, height()) : QRect(0, 0, half, height());
}

void ScrollBar::paintEvent(QPaintEvent* event)
{
    if (!ArrowsOnly()) {
        QScrollBar::paintEvent(event);
        return;
    }
    QPainter painter(this);
    const bool vertical = orientation() == Qt::Vertical;
    for (const bool forward : {false, true}) {
        QStyleOption option;
        option.initFrom(this);
        option.rect = ArrowRect(forward);
        const bool held = heldArrow_ == (forward ? SliderSingleStepAdd : SliderSingleStepSub);
        option.state |= held ? QStyle::State_Sunken : QStyle::State_Raised;
        style()->drawPrimitive(QStyle::PE_PanelButtonBevel, &option, &painter, this);
        const QStyle::PrimitiveElement arrow =
            vertical ? (forward ? QStyle::PE_IndicatorArrowDown : QStyle::PE_IndicatorArrowUp)
                     : (forward ? QStyle::PE_IndicatorArrowRight : QStyle::PE_IndicatorArrowLeft);
        style()->drawPrimitive(arrow, &option, &painter, this);
    }
}

void ScrollBar::mousePressEvent(QMouseEvent* event)
{
    if (!ArrowsOnly() || event->button() != Qt::LeftButton) {
        QScrollBar::mousePressEvent(event);
        return;
    }
    heldArrow_ = ArrowRect(true).contains(event->position().toPoint()) ? SliderSingleStepAdd
                                                                        : SliderSingleStepSub;
    // Held down, the arrow repeats with the delays of Qt's own scroll-bar arrows.
    setRepeatAction(heldArrow_, 500, 50);
    triggerAction(heldArrow_);
    update();
}

void ScrollBar::mouseReleaseEvent(QMouseEvent* event)
{
    if (heldArrow_ == SliderNoAction) {
        QScrollBar::mouseReleaseEvent(event);
        return;
    }
    heldArrow_ = SliderNoAction;
    setRepeatAction(SliderNoAction);
    update();
}
