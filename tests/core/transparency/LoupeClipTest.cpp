// Which picture pixels the loupe shows around the pointer, and from which of its cells.
#include "core/transparency/LoupeClip.h"

#include <gtest/gtest.h>
#include <limits>
#include <tuple>

namespace {
std::tuple<int, int, int, int, int, int> Fields(const LoupeSource& s)
{
    return {s.sx, s.sy, s.w, s.h, s.dx, s.dy};
}

constexpr std::int32_t Min = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t Max = std::numeric_limits<std::int32_t>::max();

// Most rows on a picture of wf x hf = 12 x 10 pixels.
TEST(ClipLoupeSource, ClipsTheBlockAroundThePointerToThePicture)
{
    const struct { const char* name; std::int32_t x, y, width, height; LoupeSource block; } rows[] = {
        {"inside", 6, 5, 12, 10, {2, 1, 9, 9, 0, 0}},
        {"top-left pixel", 0, 0, 12, 10, {0, 0, 5, 5, 4, 4}},
        {"bottom-right pixel", 11, 9, 12, 10, {7, 5, 5, 5, 0, 0}},
        {"column wf + 2", 14, 5, 12, 10, {10, 1, 2, 9, 0, 0}},
        {"column wf + 3: the last column only", 15, 5, 12, 10, {11, 1, 1, 9, 0, 0}},
        {"column wf + 4: nothing", 16, 5, 12, 10, {0, 1, 0, 9, 0, 0}},
        {"column -4: the first column in the last cell", -4, 5, 12, 10, {0, 1, 1, 9, 8, 0}},
        {"column -5: nothing", -5, 5, 12, 10, {0, 1, 0, 9, 0, 0}},
        {"row hf + 4: nothing", 5, 14, 12, 10, {1, 0, 9, 0, 0, 0}},
        {"picture smaller than the block", 1, 1, 3, 2, {0, 0, 3, 2, 3, 3}},
        {"empty picture", 0, 0, 0, 0, {0, 0, 0, 0, 0, 0}},
        {"far ends of the range", Min, Max, 12, 10, {0, 0, 0, 0, 0, 0}},
        {"far end over a picture as wide", Max, 0, Max, 10, {Max - 4, 0, 4, 5, 0, 4}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const LoupeSource block = ClipLoupeSource(row.x, row.y, row.width, row.height);
        EXPECT_EQ(Fields(block), Fields(row.block));
        EXPECT_EQ(block.Visible(), row.block.w > 0 && row.block.h > 0);
    }
}
} // namespace
