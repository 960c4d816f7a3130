#pragma once
#include "core/compose/PixelArray.h"

#include <array>
#include <cstddef>
#include <cstdint>

// One channel of the blend: the background byte weighs 100 - rate percent, the
// foreground byte rate percent. Each byte is divided by 100.0 before it is multiplied by
// its weight, the two products are added in double precision (no fused multiply-add)
// and the sum is rounded to the nearest integer, an exact half going to the even
// neighbour. So background 0, foreground 255, rate 50 gives 127 (127.49999999999999).
// `rate` must lie in 0..100; the result then lies in 0..255.
std::uint8_t BlendChannel(std::uint8_t background, std::uint8_t foreground, std::int32_t rate);

// The same for a foreground pixel that covers only `alpha` / 255 of its place (0..255,
// not premultiplied): its weight is rate * alpha / 255.0 percent, the background's 100.0
// minus that, and the rest is BlendChannel's arithmetic and rounding. At alpha 255 the
// weight is exactly `rate`, so the result is BlendChannel's bit for bit; at alpha 0 it is
// the background byte.
std::uint8_t BlendChannelAlpha(std::uint8_t background, std::uint8_t foreground,
                               std::int32_t rate, std::uint8_t alpha);

// BlendChannel of every (background, foreground) byte pair at one rate, the background
// byte selecting the row: element background * 256 + foreground.
using BlendTable = std::array<std::uint8_t, 256 * 256>;

// The table for `rate`, a rate outside 0..100 taken as the nearer end of that range.
// Each table is built on first use and kept for the life of the program; any thread may
// ask for any rate at any time.
const BlendTable& BlendTableFor(std::int32_t rate);

// Blends `count` foreground pixels over as many patch pixels into `out`, all three runs
// of 32-bit pixels laid out as PixelElement (blue, green, red, reserved). A foreground
// pixel whose colour bytes equal those of `key` passes its patch pixel through; every other one gives the table's blend of each colour byte. The
// patch's reserved byte is kept and `reservedBits` (0 or 0xFF000000) is set on every
// pixel written. `out` may be `patch` itself; otherwise the runs must not overlap.
void BlendRun(const void* front, const void* patch, void* out, std::size_t count,
              PixelElement key, const BlendTable& table, std::uint32_t reservedBits);

// What a foreground pixel covers besides the plain key and rate.
struct Coverage {
    PixelElement key;
    std::int32_t keyTolerance = 0;   // 0..100 (SoftKey.h); 0 keys the key colour alone
    bool frontAlpha = false;         // each foreground pixel's reserved byte is its alpha
    std::int32_t rate = 100;         // 0..100, the foreground's weight in percent
};

// As BlendRun, but each foreground pixel is first keyed by ApplyKey (its alpha 255 unless
// `frontAlpha`) and then blended by BlendChannelAlpha at the alpha the key leaves it: one
// that covers nothing passes its patch pixel through. Out-of-range values are taken as the
// nearer end of their range.
void BlendRunCovered(const void* front, const void* patch, void* out, std::size_t count,
                     const Coverage& coverage, std::uint32_t reservedBits);

// Blends the first `count` foreground pixels F into the patch P in place. A foreground
// pixel whose red, green and blue bytes equal kR, kG and kB leaves its patch pixel as it
// is; every other one replaces the patch pixel's three colour bytes by BlendChannel of
// each. Reserved bytes are never written. A count of 0 or less does nothing; a count
// beyond either array is cut to the shorter one. A rate outside 0..100 is taken as the
// nearer end of that range.
void BlendPixels(const PixelArray& F, PixelArray& P, std::int32_t count, std::uint8_t kR,
                 std::uint8_t kG, std::uint8_t kB, std::int32_t rate);
