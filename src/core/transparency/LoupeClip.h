#pragma once
#include <cstdint>

// The magnifier shows the LoupeCells x LoupeCells picture pixels around the pointer, each
// enlarged to a LoupeZoom x LoupeZoom block, the pointer's own pixel in cell
// (LoupeCentre, LoupeCentre), so it always lands on loupe pixels 32..39.
constexpr int LoupeCells = 9;
constexpr int LoupeCentre = 4;
constexpr int LoupeZoom = 8;

// The part of the block around the pointer that lies on the picture: w x h picture
// pixels from (sx, sy), to be drawn from cell (dx, dy) of the loupe. Nothing is to be
// drawn unless w > 0 and h > 0.
struct LoupeSource {
    std::int32_t sx, sy;
    std::int32_t w, h;
    std::int32_t dx, dy;

    bool Visible() const { return w > 0 && h > 0; }
};

// The block around picture point (pointerX, pointerY), which may lie outside the picture,
// clipped to a picture of pictureWidth x pictureHeight pixels (both >= 0). An axis that
// misses the picture comes back with length, start and cell 0.
LoupeSource ClipLoupeSource(std::int32_t pointerX, std::int32_t pointerY,
                            std::int32_t pictureWidth, std::int32_t pictureHeight);
