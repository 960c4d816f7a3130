#include "core/compose/BlendPixels.h"
#include "support/ReferenceBlend.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {
// The reference blend of `front` over `patch`, pixels as the engine reads them: 0xSSRRGGBB,
// the reserved byte on top, which is the patch's.
std::uint32_t Reference(std::uint32_t patch, std::uint32_t front, int rate)
{
    std::uint32_t blended = patch & 0xFF000000;
    for (const int shift : {0, 8, 16})
        blended |= std::uint32_t(ReferenceChannel(patch >> shift & 255, front >> shift & 255, rate)) << shift;
    return blended;
}

// Every (background, foreground) byte pair at every rate, each channel fed a different pairing
// so a channel mix-up shows, blended as the engine does a row of the composite: into another
// run, with opaque reserved bytes. A rate out of range takes the nearer end. The reference
// itself is checked on blends worked by hand, so a fault it shares with the engine shows too.
// (The key is checked by ComposeImages, whose foregrounds hold it and its near misses.)
TEST(BlendRun, EveryBytePairAtEveryRateIsTheReferenceBlend)
{
    const struct { std::uint32_t back, front; int rate; std::uint32_t result; } byHand[] = {
        {0x000000, 0xC86432, 50, 0x643219}, {0x6E7882, 0x0A141E, 30, 0x505A64},
        {0xFF0080, 0x00FF40, 75, 0x40BF50}, {0x000000, 0xFFFFFF, 50, 0x7F7F7F}};   // 127.49999999999999: no half
    for (const auto& e : byHand)
        EXPECT_EQ(Reference(e.back, e.front, e.rate), e.result) << std::hex << e.front;
    std::vector<std::uint32_t> front(65536), patch(65536), out(65536);
    for (std::uint32_t i = 0; i < 65536; ++i) {
        const std::uint32_t high = i >> 8, low = i & 255;
        patch[i] = high << 16 | low << 8 | (high ^ 0x5A);
        front[i] = low << 16 | high << 8 | low;   // red equals blue: the key (1, 2, 3) matches none
    }
    for (int rate = -1; rate <= 101; ++rate) {
        BlendRun(front.data(), patch.data(), out.data(), 65536, {3, 2, 1, 0}, BlendTableFor(rate), 0xFF000000u);
        for (std::size_t i = 0; i < 65536; ++i)
            ASSERT_EQ(out[i], Reference(patch[i] | 0xFF000000, front[i], std::clamp(rate, 0, 100)))
                << "pixel " << i << ", rate " << rate;
    }
}
} // namespace
