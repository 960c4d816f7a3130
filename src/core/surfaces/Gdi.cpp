#include "core/surfaces/Gdi.h"

#include "codec/AlphaOver.h"

#include <algorithm>
#include <cstring>

namespace {
bool Usable(const QImage& image)
{
    return image.format() == QImage::Format_RGB32;
}

bool UsableSource(const QImage& image)
{
    return Usable(image) || image.format() == QImage::Format_ARGB32;
}

// Where a source pixel is transparent, the opaque destination shows a checkerboard through
// it, as picture viewers show transparency: squares of 4 pixels, fixed to the destination.
std::uint32_t OverCheckerboard(std::uint32_t pixel, int x, int y)
{
    const unsigned alpha = pixel >> 24;
    if (alpha == 0xFF)
        return pixel;
    const unsigned check = ((x >> 2) ^ (y >> 2)) & 1 ? 0xFF : 0xCC;
    return 0xFF000000u | std::uint32_t(AlphaOver((pixel >> 16) & 0xFF, check, alpha)) << 16 |
           std::uint32_t(AlphaOver((pixel >> 8) & 0xFF, check, alpha)) << 8 |
           AlphaOver(pixel & 0xFF, check, alpha);
}
} // namespace

bool BitBlt(QImage& dst, int x, int y, int w, int h, const QImage& src, int sx, int sy,
            std::uint32_t rop)
{
    if (rop != SRCCOPY || !Usable(dst) || !UsableSource(src))
        return false;
    // The overlap of the destination block with both bitmaps, in destination coordinates.
    const int dx = sx - x, dy = sy - y;
    const int left = std::max({x, 0, -dx});
    const int top = std::max({y, 0, -dy});
    const int right = std::min({x + w, dst.width(), src.width() - dx});
    const int bottom = std::min({y + h, dst.height(), src.height() - dy});
    if (left >= right || top >= bottom)
        return true;
    const QImage source = &src == &dst ? src.copy() : src;
    const int n = right - left;
    for (int row = top; row < bottom; ++row) {
        auto* out = reinterpret_cast<std::uint32_t*>(dst.scanLine(row)) + left;
        const auto* in = reinterpret_cast<const std::uint32_t*>(source.constScanLine(row + dy)) + left + dx;
        if (!source.hasAlphaChannel())
            std::memcpy(out, in, std::size_t(n) * 4);
        else
            for (int i = 0; i < n; ++i)
                out[i] = OverCheckerboard(in[i], left + i, row);
    }
    return true;
}

bool StretchBlt(QImage& dst, int x, int y, int w, int h, const QImage& src, int sx, int sy,
                int sw, int sh, std::uint32_t rop)
{
    if (rop != SRCCOPY || !Usable(dst) || !UsableSource(src))
        return false;
    if (w <= 0 || h <= 0 || sw <= 0 || sh <= 0)
        return true;
    const QImage source = &src == &dst ? src.copy() : src;
    const bool transparent = source.hasAlphaChannel();
    for (int row = std::max(y, 0); row < std::min(y + h, dst.height()); ++row) {
        const int srcRow = sy + int(std::int64_t(row - y) * sh / h);
        if (srcRow < 0 || srcRow >= source.height())
            continue;
        auto* out = reinterpret_cast<std::uint32_t*>(dst.scanLine(row));
        const auto* in = reinterpret_cast<const std::uint32_t*>(source.constScanLine(srcRow));
        for (int col = std::max(x, 0); col < std::min(x + w, dst.width()); ++col) {
            const int srcCol = sx + int(std::int64_t(col - x) * sw / w);
            if (srcCol >= 0 && srcCol < source.width())
                out[col] = transparent ? OverCheckerboard(in[srcCol], col, row) : in[srcCol];
        }
    }
    return true;
}
