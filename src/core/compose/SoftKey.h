#pragma once
// The key with a tolerance around it, and the foreground's own transparency, pixel by
// pixel: what is left of a foreground pixel before it is blended at the rate.
#include "core/compose/PixelArray.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

// How far a pixel lies from the key: the largest difference of one of its colour bytes
// from the key's, 0..255, the measure an image editor's colour threshold uses.
inline std::int32_t KeyDistance(PixelElement pixel, PixelElement key)
{
    return std::max({std::abs(pixel.Red - key.Red), std::abs(pixel.Green - key.Green),
                     std::abs(pixel.Blue - key.Blue)});
}

// The tolerance is a percentage of 255, 0 to 100: a pixel at `distance` lies within it
// when the distance is at most that much, so 0 takes the key colour alone.
inline bool WithinTolerance(std::int32_t distance, std::int32_t tolerance)
{
    return distance * 100 <= tolerance * 255;
}

// A foreground pixel as the key leaves it: its colour bytes (the reserved byte 0) and how
// much of its place it covers, 0 (none) to 255 (all).
struct KeyedPixel {
    PixelElement colour;
    std::uint8_t alpha;
};

// Keys one foreground pixel that covers `alpha` of its place by itself (255 for a
// picture without transparency), `tolerance` 0..100:
// - a pixel of exactly the key colour covers nothing, whatever its alpha;
// - any other pixel within the tolerance is read as the key mixed with a colour c at
//   coverage a, c lying no farther from the key than the tolerance reaches (an image
//   editor's colour to alpha): each colour byte p of the pixel, against the key's k, asks
//   for |p - k| / min(reach, k when p < k, else 255 - k), reach = tolerance * 255 / 100,
//   and a is the largest of the three. Then c = k + (p - k) / a for each byte, and the
//   pixel covers alpha * a; both rounded to the nearest integer, halves to even. So a
//   covers more as the pixel nears the tolerance's edge, all of it there, and an edge
//   pixel of a logo on a plain backdrop, keyed with the tolerance that just reaches the
//   logo's colour, gets back that colour and its own coverage;
// - every other pixel is left as it is.
KeyedPixel ApplyKey(PixelElement pixel, std::uint8_t alpha, PixelElement key,
                    std::int32_t tolerance);
