// The blinking markers' colours: each channel is a uniform number in [0, 1) times 255, rounded
// to the nearest whole number, so every value from 0 to 255 comes up, the two ends half as often
// as the others: each has half a step of the range.
#include "base/Random.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>

namespace {
TEST(RandomColour, EveryChannelTakesEveryValueTheEndsHalfAsOften)
{
    constexpr int draws = 255000;   // 1000 a value, 500 an end
    std::array<std::array<int, 256>, 3> seen{};
    for (int i = 0; i < draws; ++i) {
        const ColorRef colour = RandomColour();
        for (const auto& [channel, value] : {std::pair{0, RedOf(colour)}, {1, GreenOf(colour)}, {2, BlueOf(colour)}})
            ++seen[std::size_t(channel)][std::size_t(value)];
    }
    for (const auto& channel : seen) {
        EXPECT_EQ(std::count(channel.begin(), channel.end(), 0), 0) << "values that never came";
        EXPECT_NEAR(channel[0] + channel[255], 1000, 200) << "the ends together, as often as one other value";
    }
}
} // namespace
