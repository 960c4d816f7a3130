#pragma once
// How much image data a PNG file must hold for the picture its header states. Deflate turns
// one byte into at most 1032 (a 258-byte match coded in two bits), so image data (the IDAT
// chunks) far smaller than the picture's samples divided by 1032 cannot decode in full,
// however the file was made. Checking this before a surface is allocated keeps a forged
// header from reserving gigabytes, also one padded out with other chunks.
#include "codec/ReadAt.h"

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

// The fewest bytes of image data a file stating `picture` can have and still decode in full.
// Invalid depths and colour types count as one bit per pixel, so libpng, not this check,
// refuses them.
std::uint64_t PngLeastDataBytes(const PngStatedPicture& picture);

// The bytes of image data in a PNG file of `size` bytes, read through `readAt` (the `n` bytes
// at `offset`, false past the end): the lengths of its IDAT chunks up to IEND, each counted
// only as far as the file reaches. Only the chunks' heads are read.
std::uint64_t PngImageDataBytes(const ReadAt& readAt, std::uint64_t size);
// The same of the file open as `fd`, or of the `size` bytes at `data`.
std::uint64_t PngImageDataBytes(int fd);
std::uint64_t PngImageDataBytes(const std::uint8_t* data, std::size_t size);

// The first bytes of a PNG file checked as the picture sources do: std::nullopt unless bytes
// 0 to 7 are the PNG signature; otherwise the 32-bit big-endian width (bytes 16 to 19) and
// height (bytes 20 to 23), the bit depth (byte 24) and the colour type (byte 25). Bytes
// beyond `size` count as 0.
std::optional<PngStatedPicture> ReadPngHeader(const std::uint8_t* head, std::size_t size);
