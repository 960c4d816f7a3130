// A BMP file is whole when its rows, or its RLE codes up to end-of-bitmap, are all there.
#include "base/Failure.h"
#include "core/sources/DibHeader.h"
#include "core/sources/PictureChecks.h"

#include <cstdlib>
#include <string>

namespace {
const Failure kEndsEarly{"the file ends before its pixel data does",
                         "ファイルが画素データの途中で終わっています"};

// Walks the RLE codes to end-of-bitmap, counting the pixels they give inside the picture;
// pixels they skip (end of line, deltas, an early end) are left uncoded.
Result<void> CheckRle(ByteStream& stream, const DibHeader& header)
{
    const bool fourBits = header.compression == kDibRle4;
    const std::int64_t width = header.width, height = std::abs(header.height);
    std::int64_t x = 0, y = 0, coded = 0;
    const auto code = [&coded, &x, &y, width, height](std::int64_t pixels) {
        if (y < height && x < width)
            coded += std::min(pixels, width - x);
        x += pixels;
    };
    for (;;) {
        const int count = stream.Next();
        const int value = stream.Next();
        if (value < 0)
            return kEndsEarly;
        if (count > 0) {
            code(count);
            continue;
        }
        if (value == 0) {
            x = 0;
            ++y;
        } else if (value == 1) {
            break;
        } else if (value == 2) {
            const int dx = stream.Next(), dy = stream.Next();
            if (dy < 0)
                return kEndsEarly;
            x += dx;
            y += dy;
        } else {
            const std::int64_t bytes = fourBits ? (value + 1) / 2 : value;
            if (!stream.Skip(bytes + (bytes & 1)))
                return kEndsEarly;
            code(value);
        }
    }
    if (width * height - coded > kUncodedPixelAllowance)
        return Failure{"the RLE codes leave most of the " + SizeWords(width, height) + " picture uncoded",
                       "RLE の符号が " + SizeWords(width, height) + " の画像の大半を埋めていません"};
    return {};
}
} // namespace

Result<void> CheckBmp(ByteStream& stream)
{
    std::uint8_t fileHeader[14];
    const bool whole = stream.Read(fileHeader, sizeof fileHeader);
    const std::optional<DibHeader> header = whole ? ReadDibHeader(stream) : std::nullopt;
    if (!header)
        return EndsWithinHeader();
    if (Result<void> size = CheckStatedSize(header->width, std::abs(header->height)); !size)
        return size;
    const std::int64_t dataStart = LittleEndian32(fileHeader + 10);
    if (DibUncompressed(*header)) {
        // The last row's padding may be missing; its pixels may not.
        const std::int64_t lastRow = (header->width * header->bitCount + 7) / 8;
        const std::int64_t end = dataStart + DibRowBytes(header->width, header->bitCount) * (std::abs(header->height) - 1) + lastRow;
        if (stream.Size() < end)
            return kEndsEarly;
        return {};
    }
    if (header->compression == kDibRle8 || header->compression == kDibRle4)
        return stream.Seek(dataStart) ? CheckRle(stream, *header) : kEndsEarly;
    const std::string compression = std::to_string(header->compression);
    return Failure{"unsupported BMP compression " + compression,
                   "BMP の圧縮方式 " + compression + " には対応していません"};
}
