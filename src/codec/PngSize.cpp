#include "codec/PngSize.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr std::uint64_t kDeflateMaxRatio = 1032;
constexpr std::uint8_t kPngSignature[8] = {137, 80, 78, 71, 13, 10, 26, 10};

unsigned SamplesPerPixel(std::uint8_t colourType)
{
    switch (colourType) {
    case 2: return 3; // RGB
    case 4: return 2; // grey and alpha
    case 6: return 4; // RGBA
    default: return 1; // grey, palette, or invalid
    }
}
} // namespace

std::uint64_t PngLeastDataBytes(const PngStatedPicture& picture)
{
    const bool validDepth = picture.bitDepth == 1 || picture.bitDepth == 2
                            || picture.bitDepth == 4 || picture.bitDepth == 8
                            || picture.bitDepth == 16;
    const std::uint64_t bitsPerPixel =
        std::uint64_t{validDepth ? picture.bitDepth : 1u} * SamplesPerPixel(picture.colourType);
    // Sides below 2^32 and at most 64 bits a pixel: the product needs more than 64 bits.
    const unsigned __int128 sampleBits =
        static_cast<unsigned __int128>(picture.width) * picture.height * bitsPerPixel;
    return static_cast<std::uint64_t>(sampleBits / 8 / kDeflateMaxRatio);
}

std::optional<PngStatedPicture> ReadPngHeader(const std::uint8_t* head, std::size_t size)
{
    const auto byte = [head, size](std::size_t at) -> std::uint32_t {
        return at < size ? head[at] : 0u;
    };
    for (std::size_t i = 0; i < sizeof kPngSignature; ++i) {
        if (byte(i) != kPngSignature[i])
            return std::nullopt;
    }
    const auto bigEndian = [&byte](std::size_t at) {
        return byte(at) << 24 | byte(at + 1) << 16 | byte(at + 2) << 8 | byte(at + 3);
    };
    return PngStatedPicture{bigEndian(16), bigEndian(20), static_cast<std::uint8_t>(byte(24)),
                            static_cast<std::uint8_t>(byte(25))};
}

std::uint64_t PngImageDataBytes(const ReadAt& readAt, std::uint64_t size)
{
    std::uint64_t data = 0;
    for (std::uint64_t at = sizeof kPngSignature; at + 8 <= size;) {
        std::uint8_t head[8];
        if (!readAt(at, head, sizeof head))
            break;
        const std::uint64_t length = std::uint64_t(head[0]) << 24 | head[1] << 16 | head[2] << 8 | head[3];
        if (std::memcmp(head + 4, "IEND", 4) == 0)
            break;
        if (std::memcmp(head + 4, "IDAT", 4) == 0)
            data += std::min(length, size - at - 8);
        at += 12 + length;
    }
    return data;
}

std::uint64_t PngImageDataBytes(int fd)
{
    const ByteSource file = FileSource(fd);
    return PngImageDataBytes(file.readAt, file.size);
}

std::uint64_t PngImageDataBytes(const std::uint8_t* data, std::size_t size)
{
    return PngImageDataBytes(MemorySource(data, size).readAt, size);
}
