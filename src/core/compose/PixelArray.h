#pragma once
#include "base/ColorRef.h"
#include "core/surfaces/PixelMemory.h"

#include <cstdint>
#include <vector>

class Surface;

// One pixel of a PixelArray: bytes blue, green, red, reserved in memory order, so read as
// a 32-bit integer it is 0x00RRGGBB, the reverse of a ColorRef. Pixel code compares the
// three colour bytes one by one and never writes the reserved byte.
struct PixelElement {
    std::uint8_t Blue;
    std::uint8_t Green;
    std::uint8_t Red;
    std::uint8_t Reserved;
};
static_assert(sizeof(PixelElement) == 4);

// A colour as pixel code compares it: the colour bytes of `colour`, the reserved byte 0.
constexpr PixelElement PixelOf(ColorRef colour)
{
    return {std::uint8_t(BlueOf(colour)), std::uint8_t(GreenOf(colour)),
            std::uint8_t(RedOf(colour)), 0};
}

// A picture's pixels, rows from the bottom of the picture up, each row exactly as many
// elements as the picture is wide: the pixel at column x of row y (counted from the top)
// is element (h - 1 - y) * w + x.
using PixelArray = std::vector<PixelElement, PixelAllocator<PixelElement>>;

// Replaces `pixels` with the w x h pixels of the surface's backing bitmap (reserved bytes
// 0, or each pixel's alpha for a bitmap that keeps its transparency, Format_ARGB32).
// Returns the pixel count w * h, or -1 when the bitmap cannot be read (then `pixels`
// holds w * h zeroed elements, or none for a bitmap too large to count in 32 bits).
std::int32_t ReadPixels(Surface& box, PixelArray& pixels);

// Copies `pixels` into the surface's backing bitmap without repainting it; a bitmap that
// keeps its transparency takes each reserved byte as the pixel's alpha. The array must
// hold at least w * h elements for the bitmap's current size; 0 on success, -1 (bitmap
// unchanged) otherwise.
std::int32_t WritePixels(Surface& box, const PixelArray& pixels);
