#pragma once
// Where the batch puts the foreground on backgrounds of every size, and how large: by a
// corner, a side or the centre with a margin, and scaled to each background.
#include <QPoint>
#include <QSize>
#include <QStringView>
#include <optional>

// The nine places of --gravity: nw n ne / w c e / sw s se.
enum class Gravity { NorthWest, North, NorthEast, West, Centre, East, SouthWest, South, SouthEast };

// A distance along one side of the background: pixels, or percent of that side.
struct Length {
    double value = 0;
    bool percent = false;
};

// --margin X,Y: the foreground's distance from the edges its gravity holds it to.
struct Margin {
    Length x, y;
};

// --scale: the foreground's width as a percent of each background's width, or a box W x H
// it fits in; either way its sides keep their proportion.
struct ForegroundScale {
    double percent = 0;   // above 0: this percent of the background's width
    QSize box;            // otherwise: the largest size that fits in this box
};

// The nine names in either case.
std::optional<Gravity> GravityNamed(QStringView name);
// "X,Y", each a whole number of pixels (0 or more) or a percent ("5%", "2.5%", up to 100).
std::optional<Margin> MarginOf(QStringView text);
// "PERCENT" (above 0, up to 100, decimals allowed) or "WxH" (whole numbers, 1 or more).
std::optional<ForegroundScale> ScaleOf(QStringView text);

// The size a `front` foreground takes on a `background`: as `scale` says, at least one pixel
// a side, and shrunk in proportion where it would pass the picture limit.
QSize ScaledFrontSize(QSize front, QSize background, const ForegroundScale& scale);

// The top-left corner of a `front` foreground held by `gravity` to the background's edges,
// `margin` away from them. In the middle column and row the foreground is centred (halves
// rounded towards the top left) and the margin along that side does not apply.
QPoint PlacedCorner(QSize front, QSize background, Gravity gravity, const Margin& margin);
