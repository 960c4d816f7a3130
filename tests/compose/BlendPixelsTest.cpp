#include "compose/BlendPixels.h"
#include "support/ReferenceBlend.h"

#include <gtest/gtest.h>

#include <array>
#include <thread>
#include <vector>

namespace {
struct Rgb {
    int red, green, blue;
    bool operator==(const Rgb&) const = default;
};

void PrintTo(const Rgb& c, std::ostream* os) { *os << "(" << c.red << ", " << c.green << ", " << c.blue << ")"; }

PixelElement Element(Rgb c, std::uint8_t reserved = 0)
{
    return PixelElement{std::uint8_t(c.blue), std::uint8_t(c.green), std::uint8_t(c.red), reserved};
}

Rgb ColourOf(const PixelElement& e) { return {e.Red, e.Green, e.Blue}; }

TEST(BlendPixels, WorkedExamplesWithAMagentaKey)
{
    const struct { Rgb background, foreground; int rate; Rgb result; } examples[] = {
        {{0, 0, 0}, {255, 0, 255}, 50, {0, 0, 0}},
        {{0, 0, 0}, {254, 1, 255}, 40, {102, 0, 102}},
        {{0, 0, 0}, {200, 100, 50}, 50, {100, 50, 25}},
        {{110, 120, 130}, {10, 20, 30}, 30, {80, 90, 100}},
        {{255, 0, 128}, {0, 255, 64}, 75, {64, 191, 80}},
        {{12, 34, 56}, {200, 100, 50}, 100, {200, 100, 50}},
        {{12, 34, 56}, {200, 100, 50}, 0, {12, 34, 56}},
        // 127.49999999999999 in double precision: not a half, so 127.
        {{0, 0, 0}, {255, 255, 255}, 50, {127, 127, 127}},
        // A rate outside 0..100 takes the nearer end.
        {{10, 20, 30}, {200, 150, 100}, 250, {200, 150, 100}},
        {{10, 20, 30}, {200, 150, 100}, -40, {10, 20, 30}}};
    for (const auto& e : examples) {
        const PixelArray F{Element(e.foreground)};
        PixelArray P{Element(e.background)};
        BlendPixels(F, P, 1, 255, 0, 255, e.rate);
        EXPECT_EQ(ColourOf(P[0]), e.result) << testing::PrintToString(e.foreground) << " rate " << e.rate;
    }
}

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
    for (int i = 0; i < 65536; ++i) {
        const int high = i >> 8, low = i & 255;
        const Rgb expected{ReferenceChannel(high, low, rate), ReferenceChannel(low, high, rate),
                           ReferenceChannel(high ^ 0x5A, low, rate)};
        ASSERT_EQ(ColourOf(P[i]), expected) << "pair " << i << " rate " << rate;
    }
}

INSTANTIATE_TEST_SUITE_P(Blend, AllBytePairs, ::testing::Values(0, 1, 30, 50, 99, 100));

// Every rate's table holds the reference blend of every byte pair, also when threads ask
// for the tables at the same moment, and each rate has one table, the nearer end's for a
// rate out of range.
TEST(BlendTableFor, EveryRateFromSeveralThreadsAtOnce)
{
    std::array<const BlendTable*, 101> seen[4] = {};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([t, &seen] {
            for (int i = 0; i <= 100; ++i) {
                const int rate = (i * 37 + t * 11) % 101;
                seen[t][std::size_t(rate)] = &BlendTableFor(rate);
            }
        });
    for (std::thread& thread : threads)
        thread.join();
    for (int rate = 0; rate <= 100; ++rate) {
        const BlendTable& table = BlendTableFor(rate);
        for (int t = 0; t < 4; ++t)
            ASSERT_EQ(seen[t][std::size_t(rate)], &table) << "rate " << rate << ", thread " << t;
        for (int pair = 0; pair < 65536; ++pair)
            ASSERT_EQ(table[std::size_t(pair)], ReferenceChannel(pair >> 8, pair & 255, rate))
                << "background " << (pair >> 8) << ", foreground " << (pair & 255) << ", rate " << rate;
    }
    EXPECT_EQ(&BlendTableFor(250), &BlendTableFor(100));
    EXPECT_EQ(&BlendTableFor(-40), &BlendTableFor(0));
}

// The key matches only on all three colour bytes, whatever the reserved byte holds, and
// the patch's reserved bytes are never written: in a run of key pixels long enough to be
// passed over as a whole, and among other pixels.
TEST(BlendPixels, TheKeyMatchesOnAllThreeColourBytesOnly)
{
    const PixelElement key = Element({10, 20, 30}, 0x77);
    PixelArray F(19, key);
    const PixelArray others{Element({11, 20, 30}), Element({10, 21, 30}), Element({10, 20, 31}),
                            Element({30, 20, 10})};
    F.insert(F.begin() + 9, others.begin(), others.end());
    PixelArray P(F.size(), Element({200, 200, 200}, 0xAB));
    BlendPixels(F, P, std::int32_t(F.size()), 10, 20, 30, 100);
    for (std::size_t i = 0; i < F.size(); ++i) {
        const bool isKey = F[i].Red == 10 && F[i].Green == 20 && F[i].Blue == 30;
        EXPECT_EQ(ColourOf(P[i]), (isKey ? Rgb{200, 200, 200} : ColourOf(F[i]))) << "element " << i;
        EXPECT_EQ(P[i].Reserved, 0xAB) << "element " << i;
    }
}

// Into another run, as the engine blends into its bitmaps: the patch is left as it was,
// and every pixel written, key or blended, gets the reserved bits asked for.
TEST(BlendRun, IntoAnotherRunSetsTheReservedBitsOnEveryPixel)
{
    PixelArray F(21, Element({10, 20, 30}));
    for (const int i : {3, 9, 10, 20})
        F[std::size_t(i)] = Element({200, 100, 0});
    const PixelArray P(F.size(), Element({0, 50, 100}, 0x00));
    PixelArray out(F.size(), Element({9, 9, 9}, 0x11));
    BlendRun(F.data(), P.data(), out.data(), F.size(), 0x0A141E, BlendTableFor(50), 0xFF000000u);
    for (std::size_t i = 0; i < F.size(); ++i) {
        const bool isKey = F[i].Red == 10;
        EXPECT_EQ(ColourOf(out[i]), (isKey ? Rgb{0, 50, 100} : Rgb{100, 75, 50})) << "element " << i;
        EXPECT_EQ(out[i].Reserved, 0xFF) << "element " << i;
        EXPECT_EQ(P[i].Reserved, 0x00) << "element " << i;
    }
}

TEST(BlendPixels, TheCountLimitsThePass)
{
    const PixelArray F(3, Element({255, 255, 255}));
    // Elements blended for each count; a count beyond the arrays stops at their end.
    for (const auto& [count, blended] : {std::pair{-1, 0}, {0, 0}, {2, 2}, {1000, 3}}) {
        SCOPED_TRACE(testing::Message() << "count " << count);
        PixelArray P(3, Element({0, 0, 0}));
        BlendPixels(F, P, count, 1, 2, 3, 100);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(ColourOf(P[i]).red, i < blended ? 255 : 0) << "element " << i;
    }
}
} // namespace
