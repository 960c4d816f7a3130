#pragma once
#include <cstdint>

// A picture's channel with coverage `alpha` (0 to 255) drawn over a background channel,
// rounded to nearest. Every loader draws transparent pixels this way, so a picture looks
// the same whichever route opened it.
constexpr std::uint8_t AlphaOver(unsigned picture, unsigned background, unsigned alpha)
{
    return static_cast<std::uint8_t>((alpha * picture + (255 - alpha) * background + 127) / 255);
}
