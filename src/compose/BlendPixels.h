#pragma once
#include "compose/PixelArray.h"

#include <cstdint>

// One channel of the blend: the background byte weighs 100 - rate percent, the
// foreground byte rate percent. Each byte is divided by 100.0 before it is multiplied by
// its weight, the two products are added in double precision (no fused multiply-add)
// and the sum is rounded to the nearest integer, an exact half going to the even
// neighbour. So background 0, foreground 255, rate 50 gives 127 (127.49999999999999).
// `rate` must lie in 0..100; the result then lies in 0..255.
std::uint8_t BlendChannel(std::uint8_t background, std::uint8_t foreground, std::int32_t rate);

// Blends the first `count` foreground pixels F into the patch P in place. A foreground
// pixel whose red, green and blue bytes equal kR, kG and kB leaves its patch pixel as it
// is; every other one replaces the patch pixel's three colour bytes by BlendChannel of
// each. Reserved bytes are never written. A count of 0 or less does nothing; a count
// beyond either array is cut to the shorter one. A rate outside 0..100 is taken as the
// nearer end of that range.
void BlendPixels(const PixelArray& F, PixelArray& P, std::int32_t count, std::uint8_t kR,
                 std::uint8_t kG, std::uint8_t kB, std::int32_t rate);
