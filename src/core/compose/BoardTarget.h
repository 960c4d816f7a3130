#pragma once
#include "core/compose/ComposeImages.h"
#include "core/surfaces/Surface.h"
#include "core/surfaces/SystemColours.h"

// A composite target without a window, for composing off screen: the board alone. It keeps
// its bitmap between runs, so a run with a background of the same size reuses it; the
// marker and the repaint have nothing to show.
class BoardTarget final : public CompositeTarget {
public:
    Surface& Board() override { return board_; }
    void PlaceMarker(std::int32_t, std::int32_t, std::int32_t, std::int32_t) override {}
    void Refresh() override {}

private:
    Surface board_{0, 0, COLOR_BTNFACE};
};
