// Repainting one colour of a pixel array in the key colour, and taking it back exactly.
#include "core/transparency/RecolourHistory.h"
#include "core/transparency/ReplaceColour.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>

namespace {
// An element of colour 0xRRGGBB with a reserved byte that must survive.
PixelElement Colour(std::uint32_t c, std::uint8_t reserved = 0x5A)
{
    return {std::uint8_t(c), std::uint8_t(c >> 8), std::uint8_t(c >> 16), reserved};
}

PixelArray Pixels(std::initializer_list<std::uint32_t> colours)
{
    PixelArray pixels;
    for (const std::uint32_t c : colours)
        pixels.push_back(Colour(c));
    return pixels;
}

// Elements as 0xSSRRGGBB, the reserved byte on top.
std::vector<std::uint32_t> Values(const PixelArray& pixels)
{
    std::vector<std::uint32_t> values;
    for (const PixelElement& e : pixels)
        values.push_back(std::uint32_t(e.Reserved) << 24 | e.Red << 16 | e.Green << 8 | e.Blue);
    return values;
}

void Replace(PixelArray& pixels, std::int32_t count, PixelElement from, PixelElement to)
{
    ReplaceColour(pixels, count, from.Red, from.Green, from.Blue, to.Red, to.Green, to.Blue);
}

// 0x102030 twice among three near misses, each off by one in one channel.
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

// A 400 x 300 array, white where `isWhite` holds, a brown otherwise.
PixelArray Picture(const std::function<bool(int x, int y)>& isWhite)
{
    PixelArray pixels(400 * 300, Colour(0x806040));
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 400; ++x)
            if (isWhite(x, y))
                pixels[std::size_t(y * 400 + x)] = Colour(0xFFFFFF);
    return pixels;
}

// Redoing a step gives what ReplaceColour gives, undoing it gives the array back, for runs at
// either end, near misses in each channel, a count short of the array and none. A cut-out's
// backdrop is a run a row; a dithered colour, every other element, would need a run an
// element, so a step holds at most one bit an element. Runs cross the mask's 64-element words
// and may end with the array.
TEST(RecolourStep, RedoesWhatReplaceColourDoesUndoesItExactlyAndHoldsAtMostOneBitAnElement)
{
    const PixelArray row = Pixels({0x102030u, 0x102030u, 0x112030u, 0x102130u, 0x102031u, 0xFF00FFu, 0x102030u,
                                   0x000000u, 0x102030u});
    constexpr std::size_t any = std::numeric_limits<std::size_t>::max();
    constexpr std::int32_t all = 400 * 300;
    const struct { const char* name; PixelArray before; std::int32_t count; std::uint32_t from, to; std::size_t heldAtMost; } rows[] = {
        {"runs at both ends and inside", row, 9, 0x102030, 0xFF00FF, any},
        {"a count short of the array", row, 7, 0x102030, 0xFF00FF, any},
        {"a single element", row, 9, 0x000000, 0x00FF00, any}, {"the key's own colour", row, 9, 0xFF00FF, 0xFF00FF, any},
        {"a colour not there", row, 9, 0x123456, 0xFF00FF, any}, {"no count", row, 0, 0x102030, 0xFF00FF, any},
        {"a cut-out", Picture([](int x, int) { return x <= 100 || x >= 300; }), all, 0xFFFFFF, 0xFF00FF, 301 * 8},
        {"a backdrop to the end", Picture([](int x, int y) { return y * 400 + x >= 1000; }), all, 0xFFFFFF, 0xFF00FF, 8},
        {"dithered", Picture([](int x, int y) { return (x + y) % 2 == 0; }), all, 0xFFFFFF, 0xFF00FF, all / 8}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        PixelArray replaced = r.before, redone = r.before;
        Replace(replaced, r.count, Colour(r.from, 0), Colour(r.to, 0));
        const RecolourStep step = RecolourStep::Find(r.before, r.count, Colour(r.from, 0), Colour(r.to, 0));
        EXPECT_EQ(step.Empty(), Values(replaced) == Values(r.before));
        EXPECT_LE(step.HeldBytes(), r.heldAtMost);
        ASSERT_TRUE(step.Redo(redone));
        EXPECT_EQ(Values(redone), Values(replaced));
        ASSERT_TRUE(step.Undo(replaced));
        EXPECT_EQ(Values(replaced), Values(r.before));
        PixelArray other = Pixels({0x102030u});
        EXPECT_FALSE(step.Undo(other)) << "an array of another size";
    }
}
} // namespace
