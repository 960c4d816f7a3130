#pragma once
#include "base/ColorRef.h"

#include <cstdint>

class Surface;

// The three picture stores the engine reads and writes, all surfaces without a border.
struct CompositionStores {
    Surface& front;   // the foreground picture, wf x hf
    Surface& back;    // the background picture, wb x hb
    Surface* work;    // the work surface, wf x hf: after a run it holds the blended patch
                      // where the foreground lies over the background, elsewhere what it held;
                      // none where nothing shows the patch (composing off screen)
};

// What the engine draws into: the composite view's board and its foreground marker.
class CompositeTarget {
public:
    virtual ~CompositeTarget() = default;
    // The surface that receives the composite; the engine gives it the background's size.
    virtual Surface& Board() = 0;
    // Places the marker over the foreground's rectangle, in board pixels; the rectangle may
    // reach past the board or lie wholly outside it.
    virtual void PlaceMarker(std::int32_t left, std::int32_t top, std::int32_t width,
                             std::int32_t height) = 0;
    // Repaints the view from the board.
    virtual void Refresh() = 0;
};

// Pastes the foreground onto the background with its top-left corner at (frontX, frontY)
// of the background, in pixels, any value allowed. Foreground pixels of exactly the key
// colour (a ColorRef; its top byte is ignored) let the background through; the others
// are blended with BlendPixels at `rate` percent (0..100; 100 is an opaque foreground).
// With a `keyTolerance` above 0 (percent, SoftKey.h) or a foreground picture that keeps
// its transparency (QImage::Format_ARGB32, not premultiplied), each foreground pixel is
// first keyed by ApplyKey and covers the background by what it is left (BlendRunCovered).
// The board ends up the background's size holding the composite; whatever part of the
// foreground falls outside the background is cut away. The result depends only on the
// two pictures and the arguments, never on what the work surface or the board held. A
// background whose bitmap reads the board's own pixels is composed in place: only the
// overlap is written.
// Nothing is kept between runs but the bitmaps of the work surface and the board, which
// are reused while their sizes stay; several threads may compose at once, each with its
// own work surface and board.
void ComposeImages(ColorRef key, std::int32_t keyTolerance, std::int32_t rate,
                   std::int32_t frontX, std::int32_t frontY, const CompositionStores& stores,
                   CompositeTarget& view);
