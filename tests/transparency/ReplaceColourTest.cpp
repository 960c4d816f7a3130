// Repainting one colour of a pixel array in the key colour.
#include "transparency/ReplaceColour.h"

#include <gtest/gtest.h>

namespace {
// Elements as 0xRRGGBB with a reserved byte that must survive.
PixelArray Pixels(std::initializer_list<std::uint32_t> colours)
{
    PixelArray pixels;
    for (const std::uint32_t c : colours)
        pixels.push_back({std::uint8_t(c), std::uint8_t(c >> 8), std::uint8_t(c >> 16), 0x5A});
    return pixels;
}

// Replaces 0x102030 by the key 0xFF00FF in a row of four: that colour twice and three
// near misses, each off in one channel.
TEST(ReplaceColour, ReplacesExactMatchesAmongTheFirstCountAndKeepsTheReservedByte)
{
    const auto row = {0x102030u, 0x112030u, 0x102130u, 0x102031u, 0x102030u};
    const struct {
        std::int32_t count;
        PixelArray expected;
    } rows[] = {
        {5, Pixels({0xFF00FF, 0x112030, 0x102130, 0x102031, 0xFF00FF})},
        {99, Pixels({0xFF00FF, 0x112030, 0x102130, 0x102031, 0xFF00FF})},
        {4, Pixels({0xFF00FF, 0x112030, 0x102130, 0x102031, 0x102030})},
        {0, Pixels(row)},
        {-1, Pixels(row)},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << "count " << r.count);
        PixelArray pixels = Pixels(row);
        ReplaceColour(pixels, r.count, 0x10, 0x20, 0x30, 0xFF, 0x00, 0xFF);
        for (std::size_t i = 0; i < pixels.size(); ++i) {
            const PixelElement got = pixels[i], want = r.expected[i];
            EXPECT_EQ(std::tuple(got.Red, got.Green, got.Blue, got.Reserved),
                      std::tuple(want.Red, want.Green, want.Blue, want.Reserved))
                << "element " << i;
        }
    }
}

TEST(ReplaceColour, AnEmptyArrayStaysEmpty)
{
    PixelArray pixels;
    ReplaceColour(pixels, 3, 0, 0, 0, 1, 1, 1);
    EXPECT_TRUE(pixels.empty());
}
} // namespace
