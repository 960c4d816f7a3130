#include "core/compose/ComposeImages.h"

#include "core/compose/BlendPixels.h"
#include "core/surfaces/Surface.h"

#include <algorithm>
#include <cstring>

namespace {
// A bitmap's rows as raw bytes: `stride` bytes apart, four bytes a pixel.
struct Rows {
    std::uint8_t* bits;
    std::ptrdiff_t stride;
    std::uint8_t* At(std::int64_t x, std::int64_t y) const { return bits + y * stride + x * 4; }
};

struct ConstRows {
    const std::uint8_t* bits;
    std::ptrdiff_t stride;
    const std::uint8_t* At(std::int64_t x, std::int64_t y) const
    {
        return bits + y * stride + x * 4;
    }
};

ConstRows RowsOf(const QImage& bitmap)
{
    return {bitmap.constBits(), bitmap.bytesPerLine()};
}

Rows RowsOf(QImage& bitmap)
{
    return {bitmap.bits(), bitmap.bytesPerLine()};
}

// Copies rows [top, bottom) whole; the rows of both bitmaps follow one another without a
// gap, so the block is one copy. A board that holds the background's own pixels has them
// in place already.
void CopyRows(const ConstRows& from, const Rows& to, std::int64_t top, std::int64_t bottom)
{
    if (top < bottom && from.stride > 0 && from.bits != to.bits)
        std::memcpy(to.At(0, top), from.At(0, top), std::size_t((bottom - top) * from.stride));
}

// Copies `count` pixels of row y from x on, unless they are in place.
void CopyPixels(const ConstRows& from, const Rows& to, std::int64_t x, std::int64_t y,
                std::int64_t count)
{
    if (from.bits != to.bits)
        std::memcpy(to.At(x, y), from.At(x, y), std::size_t(count) * 4);
}
} // namespace

// The steps as a plain reading goes: copy the background under the foreground into the
// work surface, read it and the foreground into arrays, blend, write the patch back, draw
// the background into the board and the patch over it. The same pixels come out of one
// pass over the board: rows beside the foreground are copied from the background, and
// where the foreground overlaps the background each pixel is blended from the two
// pictures straight into the board and the work surface. Work-surface pixels off the
// background never reach the board, so they keep what they held.
void ComposeImages(ColorRef key, std::int32_t keyTolerance, std::int32_t rate,
                   std::int32_t frontX, std::int32_t frontY, const CompositionStores& stores,
                   CompositeTarget& view)
{
    const int wf = stores.front.Width(), hf = stores.front.Height();
    const int wb = stores.back.Width(), hb = stores.back.Height();
    if (stores.work != nullptr)
        stores.work->SetSize(wf, hf);
    view.PlaceMarker(frontX, frontY, wf, hf);
    // Every pixel of the board is drawn anew below.
    QImage& composite = view.Board().BitmapToRedraw(wb, hb);
    const ConstRows back = RowsOf(stores.back.Image());
    const ConstRows front = RowsOf(stores.front.Image());
    const Rows out = RowsOf(composite);

    // The overlap of the foreground with the background, in background pixels.
    const std::int64_t left = std::max<std::int64_t>(frontX, 0);
    const std::int64_t top = std::max<std::int64_t>(frontY, 0);
    const std::int64_t right = std::min<std::int64_t>(std::int64_t(frontX) + wf, wb);
    const std::int64_t bottom = std::min<std::int64_t>(std::int64_t(frontY) + hf, hb);
    if (left >= right || top >= bottom) {
        CopyRows(back, out, 0, hb);
        view.Refresh();
        return;
    }

    CopyRows(back, out, 0, top);
    const Rows patch = stores.work != nullptr ? RowsOf(stores.work->hDC()) : Rows{nullptr, 0};
    const BlendTable& table = BlendTableFor(rate);
    const PixelElement keyPixel = PixelOf(key);
    const Coverage coverage{keyPixel, keyTolerance, stores.front.Image().hasAlphaChannel(), rate};
    const bool covered = coverage.keyTolerance > 0 || coverage.frontAlpha;
    const std::size_t span = std::size_t(right - left);
    for (std::int64_t y = top; y < bottom; ++y) {
        CopyPixels(back, out, 0, y, left);
        CopyPixels(back, out, right, y, wb - right);
        // The patch is written back with opaque reserved bytes, as a bitmap holds them.
        if (covered)
            BlendRunCovered(front.At(left - frontX, y - frontY), back.At(left, y), out.At(left, y),
                            span, coverage, 0xFF000000u);
        else
            BlendRun(front.At(left - frontX, y - frontY), back.At(left, y), out.At(left, y), span,
                     keyPixel, table, 0xFF000000u);
        if (patch.bits != nullptr)
            std::memcpy(patch.At(left - frontX, y - frontY), out.At(left, y), span * 4);
    }
    CopyRows(back, out, bottom, hb);
    view.Refresh();
}
