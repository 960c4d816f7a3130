#include "compose/PixelArray.h"

#include "platform/Surface.h"

#include <cstring>
#include <limits>

namespace {
// w * h * 4 must fit a signed 32-bit byte count.
bool Countable(const QImage& bitmap)
{
    const std::int64_t bytes = std::int64_t(bitmap.width()) * bitmap.height() * 4;
    return bytes <= std::numeric_limits<std::int32_t>::max();
}
} // namespace

std::int32_t ReadPixels(Surface& box, PixelArray& pixels)
{
    const QImage& bitmap = box.Image();
    pixels.clear();
    if (!Countable(bitmap))
        return -1;
    const int w = bitmap.width(), h = bitmap.height();
    pixels.assign(std::size_t(w) * h, PixelElement{});
    if (bitmap.format() != QImage::Format_RGB32)
        return -1;
    for (int y = 0; y < h; ++y) {
        PixelElement* row = pixels.data() + std::size_t(h - 1 - y) * w;
        std::memcpy(row, bitmap.constScanLine(y), std::size_t(w) * 4);
        for (int x = 0; x < w; ++x)
            row[x].Reserved = 0;
    }
    return w * h;
}

std::int32_t WritePixels(Surface& box, const PixelArray& pixels)
{
    QImage& bitmap = box.hDC();
    const int w = bitmap.width(), h = bitmap.height();
    if (!Countable(bitmap) || bitmap.format() != QImage::Format_RGB32 ||
        pixels.size() < std::size_t(w) * h)
        return -1;
    for (int y = 0; y < h; ++y) {
        auto* out = reinterpret_cast<std::uint32_t*>(bitmap.scanLine(y));
        const PixelElement* row = pixels.data() + std::size_t(h - 1 - y) * w;
        for (int x = 0; x < w; ++x)
            out[x] = 0xFF000000u | (std::uint32_t(row[x].Red) << 16) |
                     (std::uint32_t(row[x].Green) << 8) | row[x].Blue;
    }
    return 0;
}
