#pragma once
// The device-independent bitmap header shared by BMP files and the entries of icon files.
#include "core/sources/ByteStream.h"

#include <cstdint>
#include <optional>

struct DibHeader {
    std::uint32_t headerSize = 0; // 12 for the OS/2 form, 40 or more for the Windows forms
    std::int64_t width = 0;
    std::int64_t height = 0;      // negative for rows stored top-down
    std::uint16_t bitCount = 0;
    std::uint32_t compression = 0; // 0 none, 1 RLE8, 2 RLE4, 3 and 6 bit fields
    std::uint32_t coloursUsed = 0;
};

inline constexpr std::uint32_t kDibRle8 = 1;
inline constexpr std::uint32_t kDibRle4 = 2;

// Reads the header at the stream's position; std::nullopt when the file ends within it or
// its size field is below 12.
std::optional<DibHeader> ReadDibHeader(ByteStream& stream);

// True for the compressions whose rows are stored as they are.
bool DibUncompressed(const DibHeader& header);
// Bytes of one stored row of `width` pixels of `bitCount` bits, padded to 4 bytes.
std::int64_t DibRowBytes(std::int64_t width, std::uint16_t bitCount);
// Bytes between the end of the header and the first row: the colour table and the bit
// field masks that follow a 40-byte header.
std::int64_t DibTableBytes(const DibHeader& header);
