#include "view/ViewSizing.h"

#include <algorithm>

// Each axis takes the composite's length, plus a bar's thickness when the other axis does
// not fit, up to the room. A second bar that the first one's thickness calls for lands on
// an axis already cut to the room, so it changes nothing.
QSize ViewClientSize(QSize composite, QSize available, int scrollBarExtent)
{
    const bool horizontalBar = composite.width() > available.width();
    const bool verticalBar = composite.height() > available.height();
    const int width = composite.width() + (verticalBar ? scrollBarExtent : 0);
    const int height = composite.height() + (horizontalBar ? scrollBarExtent : 0);
    return QSize(std::min(width, available.width()), std::min(height, available.height()));
}
