#include "core/compose/BlendPixels.h"
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

// Worked by hand, so a fault shared by the engine and the reference formula shows too.
TEST(BlendPixels, WorkedExamples)
{
    const struct { Rgb background, foreground; int rate; Rgb result; } examples[] = {
        {{0, 0, 0}, {200, 100, 50}, 50, {100, 50, 25}}, {{110, 120, 130}, {10, 20, 30}, 30, {80, 90, 100}},
        {{255, 0, 128}, {0, 255, 64}, 75, {64, 191, 80}},
        {{0, 0, 0}, {255, 255, 255}, 50, {127, 127, 127}},   // 127.49999999999999: not a half
        // A rate outside 0..100 takes the nearer end.
        {{10, 20, 30}, {200, 150, 100}, 250, {200, 150, 100}}, {{10, 20, 30}, {200, 150, 100}, -40, {10, 20, 30}}};
    for (const auto& e : examples) {
        PixelArray P{Element(e.background)};
        BlendPixels({Element(e.foreground)}, P, 1, 255, 0, 255, e.rate);
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

// Every rate has one table, the nearer end's for a rate out of range, holding the reference
// blend of every byte pair, also when threads ask for the tables at the same moment.
TEST(BlendTableFor, EveryRateFromSeveralThreadsAtOnce)
{
    std::array<const BlendTable*, 101> seen[4] = {};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([t, &seen] {
            for (int i = 0; i <= 100; ++i)
                seen[t][std::size_t((i * 37 + t * 11) % 101)] = &BlendTableFor((i * 37 + t * 11) % 101);
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

// The key matches only on all three colour bytes, whatever the reserved byte holds, in a
// run long enough to be passed over as a whole and among other pixels. In place the
// patch's reserved bytes are never written; into another run the patch is left alone and
// every pixel written gets the reserved bits asked for.
TEST(BlendPixels, TheKeyMatchesOnAllThreeColourBytesOnly)
{
    PixelArray F(19, Element({10, 20, 30}, 0x77));
    const PixelArray others{Element({11, 20, 30}), Element({10, 21, 30}), Element({10, 20, 31}),
                            Element({30, 20, 10})};
    F.insert(F.begin() + 9, others.begin(), others.end());
    const PixelArray patch(F.size(), Element({200, 200, 200}, 0xAB));
    PixelArray P = patch, out(F.size(), Element({9, 9, 9}, 0x11));
    BlendPixels(F, P, std::int32_t(F.size()), 10, 20, 30, 50);
    BlendRun(F.data(), patch.data(), out.data(), F.size(), PixelElement{0x1E, 0x14, 0x0A, 0}, BlendTableFor(50), 0xFF000000u);
    for (std::size_t i = 0; i < F.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "element " << i);
        const bool isKey = F[i].Red == 10 && F[i].Green == 20 && F[i].Blue == 30;
        const Rgb expected = isKey ? Rgb{200, 200, 200}
                                   : Rgb{ReferenceChannel(200, F[i].Red, 50), ReferenceChannel(200, F[i].Green, 50),
                                         ReferenceChannel(200, F[i].Blue, 50)};
        EXPECT_EQ(ColourOf(P[i]), expected);
        EXPECT_EQ(P[i].Reserved, 0xAB);
        EXPECT_EQ(ColourOf(out[i]), expected);
        EXPECT_EQ(out[i].Reserved, 0xFF);
        EXPECT_EQ(patch[i].Reserved, 0xAB);
    }
}

TEST(BlendPixels, TheCountLimitsThePass)
{
    const PixelArray F(3, Element({255, 255, 255}));
    // Elements blended for each count; a count beyond the arrays stops at their end.
    for (const auto& [count, blended] : {std::pair{-1, 0}, {0, 0}, {2, 2}, {1000, 3}}) {
        PixelArray P(3, Element({0, 0, 0}));
        BlendPixels(F, P, count, 1, 2, 3, 100);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(ColourOf(P[i]).red, i < blended ? 255 : 0) << "count " << count << ", element " << i;
    }
}
} // namespace
