// A GIF file is whole when its blocks lead to the trailer and its first image's LZW codes
// give every pixel of that image.
#include "base/Failure.h"
#include "core/sources/PictureChecks.h"

#include <array>

namespace {
const Failure kEndsEarly{"the file ends before its trailer", "ファイルが終端ブロックの前で終わっています"};
constexpr int kMaxCodes = 4096;

// Skips data sub-blocks up to the empty one; false when the file ends first.
bool SkipSubBlocks(ByteStream& stream)
{
    for (int length = stream.Next(); length != 0; length = stream.Next()) {
        if (length < 0 || !stream.Skip(length))
            return false;
    }
    return true;
}

// Runs the LZW decoder of an image's data sub-blocks keeping only the length of each table
// entry: the number of pixels the codes give, counted up to `enough`. -1 when the file ends
// within the sub-blocks.
std::int64_t CountLzwPixels(ByteStream& stream, int minCodeSize, std::int64_t enough)
{
    const int clear = 1 << minCodeSize;
    std::array<std::int64_t, kMaxCodes> length{};
    const auto lengthOf = [&length, clear](int code) { return code < clear ? 1 : length[code]; };
    int codeSize = minCodeSize + 1, next = clear + 2, previous = -1;
    std::uint32_t bits = 0;
    int bitCount = 0;
    std::int64_t pixels = 0;
    bool ended = false; // the end code, a bad code, or enough pixels: the rest is only skipped
    for (int blockLength = stream.Next(); blockLength != 0; blockLength = stream.Next()) {
        if (blockLength < 0)
            return -1;
        for (int i = 0; i < blockLength; ++i) {
            const int byte = stream.Next();
            if (byte < 0)
                return -1;
            if (ended)
                continue;
            bits |= std::uint32_t(byte) << bitCount;
            bitCount += 8;
            while (!ended && bitCount >= codeSize) {
                const int code = int(bits & ((1u << codeSize) - 1));
                bits >>= codeSize;
                bitCount -= codeSize;
                if (code == clear) {
                    codeSize = minCodeSize + 1;
                    next = clear + 2;
                    previous = -1;
                    continue;
                }
                if (code == clear + 1 || (previous < 0 && code > clear) || code > next
                    || (code == next && previous < 0)) {
                    ended = true;
                    break;
                }
                const std::int64_t codeLength = code < next ? lengthOf(code) : lengthOf(previous) + 1;
                pixels += codeLength;
                if (previous >= 0 && next < kMaxCodes) {
                    length[next] = lengthOf(previous) + 1;
                    if (++next == 1 << codeSize && codeSize < 12)
                        ++codeSize;
                }
                previous = code;
                ended = pixels >= enough;
            }
        }
    }
    return pixels;
}
} // namespace

Result<void> CheckGif(ByteStream& stream)
{
    std::uint8_t header[13];
    if (!stream.Read(header, sizeof header))
        return EndsWithinHeader();
    const std::int64_t screenWidth = LittleEndian16(header + 6), screenHeight = LittleEndian16(header + 8);
    if (header[10] & 0x80 && !stream.Skip(3 << ((header[10] & 7) + 1)))
        return kEndsEarly;
    bool firstImage = true;
    for (;;) {
        const int block = stream.Next();
        if (block == 0x3B)
            break;
        if (block == 0x21) {
            if (stream.Next() < 0 || !SkipSubBlocks(stream))
                return kEndsEarly;
            continue;
        }
        if (block < 0)
            return kEndsEarly;
        if (block != 0x2C)
            return Failure{"the file holds an unknown block", "ファイルに不明なブロックがあります"};
        std::uint8_t descriptor[9];
        if (!stream.Read(descriptor, sizeof descriptor)
            || (descriptor[8] & 0x80 && !stream.Skip(3 << ((descriptor[8] & 7) + 1))))
            return kEndsEarly;
        const int minCodeSize = stream.Next();
        if (minCodeSize < 0)
            return kEndsEarly;
        if (!firstImage) {
            if (!SkipSubBlocks(stream))
                return kEndsEarly;
            continue;
        }
        firstImage = false;
        if (minCodeSize < 2 || minCodeSize > 11)
            return Failure{"the first image has a bad LZW code size",
                           "最初の画像の LZW 符号の長さが正しくありません"};
        const std::int64_t left = LittleEndian16(descriptor), top = LittleEndian16(descriptor + 2);
        const std::int64_t width = LittleEndian16(descriptor + 4), height = LittleEndian16(descriptor + 6);
        // The picture is the screen, grown to take in the image where it reaches beyond.
        const std::int64_t canvasWidth = std::max(screenWidth, left + width);
        const std::int64_t canvasHeight = std::max(screenHeight, top + height);
        if (Result<void> size = CheckStatedSize(canvasWidth, canvasHeight); !size)
            return size;
        const std::int64_t pixels = CountLzwPixels(stream, minCodeSize, width * height);
        if (pixels < 0)
            return kEndsEarly;
        if (pixels < width * height)
            return Failure{"the first image's data ends before its last pixel",
                           "最初の画像のデータが最後の画素の前で終わっています"};
        if (canvasWidth * canvasHeight - width * height > kUncodedPixelAllowance) {
            const std::string screen = SizeWords(canvasWidth, canvasHeight);
            return Failure{"the " + screen + " screen is far larger than its first image",
                           screen + " の画面が最初の画像よりはるかに大きくなっています"};
        }
    }
    if (firstImage)
        return Failure{"the file holds no image", "ファイルに画像がありません"};
    return {};
}
