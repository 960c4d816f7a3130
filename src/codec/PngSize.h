#pragma once
// How much a PNG file must hold for the picture its header states. Deflate turns one byte
// into at most 1032 (a 258-byte match coded in two bits), so a file far smaller than its
// picture's samples divided by 1032 cannot decode in full, however it was made. Checking
// this before a surface is allocated keeps a forged header from reserving gigabytes.
#include <cstddef>
#include <cstdint>
#include <optional>

// The fields of IHDR that set the size of the picture's samples.
struct PngStatedPicture {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint8_t bitDepth = 0;   // 1, 2, 4, 8 or 16 in a valid file
    std::uint8_t colourType = 0; // 0, 2, 3, 4 or 6 in a valid file
};

// The fewest bytes a file stating `picture` can have and still decode in full. Invalid
// depths and colour types count as one bit per pixel, so libpng, not this check, refuses them.
std::uint64_t PngLeastFileSize(const PngStatedPicture& picture);

// The first bytes of a PNG file checked as the picture sources do: std::nullopt unless bytes
// 0 to 7 are the PNG signature; otherwise the 32-bit big-endian width (bytes 16 to 19) and
// height (bytes 20 to 23), the bit depth (byte 24) and the colour type (byte 25). Bytes
// beyond `size` count as 0.
std::optional<PngStatedPicture> ReadPngHeader(const std::uint8_t* head, std::size_t size);
