// The magnifier's view of the picture, and repainting one colour of the foreground in the key
// colour and taking it back exactly.
#include "core/transparency/LoupeClip.h"
#include "core/transparency/RecolourHistory.h"
#include "core/transparency/ReplaceColour.h"

#include <gtest/gtest.h>

#include <cstring>
#include <tuple>

namespace {
// Which pixels of a picture (most often 12 x 10) the loupe shows, and from which of its cells.
TEST(ClipLoupeSource, ClipsTheBlockAroundThePointerToThePicture)
{
    constexpr std::int32_t Min = INT32_MIN, Max = INT32_MAX;
    const struct { const char* name; std::int32_t x, y, width, height; LoupeSource block; } rows[] = {
        {"inside", 6, 5, 12, 10, {2, 1, 9, 9, 0, 0}}, {"top-left pixel", 0, 0, 12, 10, {0, 0, 5, 5, 4, 4}},
        {"bottom-right pixel", 11, 9, 12, 10, {7, 5, 5, 5, 0, 0}},
        {"column 15: the last column only", 15, 5, 12, 10, {11, 1, 1, 9, 0, 0}},
        {"column -4: the first column in the last cell", -4, 5, 12, 10, {0, 1, 1, 9, 8, 0}},
        {"picture smaller than the block", 1, 1, 3, 2, {0, 0, 3, 2, 3, 3}},
        {"far ends of the range", Min, Max, 12, 10, {0, 0, 0, 0, 0, 0}},
        {"far end over a picture as wide", Max, 0, Max, 10, {Max - 4, 0, 4, 5, 0, 4}}};
    const auto fields = [](const LoupeSource& s) { return std::tuple{s.sx, s.sy, s.w, s.h, s.dx, s.dy}; };
    for (const auto& row : rows)
        EXPECT_EQ(fields(ClipLoupeSource(row.x, row.y, row.width, row.height)), fields(row.block)) << row.name;
}

// Pixels as 0xSSRRGGBB, the reserved byte on top, into and out of a pixel array.
using Values = std::vector<std::uint32_t>;
template <typename To, typename From>
To As(const From& from)
{
    To to(from.size());
    std::memcpy(to.data(), from.data(), from.size() * 4);
    return to;
}

// ReplaceColour repaints the exact matches among the first `count` elements. A step, found on
// its own, redoes just that and undoes it exactly, whether it holds runs (a cut-out's backdrop,
// one ending with the array) or one bit an element (a dithered colour).
TEST(RecolourStep, RedoesWhatReplaceColourDoesAndUndoesItExactly)
{
    // 0x102030 among near misses, each off by one in one channel; the reserved bytes stay.
    const auto row = As<PixelArray>(Values{0x5A102030, 0x102030, 0x112030, 0x102130, 0x102031, 0xFF00FF, 0x5A102030});
    PixelArray four = row;
    ReplaceColour(four, 4, 0x10, 0x20, 0x30, 0xFF, 0x00, 0xFF);
    EXPECT_EQ(As<Values>(four), (Values{0x5AFF00FF, 0xFF00FF, 0x112030, 0x102130, 0x102031, 0xFF00FF, 0x5A102030}));
    // 400 x 300 pixels, white where `isWhite` holds, a brown elsewhere.
    const auto picture = [](bool (*isWhite)(int i)) {
        Values colours(400 * 300);
        for (int i = 0; i < 400 * 300; ++i)
            colours[std::size_t(i)] = isWhite(i) ? 0xFFFFFF : 0x806040;
        return As<PixelArray>(colours);
    };
    const struct { const char* name; PixelArray before; std::int32_t count; std::uint32_t from; } rows[] = {
        {"every match", row, 7, 0x102030}, {"the first four", row, 4, 0x102030},
        {"beyond the array", row, 99, 0x102030}, {"fewer than none", row, -1, 0x102030},
        {"a colour not there", row, 7, 0x123456}, {"the key's own", row, 7, 0xFF00FF},
        {"a cut-out", picture([](int i) { return i % 400 <= 100 || i % 400 >= 300; }), 400 * 300, 0xFFFFFF},
        {"a backdrop to the end", picture([](int i) { return i >= 1000; }), 400 * 300, 0xFFFFFF},
        {"dithered", picture([](int i) { return (i % 400 + i / 400) % 2 == 0; }), 400 * 300, 0xFFFFFF}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        const PixelElement from = As<PixelArray>(Values{r.from})[0], key = PixelOf(RGB(255, 0, 255));
        PixelArray replaced = r.before, redone = r.before, other(1, from);
        ReplaceColour(replaced, r.count, from.Red, from.Green, from.Blue, key.Red, key.Green, key.Blue);
        const RecolourStep step = RecolourStep::Find(r.before, r.count, from, key);
        EXPECT_EQ(step.Empty(), As<Values>(replaced) == As<Values>(r.before));
        EXPECT_TRUE(step.Redo(redone) && As<Values>(redone) == As<Values>(replaced)) << "redone";
        EXPECT_TRUE(step.Undo(replaced) && As<Values>(replaced) == As<Values>(r.before)) << "undone";
        EXPECT_FALSE(step.Undo(other)) << "an array of another size";
    }
}
} // namespace
