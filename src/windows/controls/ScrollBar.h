#pragma once
#include <QScrollBar>
#include <cstdint>

// A scroll bar with 16-bit minimum, maximum and value. `change` fires after every change
// of the value (arrows, track, keyboard, the program, and the release of a dragged
// thumb) but not while the thumb is being dragged. A bar no longer than twice its
// thickness has no room for a track and shows only its two arrow buttons, each half its
// length, as a spinner.
class ScrollBar : public QScrollBar {
    Q_OBJECT
public:
    ScrollBar(QWidget* parent, Qt::Orientation orientation, QRect outer, std::int16_t min,
              std::int16_t max, std::int16_t value);

    std::int16_t Value() const { return static_cast<std::int16_t>(value()); }
    void SetValue(std::int16_t v) { setValue(v); }
    void SetMax(std::int16_t max) { setMaximum(max); }

signals:
    void change();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool ArrowsOnly() const;
    // The arrow button that steps forward (down or right) or back, in widget pixels.
    QRect ArrowRect(bool forward) const;

    // The arrow held down in a spinner, SliderNoAction while none is.
    SliderAction heldArrow_ = SliderNoAction;
};
