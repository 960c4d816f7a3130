#pragma once
#include <QSize>

// The client size of the composite view for a composite of `composite` pixels when the
// client area may be at most `available` pixels: the composite exactly when it fits;
// otherwise the window stops at `available` along the axis that does not fit, and a
// scroll bar `scrollBarExtent` pixels thick takes room from the other axis, which may
// then need a scroll bar of its own.
QSize ViewClientSize(QSize composite, QSize available, int scrollBarExtent);
