#pragma once
#include "core/compose/ComposeImages.h"
#include "core/surfaces/Surface.h"

#include <QRect>

// The view as the engine sees it: a real board surface, the marker's rectangle and the
// number of repaints asked for.
class RecordingView final : public CompositeTarget {
public:
    Surface board{200, 200, Qt::gray};
    QRect marker;
    int refreshes = 0;

    Surface& Board() override { return board; }
    void PlaceMarker(int x, int y, int w, int h) override { marker = QRect(x, y, w, h); }
    void Refresh() override { ++refreshes; }
};
