#include "core/transparency/Recolour.h"

#include "core/compose/PixelArray.h"
#include "core/surfaces/Surface.h"
#include "core/transparency/RecolourHistory.h"
#include "core/transparency/ReplaceColour.h"

bool RecolourLikePixel(Surface& picture, std::int32_t x, std::int32_t y, ColorRef key,
                       RecolourHistory& history)
{
    PixelArray pixels;
    const std::int32_t count = ReadPixels(picture, pixels);
    if (count < 0)
        return false;
    const std::int32_t w = picture.Width(), h = picture.Height();
    // Copied before anything changes: the clicked element is itself repainted.
    const PixelElement clicked = pixels[std::size_t(h - 1 - y) * std::size_t(w) + std::size_t(x)];
    if (picture.Image().hasAlphaChannel() && clicked.Reserved == 0)
        return false;
    const PixelElement keyColour = PixelOf(key);
    RecolourStep step = RecolourStep::Find(pixels, count, clicked, keyColour);
    ReplaceColour(pixels, count, clicked.Red, clicked.Green, clicked.Blue, keyColour.Red,
                  keyColour.Green, keyColour.Blue);
    if (WritePixels(picture, pixels) != 0)
        return false;
    if (!step.Empty())
        history.Done(std::move(step));
    return true;
}

namespace {
// The pixels pass through a pixel array, as a recolouring's do. A bitmap that still shares
// the assigned picture's pixels gets pixels of its own from WritePixels, so the picture
// stays as it was loaded.
bool Replay(Surface& picture, const RecolourStep* step, bool undo)
{
    if (step == nullptr)
        return false;
    PixelArray pixels;
    if (ReadPixels(picture, pixels) < 0)
        return false;
    const bool painted = undo ? step->Undo(pixels) : step->Redo(pixels);
    return painted && WritePixels(picture, pixels) == 0;
}
} // namespace

bool UndoRecolouring(Surface& picture, RecolourHistory& history)
{
    if (!Replay(picture, history.NextUndo(), true))
        return false;
    history.Undone();
    return true;
}

bool RedoRecolouring(Surface& picture, RecolourHistory& history)
{
    if (!Replay(picture, history.NextRedo(), false))
        return false;
    history.Redone();
    return true;
}

bool ReapplyRecolourings(Surface& picture, const RecolourHistory& history)
{
    PixelArray pixels;
    if (ReadPixels(picture, pixels) < 0)
        return false;
    for (const RecolourStep& step : history.DoneSteps())
        if (!step.Redo(pixels))
            return false;
    return WritePixels(picture, pixels) == 0;
}
