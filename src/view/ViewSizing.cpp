#include "view/ViewSizing.h"

#include <algorithm>

QSize ViewClientSize(QSize composite, QSize available, int scrollBarExtent)
{
    bool horizontalBar = composite.width() > available.width();
    bool verticalBar = composite.height() > available.height();
    if (horizontalBar && !verticalBar)
        verticalBar = composite.height() + scrollBarExtent > available.height();
    if (verticalBar && !horizontalBar)
        horizontalBar = composite.width() + scrollBarExtent > available.width();
    const int width = composite.width() + (verticalBar ? scrollBarExtent : 0);
    const int height = composite.height() + (horizontalBar ? scrollBarExtent : 0);
    return QSize(std::min(width, available.width()), std::min(height, available.height()));
}
