#pragma once
#include <QSize>

// The client size of the composite view for a composite of `composite` pixels when the
// client area may be at most `available` pixels: the composite exactly when it fits;
// otherwise the window stops at `available` along the axis that does not fit, and a
// scroll bar `scrollBarExtent` pixels thick takes room from the other axis, which may
// then need a scroll bar of its own.
QSize ViewClientSize(QSize composite, QSize available, int scrollBarExtent);

// The zoom at which a composite of `composite` pixels shows whole within `room` pixels:
// 1 when it fits as it is, otherwise the share of its tighter side.
double FitZoom(QSize composite, QSize room);

// The largest zoom: eight screen pixels a composite pixel.
inline constexpr double kMaxZoom = 8.0;

// The zoom `steps` steps larger (positive) or smaller (negative) than `zoom` on the ladder
// ... 1/3, 1/2, 1, 2, 3 ... 8, held between the fit zoom `fit` (or 1, when the composite
// fits as it is) and kMaxZoom, so the last step out always lands on the fit. A zoom between
// two rungs steps to the next one either way.
double SteppedZoom(double zoom, double fit, int steps);
