#include "core/compose/PixelArray.h"

#include "core/surfaces/BitmapMemory.h"
#include "core/surfaces/Surface.h"

#include <cstring>
#include <limits>

namespace {
// w * h * 4 must fit a signed 32-bit byte count.
bool Countable(const QImage& bitmap)
{
    const std::int64_t bytes = std::int64_t(bitmap.width()) * bitmap.height() * 4;
    return bytes <= std::numeric_limits<std::int32_t>::max();
}

// Copies one row of n pixels, replacing each reserved byte by `reserved`: 0 for an
// array, 0xFF for a bitmap, which keeps its pixels opaque.
void CopyRow(const void* from, void* to, int n, std::uint32_t reserved)
{
    const auto* in = static_cast<const std::uint8_t*>(from);
    auto* out = static_cast<std::uint8_t*>(to);
    for (int x = 0; x < n; ++x) {
        std::uint32_t pixel;
        std::memcpy(&pixel, in + std::size_t(x) * 4, 4);
        pixel = (pixel & 0x00FFFFFFu) | reserved;
        std::memcpy(out + std::size_t(x) * 4, &pixel, 4);
    }
}
} // namespace

std::int32_t ReadPixels(Surface& box, PixelArray& pixels)
{
    const QImage& bitmap = box.Image();
    if (!Countable(bitmap)) {
        pixels.clear();
        return -1;
    }
    const int w = bitmap.width(), h = bitmap.height();
    if (bitmap.format() != QImage::Format_RGB32) {
        pixels.assign(std::size_t(w) * h, PixelElement{});
        return -1;
    }
    // Every element is written below, so an array of the right size is reused as it is.
    pixels.resize(std::size_t(w) * h);
    for (int y = 0; y < h; ++y)
        CopyRow(bitmap.constScanLine(y), pixels.data() + std::size_t(h - 1 - y) * w, w, 0);
    return w * h;
}

std::int32_t WritePixels(Surface& box, const PixelArray& pixels)
{
    QImage& bitmap = box.hDC();
    const int w = bitmap.width(), h = bitmap.height();
    if (!Countable(bitmap) || bitmap.format() != QImage::Format_RGB32 ||
        pixels.size() < std::size_t(w) * h)
        return -1;
    // A bitmap that still shares its pixels with the surface's picture gets its own
    // without copying the old ones first: every pixel is written below.
    if (!bitmap.isNull() && !bitmap.isDetached()) {
        QImage own = NewBitmap(w, h);
        if (own.isNull())
            return -1;
        bitmap = std::move(own);
    }
    for (int y = 0; y < h; ++y)
        CopyRow(pixels.data() + std::size_t(h - 1 - y) * w, bitmap.scanLine(y), w, 0xFF000000u);
    return 0;
}
