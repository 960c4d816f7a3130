// Repainting one colour of a pixel array in the key colour.
#include "PixelRows.h"
#include "transparency/ReplaceColour.h"

#include <gtest/gtest.h>

namespace {
// Replaces 0x102030 by the key 0xFF00FF in a row holding that colour twice and three near
// misses, each off by one in one channel.
TEST(ReplaceColour, ReplacesExactMatchesAmongTheFirstCountAndKeepsTheReservedByte)
{
    const auto row = {0x102030u, 0x112030u, 0x102130u, 0x102031u, 0x102030u};
    const auto both = {0xFF00FFu, 0x112030u, 0x102130u, 0x102031u, 0xFF00FFu};
    const auto first = {0xFF00FFu, 0x112030u, 0x102130u, 0x102031u, 0x102030u};
    const std::pair<std::int32_t, PixelArray> rows[] = {
        {5, Pixels(both)}, {99, Pixels(both)}, {4, Pixels(first)}, {0, Pixels(row)}, {-1, Pixels(row)}};
    for (const auto& [count, expected] : rows) {
        PixelArray pixels = Pixels(row);
        ReplaceColour(pixels, count, 0x10, 0x20, 0x30, 0xFF, 0x00, 0xFF);
        EXPECT_EQ(Values(pixels), Values(expected)) << "count " << count;
    }
    PixelArray empty;
    ReplaceColour(empty, 3, 0, 0, 0, 1, 1, 1);
    EXPECT_TRUE(empty.empty());
}
} // namespace
