// An icon file is whole when its directory and every image it lists lie within the file,
// and each image holds the data its own header states: all rows of a bitmap and of its AND
// mask, or a PNG file with image data enough for its picture.
#include "codec/PngSize.h"
#include "core/sources/DibHeader.h"
#include "core/sources/PictureChecks.h"

#include <cstdlib>
#include <string>

namespace {
const Failure kEndsEarly{"the file ends before its last image does",
                         "ファイルが最後の画像の途中で終わっています"};

Result<void> CheckPngEntry(ByteStream& stream, std::int64_t bytes)
{
    const qint64 entry = stream.Position();
    std::uint8_t head[26] = {};
    if (!stream.Read(head, std::min<std::int64_t>(bytes, sizeof head)))
        return kEndsEarly;
    const std::optional<PngStatedPicture> stated = ReadPngHeader(head, sizeof head);
    if (Result<void> size = CheckStatedSize(stated->width, stated->height); !size)
        return size;
    const auto readAt = [&stream, entry](std::uint64_t offset, std::uint8_t* out, std::size_t n) {
        return stream.Seek(entry + qint64(offset)) && stream.Read(out, qint64(n));
    };
    if (PngImageDataBytes(readAt, std::uint64_t(bytes)) < PngLeastDataBytes(*stated))
        return Failure{"an image is too short for its picture", "画像の一つがその大きさに対して短すぎます"};
    return {};
}

Result<void> CheckBitmapEntry(ByteStream& stream, std::int64_t bytes)
{
    const std::optional<DibHeader> header = ReadDibHeader(stream);
    if (!header)
        return kEndsEarly;
    // The stated height counts the rows of the picture and of its AND mask.
    const std::int64_t height = std::abs(header->height) / 2;
    if (Result<void> size = CheckStatedSize(header->width, height); !size)
        return size;
    if (!DibUncompressed(*header))
        return Failure{"an image is compressed", "圧縮された画像があります"};
    // 32-bit images carry their own alpha and may go without a mask.
    const std::int64_t maskRows = header->bitCount == 32 ? 0 : height;
    const std::int64_t needed = header->headerSize + DibTableBytes(*header)
                                + DibRowBytes(header->width, header->bitCount) * height
                                + DibRowBytes(header->width, 1) * maskRows;
    if (bytes < needed)
        return Failure{"an image is shorter than its rows", "画像の一つが画素の行より短くなっています"};
    return {};
}
} // namespace

Result<void> CheckIco(ByteStream& stream)
{
    std::uint8_t header[6];
    if (!stream.Read(header, sizeof header))
        return kEndsEarly;
    const int count = LittleEndian16(header + 4);
    if (6 + 16 * std::int64_t{count} > stream.Size())
        return Failure{"the file ends within its directory of " + std::to_string(count) + " images",
                       "ファイルが " + std::to_string(count) + " 個の画像の目録の途中で終わっています"};
    for (int i = 0; i < count; ++i) {
        std::uint8_t entry[16];
        if (!stream.Seek(6 + 16 * std::int64_t{i}) || !stream.Read(entry, sizeof entry))
            return kEndsEarly;
        const std::int64_t bytes = LittleEndian32(entry + 8), offset = LittleEndian32(entry + 12);
        if (offset + bytes > stream.Size() || !stream.Seek(offset))
            return kEndsEarly;
        std::uint8_t signature[8] = {};
        if (!stream.Read(signature, std::min<std::int64_t>(bytes, sizeof signature)) || !stream.Seek(offset))
            return kEndsEarly;
        Result<void> image = ReadPngHeader(signature, sizeof signature) ? CheckPngEntry(stream, bytes)
                                                                        : CheckBitmapEntry(stream, bytes);
        if (!image)
            return image;
    }
    return {};
}
