#include "core/view/ViewSizing.h"

#include <algorithm>
#include <cmath>

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

double FitZoom(QSize composite, QSize room)
{
    // At least one pixel of room, so no zoom comes out zero or negative.
    const QSize least = room.expandedTo(QSize(1, 1));
    double zoom = 1.0;
    if (composite.width() > least.width())
        zoom = std::min(zoom, double(least.width()) / composite.width());
    if (composite.height() > least.height())
        zoom = std::min(zoom, double(least.height()) / composite.height());
    return zoom;
}

// The rungs are 1/n; a zoom computed as 1/n may come out a hair off it, which the slack
// absorbs so that it counts as standing on its rung.
double SteppedZoom(double zoom, double fit, int steps)
{
    constexpr double slack = 1e-9;
    // Rung k stands for zoom k + 1 from 0 up and for 1 / (1 - k) below: whole steps either
    // way, zoom 1 at rung 0.
    const double place = zoom >= 1.0 ? zoom - 1.0 : 1.0 - 1.0 / zoom;
    double rung = place;
    if (steps > 0)
        rung = std::floor(place + slack) + steps;
    else if (steps < 0)
        rung = std::ceil(place - slack) + steps;
    const double stepped = rung >= 0 ? rung + 1.0 : 1.0 / (1.0 - rung);
    return std::clamp(stepped, std::min(fit, 1.0), kMaxZoom);
}
