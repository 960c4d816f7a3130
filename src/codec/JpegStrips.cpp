#include "codec/JpegStrips.h"

#include <algorithm>
#include <optional>

namespace {
// Blocks of 4:2:0 JPEG: 16 x 16 pixels.
constexpr int kBlock = 16;
// Enough pixels in a strip to outweigh starting a thread for it, and few enough that a
// camera picture gives every core a share.
constexpr std::int64_t kStripPixels = std::int64_t{1} << 21;
// A restart interval is a 16-bit count of blocks.
constexpr std::int64_t kMostBlocks = 65535;

constexpr std::uint8_t kRestartMarkers[8][2] = {{0xFF, 0xD0}, {0xFF, 0xD1}, {0xFF, 0xD2},
                                                 {0xFF, 0xD3}, {0xFF, 0xD4}, {0xFF, 0xD5},
                                                 {0xFF, 0xD6}, {0xFF, 0xD7}};
constexpr std::uint8_t kEndOfImage[2] = {0xFF, 0xD9};

// Where a strip's file holds what the join needs.
struct StripFile {
    std::size_t height = 0;   // the frame header's height field
    std::size_t scan = 0;     // the scan header's marker
    std::size_t data = 0;     // the first byte of entropy-coded data
    std::size_t end = 0;      // the EOI marker that ends the data
};

std::optional<StripFile> ReadStripFile(std::span<const std::uint8_t> file)
{
    const std::size_t size = file.size();
    if (size < 4 || file[0] != 0xFF || file[1] != 0xD8 || file[size - 2] != 0xFF ||
        file[size - 1] != 0xD9)
        return std::nullopt;
    StripFile strip;
    strip.end = size - 2;
    for (std::size_t at = 2; at + 4 <= strip.end && file[at] == 0xFF;) {
        const int marker = file[at + 1];
        const std::size_t length = std::size_t(file[at + 2]) << 8 | file[at + 3];
        if (length < 2 || at + 2 + length > strip.end)
            return std::nullopt;
        if (marker == 0xC0 && length >= 7) {
            strip.height = at + 5;
        } else if (marker == 0xDD || (marker >= 0xC1 && marker <= 0xCF && marker != 0xC4)) {
            return std::nullopt;   // a restart interval of its own, or not baseline Huffman
        } else if (marker == 0xDA) {
            if (strip.height == 0)
                return std::nullopt;
            strip.scan = at;
            strip.data = at + 2 + length;
            return strip;
        }
        at += 2 + length;
    }
    return std::nullopt;
}
} // namespace

JpegStrips PlanJpegStrips(int width, int height)
{
    const std::int64_t across = (std::int64_t(width) + kBlock - 1) / kBlock;
    const std::int64_t down = (std::int64_t(height) + kBlock - 1) / kBlock;
    if (across < 1 || across > kMostBlocks)
        return {height, 1, 0};
    const std::int64_t rows = std::min(kMostBlocks / across,
                                       std::max<std::int64_t>(1, kStripPixels / (across * kBlock * kBlock)));
    if (down <= rows)
        return {height, 1, 0};
    return {int(rows * kBlock), int((down + rows - 1) / rows), int(rows * across)};
}

JoinedJpeg JoinJpegStrips(std::span<const std::span<std::uint8_t>> strips, int height,
                          const JpegStrips& plan)
{
    JoinedJpeg joined;
    if (strips.size() != std::size_t(plan.count) || strips.size() < 2)
        return joined;
    std::vector<StripFile> files;
    for (const std::span<std::uint8_t> strip : strips) {
        const std::optional<StripFile> file = ReadStripFile(strip);
        if (!file)
            return joined;
        files.push_back(*file);
    }
    // Every strip must be coded with the first one's tables, as the joined file states them
    // once; tables fitted to each strip's own pixels would not be.
    const std::span<std::uint8_t> first = strips.front();
    const auto sameHeaders = [&](std::size_t i) {
        const std::uint8_t* other = strips[i].data();
        return files[i].data == files[0].data && files[i].height == files[0].height &&
               std::equal(first.data(), first.data() + files[0].height, other) &&
               std::equal(first.data() + files[0].height + 2, first.data() + files[0].data,
                          other + files[0].height + 2);
    };
    for (std::size_t i = 1; i < strips.size(); ++i)
        if (!sameHeaders(i))
            return joined;
    first[files[0].height] = std::uint8_t(height >> 8);
    first[files[0].height + 1] = std::uint8_t(height);
    joined.restartInterval = {0xFF, 0xDD, 0x00, 0x04, std::uint8_t(plan.interval >> 8),
                              std::uint8_t(plan.interval)};
    // The interval's marker goes just before the scan header, where the encoder puts it.
    joined.pieces.push_back({first.data(), files[0].scan});
    joined.pieces.push_back({joined.restartInterval.data(), joined.restartInterval.size()});
    joined.pieces.push_back({first.data() + files[0].scan, files[0].end - files[0].scan});
    for (std::size_t i = 1; i < strips.size(); ++i) {
        joined.pieces.push_back({kRestartMarkers[(i - 1) % 8], 2});
        joined.pieces.push_back({strips[i].data() + files[i].data, files[i].end - files[i].data});
    }
    joined.pieces.push_back({kEndOfImage, 2});
    return joined;
}
