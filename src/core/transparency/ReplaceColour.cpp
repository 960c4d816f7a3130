#include "core/transparency/ReplaceColour.h"

#include <algorithm>

void ReplaceColour(PixelArray& pixels, std::int32_t count, std::uint8_t cR, std::uint8_t cG,
                   std::uint8_t cB, std::uint8_t kR, std::uint8_t kG, std::uint8_t kB)
{
    if (count <= 0)
        return;
    const auto end = pixels.begin() + std::min<std::size_t>(std::size_t(count), pixels.size());
    for (auto it = pixels.begin(); it != end; ++it) {
        if (it->Red == cR && it->Green == cG && it->Blue == cB) {
            it->Red = kR;
            it->Green = kG;
            it->Blue = kB;
        }
    }
}
