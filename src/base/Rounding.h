#pragma once
#include <cmath>
#include <cstdint>

// Every conversion of a fractional value to a whole number in the program (mouse
// positions, blended channels, random colours, settings) rounds to the nearest integer
// with halves going to the even neighbour: 10.5 -> 10, 11.5 -> 12. std::nearbyint does
// exactly this under the default floating-point rounding mode, which the program never
// changes.
inline double RoundHalfEven(double v) { return std::nearbyint(v); }

// Rounded and narrowed to 16 bits, saturating at the ends of the range.
inline std::int16_t RoundToInt16(double v)
{
    const double r = RoundHalfEven(v);
    if (r <= INT16_MIN) return INT16_MIN;
    if (r >= INT16_MAX) return INT16_MAX;
    return static_cast<std::int16_t>(r);
}

// Rounded and narrowed to 32 bits, saturating at the ends of the range.
inline std::int32_t RoundToInt32(double v)
{
    const double r = RoundHalfEven(v);
    if (r <= INT32_MIN) return INT32_MIN;
    if (r >= INT32_MAX) return INT32_MAX;
    return static_cast<std::int32_t>(r);
}
