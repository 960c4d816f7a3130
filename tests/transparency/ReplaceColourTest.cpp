#include "transparency/ReplaceColour.h"

#include <gtest/gtest.h>

namespace {
PixelElement Px(std::uint8_t r, std::uint8_t g, std::uint8_t b, std::uint8_t reserved = 0)
{
    return PixelElement{b, g, r, reserved};
}

std::string Text(const PixelElement& p)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "#%02X%02X%02X/%02X", p.Red, p.Green, p.Blue,
                  p.Reserved);
    return buffer;
}

void ExpectPixels(const PixelArray& expected, const PixelArray& actual)
{
    ASSERT_EQ(expected.size(), actual.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(Text(expected[i]), Text(actual[i])) << "element " << i;
}

const PixelElement white = Px(255, 255, 255), key = Px(255, 0, 255);
} // namespace

// Only an exact match on all three colour bytes is repainted; near misses in each
// channel stay, and the reserved byte of a repainted element is kept.
TEST(ReplaceColour, RepaintsExactMatchesOnlyAndKeepsReservedByte)
{
    PixelArray pixels{white, Px(254, 255, 255), Px(255, 254, 255), Px(255, 255, 254),
                      Px(255, 255, 255, 0x7F), Px(0, 0, 0)};
    ReplaceColour(pixels, std::int32_t(pixels.size()), 255, 255, 255, 255, 0, 255);
    ExpectPixels({key, Px(254, 255, 255), Px(255, 254, 255), Px(255, 255, 254),
                  Px(255, 0, 255, 0x7F), Px(0, 0, 0)},
                 pixels);
}

// Channels are told apart: a colour with red and blue swapped is another colour.
TEST(ReplaceColour, DoesNotConfuseRedWithBlue)
{
    PixelArray pixels{Px(10, 20, 30), Px(30, 20, 10)};
    ReplaceColour(pixels, 2, 10, 20, 30, 1, 2, 3);
    ExpectPixels({Px(1, 2, 3), Px(30, 20, 10)}, pixels);
}

TEST(ReplaceColour, CountLimitsTheElementsVisited)
{
    struct Row {
        std::int32_t count;
        std::size_t repainted;   // how many leading elements turn into the key
    };
    for (const Row row : {Row{-1, 0}, Row{0, 0}, Row{1, 1}, Row{3, 3}, Row{4, 4}, Row{99, 4}}) {
        SCOPED_TRACE(testing::Message() << "count " << row.count);
        PixelArray pixels(4, white);
        ReplaceColour(pixels, row.count, 255, 255, 255, 255, 0, 255);
        PixelArray expected(4, white);
        std::fill_n(expected.begin(), row.repainted, key);
        ExpectPixels(expected, pixels);
    }
}
