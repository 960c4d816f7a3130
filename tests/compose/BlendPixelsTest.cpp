#include "compose/BlendPixels.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

namespace {
struct Rgb {
    int red, green, blue;
    bool operator==(const Rgb&) const = default;
};

void PrintTo(const Rgb& c, std::ostream* os)
{
    *os << "(" << c.red << ", " << c.green << ", " << c.blue << ")";
}

PixelElement Element(Rgb c, std::uint8_t reserved = 0)
{
    return PixelElement{std::uint8_t(c.blue), std::uint8_t(c.green), std::uint8_t(c.red), reserved};
}

Rgb ColourOf(const PixelElement& e)
{
    return {e.Red, e.Green, e.Blue};
}

// The formula as written, with rounding to even done by hand rather than by the library.
int ReferenceChannel(int background, int foreground, int rate)
{
    const double value =
        (double(background) / 100.0) * double(100 - rate) + (double(foreground) / 100.0) * double(rate);
    const double below = std::floor(value);
    const double fraction = value - below;
    if (fraction > 0.5)
        return int(below) + 1;
    if (fraction < 0.5)
        return int(below);
    return int(below) % 2 == 0 ? int(below) : int(below) + 1;
}

Rgb BlendOne(Rgb background, Rgb foreground, int rate, Rgb key)
{
    const PixelArray F{Element(foreground)};
    PixelArray P{Element(background)};
    BlendPixels(F, P, 1, std::uint8_t(key.red), std::uint8_t(key.green), std::uint8_t(key.blue), rate);
    return ColourOf(P[0]);
}

struct WorkedExample {
    Rgb background, foreground;
    int rate;
    Rgb result;
};

void PrintTo(const WorkedExample& e, std::ostream* os)
{
    *os << "background ";
    PrintTo(e.background, os);
    *os << " foreground ";
    PrintTo(e.foreground, os);
    *os << " rate " << e.rate;
}

class WorkedExamples : public ::testing::TestWithParam<WorkedExample> {};

TEST_P(WorkedExamples, GiveTheDocumentedResultWithAMagentaKey)
{
    const WorkedExample& e = GetParam();
    EXPECT_EQ(BlendOne(e.background, e.foreground, e.rate, {255, 0, 255}), e.result);
}

INSTANTIATE_TEST_SUITE_P(
    Blend, WorkedExamples,
    ::testing::Values(WorkedExample{{0, 0, 0}, {255, 0, 255}, 50, {0, 0, 0}},
                      WorkedExample{{0, 0, 0}, {254, 1, 255}, 40, {102, 0, 102}},
                      WorkedExample{{0, 0, 0}, {200, 100, 50}, 50, {100, 50, 25}},
                      WorkedExample{{110, 120, 130}, {10, 20, 30}, 30, {80, 90, 100}},
                      WorkedExample{{255, 0, 128}, {0, 255, 64}, 75, {64, 191, 80}},
                      WorkedExample{{12, 34, 56}, {200, 100, 50}, 100, {200, 100, 50}},
                      WorkedExample{{12, 34, 56}, {200, 100, 50}, 0, {12, 34, 56}},
                      // 127.49999999999999 in double precision: not a half, so 127.
                      WorkedExample{{0, 0, 0}, {255, 255, 255}, 50, {127, 127, 127}}));

// Every (background, foreground) byte pair, each channel fed a different pairing so a
// channel mix-up shows, against the reference formula.
class AllBytePairs : public ::testing::TestWithParam<int> {};

TEST_P(AllBytePairs, MatchTheReferenceFormula)
{
    const int rate = GetParam();
    PixelArray F(65536), P(65536);
    for (int i = 0; i < 65536; ++i) {
        const int high = i >> 8, low = i & 255;
        P[i] = PixelElement{std::uint8_t(high ^ 0x5A), std::uint8_t(low), std::uint8_t(high), 0};
        F[i] = PixelElement{std::uint8_t(low), std::uint8_t(high), std::uint8_t(low), 0};
    }
    // Foreground red always equals foreground blue, so this key matches no pixel.
    BlendPixels(F, P, 65536, 1, 2, 3, rate);
    int failures = 0;
    for (int i = 0; i < 65536 && failures < 10; ++i) {
        const int high = i >> 8, low = i & 255;
        const Rgb expected{ReferenceChannel(high, low, rate), ReferenceChannel(low, high, rate),
                           ReferenceChannel(high ^ 0x5A, low, rate)};
        if (ColourOf(P[i]) != expected) {
            ++failures;
            ADD_FAILURE() << "pair " << i << " rate " << rate << ": got "
                          << ::testing::PrintToString(ColourOf(P[i])) << ", expected "
                          << ::testing::PrintToString(expected);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Blend, AllBytePairs, ::testing::Values(0, 1, 30, 50, 99, 100));

TEST(BlendKey, MatchesOnlyWhenAllThreeBytesAreEqual)
{
    const Rgb key{10, 20, 30}, background{200, 200, 200};
    EXPECT_EQ(BlendOne(background, key, 100, key), background);
    for (const Rgb near : {Rgb{11, 20, 30}, Rgb{10, 21, 30}, Rgb{10, 20, 31}, Rgb{30, 20, 10}}) {
        SCOPED_TRACE(::testing::PrintToString(near));
        EXPECT_EQ(BlendOne(background, near, 100, key), near);
    }
}

TEST(BlendKey, IgnoresReservedBytesAndNeverWritesThem)
{
    const Rgb key{0, 0, 0};
    const PixelArray F{Element(key, 0x77), Element({0, 0, 1}, 0x00)};
    PixelArray P{Element({90, 90, 90}, 0xAB), Element({90, 90, 90}, 0xCD)};
    BlendPixels(F, P, 2, 0, 0, 0, 50);
    EXPECT_EQ(ColourOf(P[0]), (Rgb{90, 90, 90}));   // black key: shows the background
    // (0, 0, 1) is not the key.
    EXPECT_EQ(ColourOf(P[1]), (Rgb{45, 45, ReferenceChannel(90, 1, 50)}));
    EXPECT_EQ(P[0].Reserved, 0xAB);
    EXPECT_EQ(P[1].Reserved, 0xCD);
}

TEST(BlendCount, ZeroOrNegativeDoesNothingAndACountLimitsThePass)
{
    const PixelArray F(3, Element({255, 255, 255}));
    const PixelArray original(3, Element({0, 0, 0}));
    for (const std::int32_t count : {0, -1}) {
        PixelArray P = original;
        BlendPixels(F, P, count, 1, 2, 3, 100);
        EXPECT_EQ(ColourOf(P[0]), (Rgb{0, 0, 0})) << "count " << count;
    }
    PixelArray P = original;
    BlendPixels(F, P, 2, 1, 2, 3, 100);
    EXPECT_EQ(ColourOf(P[1]), (Rgb{255, 255, 255}));
    EXPECT_EQ(ColourOf(P[2]), (Rgb{0, 0, 0}));
    // A count beyond the arrays stops at their end.
    P = original;
    BlendPixels(F, P, 1000, 1, 2, 3, 100);
    EXPECT_EQ(ColourOf(P[2]), (Rgb{255, 255, 255}));
}

TEST(BlendRate, OutsideTheRangeTakesTheNearerEnd)
{
    const Rgb background{10, 20, 30}, foreground{200, 150, 100};
    EXPECT_EQ(BlendOne(background, foreground, 250, {1, 2, 3}), foreground);
    EXPECT_EQ(BlendOne(background, foreground, -40, {1, 2, 3}), background);
}
} // namespace
