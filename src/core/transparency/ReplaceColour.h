#pragma once
#include "core/compose/PixelArray.h"

#include <cstdint>

// Among the first `count` elements of `pixels`, every element whose red, green and blue
// bytes equal (cR, cG, cB) gets the bytes (kR, kG, kB); the reserved byte stays as it
// was. A count of 0 or less does nothing; a count beyond the array's size stops at its
// end.
void ReplaceColour(PixelArray& pixels, std::int32_t count, std::uint8_t cR, std::uint8_t cG,
                   std::uint8_t cB, std::uint8_t kR, std::uint8_t kG, std::uint8_t kB);
