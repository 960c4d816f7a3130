#pragma once
// Pixel arrays written and read as 0xRRGGBB values, for tables of a few elements.
#include "compose/PixelArray.h"

#include <initializer_list>
#include <vector>

// Elements as 0xRRGGBB, each with a reserved byte that must survive.
inline PixelArray Pixels(std::initializer_list<std::uint32_t> colours)
{
    PixelArray pixels;
    for (const std::uint32_t c : colours)
        pixels.push_back({std::uint8_t(c), std::uint8_t(c >> 8), std::uint8_t(c >> 16), 0x5A});
    return pixels;
}

// Elements as 0xSSRRGGBB, the reserved byte on top.
inline std::vector<std::uint32_t> Values(const PixelArray& pixels)
{
    std::vector<std::uint32_t> values;
    for (const PixelElement& e : pixels)
        values.push_back(std::uint32_t(e.Reserved) << 24 | e.Red << 16 | e.Green << 8 | e.Blue);
    return values;
}
