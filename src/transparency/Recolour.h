#pragma once
#include "platform/ColorRef.h"

#include <cstdint>

class Surface;

// Repaints every pixel of the surface's bitmap that has the colour of pixel (x, y) in the
// colour `key` (its low three bytes; the top byte is ignored, so a negative value still
// names a colour). Precondition: (x, y) lies inside the bitmap. Does not repaint the
// surface on screen. Returns false, with the bitmap unchanged, when it cannot be read or
// written.
bool RecolourLikePixel(Surface& picture, std::int32_t x, std::int32_t y, ColorRef key);
