#pragma once
#include "base/ColorRef.h"

#include <cstdint>

class RecolourHistory;
class Surface;

// Repaints every pixel of the surface's bitmap that has the colour of pixel (x, y) in the
// colour `key` (its low three bytes; the top byte is ignored, so a negative value still
// names a colour), and adds what changed to `history` unless nothing did. Precondition:
// (x, y) lies inside the bitmap. Does not repaint the surface on screen. Returns false,
// with the bitmap and the history unchanged, when the bitmap cannot be read or written.
bool RecolourLikePixel(Surface& picture, std::int32_t x, std::int32_t y, ColorRef key,
                       RecolourHistory& history);

// Takes the last recolouring in `history` back, or does the last one taken back again, in
// the surface's bitmap (never in its assigned picture). False, with the bitmap and the
// history unchanged, when there is none or the bitmap cannot be read or written.
bool UndoRecolouring(Surface& picture, RecolourHistory& history);
bool RedoRecolouring(Surface& picture, RecolourHistory& history);
