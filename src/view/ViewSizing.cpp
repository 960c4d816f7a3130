#include "view/ViewSizing.h"

#include <algorithm>

// A bar on the other axis can only be needed once the bar's own axis is already cut to the
// room, so adding it there would change nothing: each axis is simply the composite, plus
// the bar of the axis across it when that one does not fit, up to the room.
QSize ViewClientSize(QSize composite, QSize available, int scrollBarExtent)
{
    const bool horizontalBar = composite.width() > available.width();
    const bool verticalBar = composite.height() > available.height();
    const int width = composite.width() + (verticalBar ? scrollBarExtent : 0);
    const int height = composite.height() + (horizontalBar ? scrollBarExtent : 0);
    return QSize(std::min(width, available.width()), std::min(height, available.height()));
}
