#include "core/surfaces/Gdi.h"

#include <algorithm>
#include <cstring>

namespace {
bool Usable(const QImage& image)
{
    return image.format() == QImage::Format_RGB32;
}
} // namespace

bool BitBlt(QImage& dst, int x, int y, int w, int h, const QImage& src, int sx, int sy,
            std::uint32_t rop)
{
    if (rop != SRCCOPY || !Usable(dst) || !Usable(src))
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
    const std::size_t bytes = std::size_t(right - left) * 4;
    for (int row = top; row < bottom; ++row)
        std::memcpy(dst.scanLine(row) + std::size_t(left) * 4,
                    source.constScanLine(row + dy) + std::size_t(left + dx) * 4, bytes);
    return true;
}

bool StretchBlt(QImage& dst, int x, int y, int w, int h, const QImage& src, int sx, int sy,
                int sw, int sh, std::uint32_t rop)
{
    if (rop != SRCCOPY || !Usable(dst) || !Usable(src))
        return false;
    if (w <= 0 || h <= 0 || sw <= 0 || sh <= 0)
        return true;
    const QImage source = &src == &dst ? src.copy() : src;
    for (int row = std::max(y, 0); row < std::min(y + h, dst.height()); ++row) {
        const int srcRow = sy + int(std::int64_t(row - y) * sh / h);
        if (srcRow < 0 || srcRow >= source.height())
            continue;
        auto* out = reinterpret_cast<std::uint32_t*>(dst.scanLine(row));
        const auto* in = reinterpret_cast<const std::uint32_t*>(source.constScanLine(srcRow));
        for (int col = std::max(x, 0); col < std::min(x + w, dst.width()); ++col) {
            const int srcCol = sx + int(std::int64_t(col - x) * sw / w);
            if (srcCol >= 0 && srcCol < source.width())
                out[col] = in[srcCol];
        }
    }
    return true;
}
