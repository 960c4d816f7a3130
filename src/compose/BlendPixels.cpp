#include "compose/BlendPixels.h"

#include "platform/Rounding.h"

#include <algorithm>
#include <vector>

std::uint8_t BlendChannel(std::uint8_t background, std::uint8_t foreground, std::int32_t rate)
{
    const std::int16_t inv = static_cast<std::int16_t>(100 - rate);
    const double value = (background / 100.0) * inv + (foreground / 100.0) * rate;
    return static_cast<std::uint8_t>(RoundHalfEven(value));
}

namespace {
// Every (background, foreground) result for one rate, so a large picture costs one
// look-up per channel instead of two divisions, two products and a rounding.
std::vector<std::uint8_t> BlendTable(std::int32_t rate)
{
    std::vector<std::uint8_t> table(256 * 256);
    for (int background = 0; background < 256; ++background)
        for (int foreground = 0; foreground < 256; ++foreground)
            table[background * 256 + foreground] = BlendChannel(
                std::uint8_t(background), std::uint8_t(foreground), rate);
    return table;
}
} // namespace

void BlendPixels(const PixelArray& F, PixelArray& P, std::int32_t count, std::uint8_t kR,
                 std::uint8_t kG, std::uint8_t kB, std::int32_t rate)
{
    if (count <= 0)
        return;
    const std::size_t n = std::min({std::size_t(count), F.size(), P.size()});
    const std::vector<std::uint8_t> table = BlendTable(std::clamp(rate, 0, 100));
    for (std::size_t i = 0; i < n; ++i) {
        const PixelElement f = F[i];
        if (f.Red == kR && f.Green == kG && f.Blue == kB)
            continue;
        PixelElement& p = P[i];
        p.Red = table[p.Red * 256 + f.Red];
        p.Green = table[p.Green * 256 + f.Green];
        p.Blue = table[p.Blue * 256 + f.Blue];
    }
}
