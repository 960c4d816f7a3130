#include "core/compose/SoftKey.h"

#include "base/Rounding.h"

KeyedPixel ApplyKey(PixelElement pixel, std::uint8_t alpha, PixelElement key,
                    std::int32_t tolerance)
{
    const PixelElement colour{pixel.Blue, pixel.Green, pixel.Red, 0};
    const std::int32_t distance = KeyDistance(pixel, key);
    if (distance == 0)
        return {colour, 0};
    if (!WithinTolerance(distance, tolerance))
        return {colour, alpha};
    const int p[3] = {pixel.Red, pixel.Green, pixel.Blue};
    const int k[3] = {key.Red, key.Green, key.Blue};
    // The room each byte has on its side of the key, up to the tolerance; a byte past the
    // key has some, since it differs from it.
    const double reach = tolerance * 255 / 100.0;
    double coverage = 0;
    for (int c = 0; c < 3; ++c)
        if (p[c] != k[c])
            coverage = std::max(coverage, std::abs(p[c] - k[c]) / std::min(reach, double(p[c] < k[c] ? k[c] : 255 - k[c])));
    std::uint8_t unmixed[3];
    for (int c = 0; c < 3; ++c)
        unmixed[c] = std::uint8_t(std::clamp(RoundHalfEven(k[c] + (p[c] - k[c]) / coverage), 0.0, 255.0));
    return {{unmixed[2], unmixed[1], unmixed[0], 0}, std::uint8_t(RoundHalfEven(alpha * coverage))};
}
