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
// In a picture that keeps its transparency only the colour bytes are compared and
// repainted, each pixel keeping its alpha; a wholly transparent pixel (x, y) shows no
// colour to take away, so clicking it changes nothing (false).
bool RecolourLikePixel(Surface& picture, std::int32_t x, std::int32_t y, ColorRef key,
                       RecolourHistory& history);

// Takes the last recolouring in `history` back, or does the last one taken back again, in
// the surface's bitmap (never in its assigned picture). False, with the bitmap and the
// history unchanged, when there is none or the bitmap cannot be read or written.
bool UndoRecolouring(Surface& picture, RecolourHistory& history);
bool RedoRecolouring(Surface& picture, RecolourHistory& history);

// Does every step of `history` not taken back again, first done first, on a bitmap of the
// size they were found in: the clicks on a foreground decoded anew from its file. False,
// with the bitmap unchanged, when it cannot be read or written or has another size.
bool ReapplyRecolourings(Surface& picture, const RecolourHistory& history);
