#include "compose/ComposeImages.h"

#include "compose/BlendPixels.h"
#include "compose/PixelArray.h"
#include "platform/Gdi.h"
#include "platform/Surface.h"

void ComposeImages(ColorRef key, std::int32_t rate, std::int32_t frontX, std::int32_t frontY,
                   const CompositionStores& stores, CompositeTarget& view)
{
    const int wf = stores.front.Width(), hf = stores.front.Height();
    const int wb = stores.back.Width(), hb = stores.back.Height();
    stores.work.SetSize(wf, hf);
    view.PlaceMarker(frontX, frontY, wf, hf);
    Surface& board = view.Board();
    board.SetSize(wb, hb);

    // The background under the foreground; what lies off the background is cut away below.
    BitBlt(stores.work.hDC(), 0, 0, wf, hf, stores.back.Image(), frontX, frontY, SRCCOPY);
    PixelArray patch, front;
    ReadPixels(stores.work, patch);
    const std::int32_t count = ReadPixels(stores.front, front);
    BlendPixels(front, patch, count, std::uint8_t(RedOf(key)), std::uint8_t(GreenOf(key)),
                std::uint8_t(BlueOf(key)), rate);
    WritePixels(stores.work, patch);

    BitBlt(board.hDC(), 0, 0, wb, hb, stores.back.Image(), 0, 0, SRCCOPY);
    BitBlt(board.hDC(), frontX, frontY, wf, hf, stores.work.Image(), 0, 0, SRCCOPY);
    view.Refresh();
}
