#pragma once
// The largest picture the program agrees to hold, shared by every loader. A picture is
// refused before anything of its size is allocated, so a forged header cannot make the
// program reserve gigabytes.
#include <cstdint>

// 2^28 pixels: far above any camera picture of today, and a picture of 4-byte pixels then
// still has a byte count (2^30) that fits a signed 32-bit integer.
inline constexpr std::int64_t kMaxPicturePixels = std::int64_t{1} << 28;
// No side may exceed this many pixels, whatever the other side.
inline constexpr std::int64_t kMaxPictureSide = 1'000'000;

// True when a picture of w x h pixels may be allocated: both sides at least 1 and within
// kMaxPictureSide, and w * h within kMaxPicturePixels.
constexpr bool PictureSizeAllowed(std::int64_t w, std::int64_t h)
{
    return w > 0 && h > 0 && w <= kMaxPictureSide && h <= kMaxPictureSide
           && w * h <= kMaxPicturePixels;
}
