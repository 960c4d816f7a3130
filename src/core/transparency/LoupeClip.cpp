#include "core/transparency/LoupeClip.h"

namespace {
// 64 bits, so a pointer at either end of the 32-bit range cannot overflow; every result
// fits 32 bits again.
struct Span {
    std::int64_t start, length, cell;
};

// One axis: the cells that fall before the picture are skipped, those after it cut off.
Span ClipAxis(std::int64_t pointer, std::int64_t pictureLength)
{
    Span span{pointer - LoupeCentre, LoupeCells, 0};
    if (span.start < 0) {
        span.length += span.start;
        span.cell = -span.start;
        span.start = 0;
    }
    if (span.start + span.length > pictureLength)
        span.length = pictureLength - span.start;
    if (span.length <= 0)
        return Span{0, 0, 0};
    return span;
}
} // namespace

LoupeSource ClipLoupeSource(std::int32_t pointerX, std::int32_t pointerY,
                            std::int32_t pictureWidth, std::int32_t pictureHeight)
{
    const Span x = ClipAxis(pointerX, pictureWidth);
    const Span y = ClipAxis(pointerY, pictureHeight);
    return {std::int32_t(x.start), std::int32_t(y.start), std::int32_t(x.length),
            std::int32_t(y.length), std::int32_t(x.cell), std::int32_t(y.cell)};
}
