#include "core/compose/PixelArray.h"

#include "core/surfaces/BitmapMemory.h"
#include "core/surfaces/Surface.h"

#include <cstring>
#include <limits>
#include <optional>

namespace {
// w * h * 4 must fit a signed 32-bit byte count.
bool Countable(const QImage& bitmap)
{
    const std::int64_t bytes = std::int64_t(bitmap.width()) * bitmap.height() * 4;
    return bytes <= std::numeric_limits<std::int32_t>::max();
}

// Copies one row of n pixels, replacing each reserved byte by `reserved`: 0 for an
// array, 0xFF for a bitmap, which keeps its pixels opaque. A picture that keeps its
// transparency holds its alpha there, which passes through as it is.
void CopyRow(const void* from, void* to, int n, std::optional<std::uint32_t> reserved)
{
    if (!reserved) {
        std::memcpy(to, from, std::size_t(n) * 4);
        return;
    }
    const auto* in = static_cast<const std::uint8_t*>(from);
    auto* out = static_cast<std::uint8_t*>(to);
    for (int x = 0; x < n; ++x) {
        std::uint32_t pixel;
        std::memcpy(&pixel, in + std::size_t(x) * 4, 4);
        pixel = (pixel & 0x00FFFFFFu) | *reserved;
        std::memcpy(out + std::size_t(x) * 4, &pixel, 4);
    }
}

bool Readable(const QImage& bitmap)
{
    return bitmap.format() == QImage::Format_RGB32 || bitmap.format() == QImage::Format_ARGB32;
}

std::optional<std::uint32_t> ReservedIn(const QImage& bitmap, std::uint32_t opaque)
{
    return bitmap.hasAlphaChannel() ? std::nullopt : std::optional(opaque);
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
    if (!Readable(bitmap)) {
        pixels.assign(std::size_t(w) * h, PixelElement{});
        return -1;
    }
    // Every element is written below, so an array of the right size is reused as it is.
    pixels.resize(std::size_t(w) * h);
    for (int y = 0; y < h; ++y)
        CopyRow(bitmap.constScanLine(y), pixels.data() + std::size_t(h - 1 - y) * w, w,
                ReservedIn(bitmap, 0));
    return w * h;
}

std::int32_t WritePixels(Surface& box, const PixelArray& pixels)
{
    QImage& bitmap = box.hDC();
    const int w = bitmap.width(), h = bitmap.height();
    if (!Countable(bitmap) || !Readable(bitmap) || pixels.size() < std::size_t(w) * h)
        return -1;
    // A bitmap that still shares its pixels with the surface's picture gets its own
    // without copying the old ones first: every pixel is written below.
    if (!bitmap.isNull() && !bitmap.isDetached()) {
        QImage own = NewBitmap(w, h);
        if (own.isNull() || !own.reinterpretAsFormat(bitmap.format()))
            return -1;
        bitmap = std::move(own);
    }
    for (int y = 0; y < h; ++y)
        CopyRow(pixels.data() + std::size_t(h - 1 - y) * w, bitmap.scanLine(y), w,
                ReservedIn(bitmap, 0xFF000000u));
    return 0;
}
