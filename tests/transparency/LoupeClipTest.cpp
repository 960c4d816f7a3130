#include "transparency/LoupeClip.h"

#include <gtest/gtest.h>
#include <limits>
#include <ostream>

namespace {
struct ClipCase {
    const char* name;
    std::int32_t pointerX, pointerY, width, height;
    LoupeSource expected;
};

void PrintTo(const ClipCase& c, std::ostream* os)
{
    *os << c.name;
}

class LoupeClip : public testing::TestWithParam<ClipCase> {};

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
} // namespace

TEST_P(LoupeClip, ClipsTheBlockToThePicture)
{
    const ClipCase& c = GetParam();
    const LoupeSource s = ClipLoupeSource(c.pointerX, c.pointerY, c.width, c.height);
    EXPECT_EQ(c.expected.sx, s.sx);
    EXPECT_EQ(c.expected.sy, s.sy);
    EXPECT_EQ(c.expected.w, s.w);
    EXPECT_EQ(c.expected.h, s.h);
    EXPECT_EQ(c.expected.dx, s.dx);
    EXPECT_EQ(c.expected.dy, s.dy);
    EXPECT_EQ(c.expected.w > 0 && c.expected.h > 0, s.Visible());
}

// Picture 12 x 10 unless said otherwise; the fields are sx, sy, w, h, dx, dy.
INSTANTIATE_TEST_SUITE_P(
    Pointer, LoupeClip,
    testing::Values(
        ClipCase{"inside", 6, 5, 12, 10, {2, 1, 9, 9, 0, 0}},
        ClipCase{"top_left_pixel", 0, 0, 12, 10, {0, 0, 5, 5, 4, 4}},
        ClipCase{"bottom_right_pixel", 11, 9, 12, 10, {7, 5, 5, 5, 0, 0}},
        ClipCase{"three_right_of_picture", 15, 5, 12, 10, {11, 1, 1, 9, 0, 0}},
        ClipCase{"four_right_of_picture", 16, 5, 12, 10, {0, 1, 0, 9, 0, 0}},
        ClipCase{"four_left_of_picture", -4, 5, 12, 10, {0, 1, 1, 9, 8, 0}},
        ClipCase{"five_left_of_picture", -5, 5, 12, 10, {0, 1, 0, 9, 0, 0}},
        ClipCase{"four_below_picture", 6, 14, 12, 10, {2, 0, 9, 0, 0, 0}},
        ClipCase{"picture_narrower_than_block", 1, 1, 3, 2, {0, 0, 3, 2, 3, 3}},
        ClipCase{"no_picture", 0, 0, 0, 0, {0, 0, 0, 0, 0, 0}},
        ClipCase{"far_right_end_of_range", kMax, kMax, kMax, kMax,
                 {kMax - 4, kMax - 4, 4, 4, 0, 0}},
        ClipCase{"far_left_end_of_range", kMin, kMin, 12, 10, {0, 0, 0, 0, 0, 0}}),
    [](const testing::TestParamInfo<ClipCase>& info) { return std::string(info.param.name); });
