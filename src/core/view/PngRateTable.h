#pragma once
#include <array>
#include <cstdint>
#include <optional>

// The PNG rate as stored in the settings and the position of the options dialog's PNG
// bar (0 to 2) that shows it; the first two swap places, so the default rate 1 shows
// as position 0.
constexpr std::array<std::int16_t, 3> PngRateAtPosition{1, 0, 2};

// The position that shows a stored rate; none for a rate outside the table.
constexpr std::optional<std::int16_t> PngPositionOfRate(std::int16_t rate)
{
    for (std::size_t position = 0; position < PngRateAtPosition.size(); ++position) {
        if (PngRateAtPosition[position] == rate)
            return std::int16_t(position);
    }
    return std::nullopt;
}
