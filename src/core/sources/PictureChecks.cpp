#include "core/sources/PictureChecks.h"

#include "base/Failure.h"
#include "codec/PictureLimit.h"

#include <cstring>
#include <optional>

namespace {
std::optional<PictureFormat> FormatBySignature(const std::uint8_t* head, qint64 size)
{
    const auto startsWith = [head, size](const char* signature, qint64 length) {
        return size >= length && std::memcmp(head, signature, std::size_t(length)) == 0;
    };
    if (startsWith("\x89PNG\r\n\x1a\n", 8))
        return PictureFormat::Png;
    if (startsWith("\xFF\xD8\xFF", 3))
        return PictureFormat::Jpeg;
    if (startsWith("GIF87a", 6) || startsWith("GIF89a", 6))
        return PictureFormat::Gif;
    if (startsWith("BM", 2))
        return PictureFormat::Bmp;
    // Reserved 0, type 1 (an icon, not a cursor), at least one image.
    if (startsWith("\0\0\1\0", 4) && size >= 6 && (head[4] | head[5]) != 0)
        return PictureFormat::Ico;
    return std::nullopt;
}
} // namespace

Result<void> CheckStatedSize(std::int64_t width, std::int64_t height)
{
    if (PictureSizeAllowed(width, height))
        return {};
    return SizeBeyondLimit(width, height);
}

Failure EndsWithinHeader()
{
    return {"the file ends within its header", "ファイルがヘッダーの途中で終わっています"};
}

Failure UnreadableFile()
{
    return {"cannot read the file", "ファイルを読めません"};
}

Result<PictureFormat> CheckPictureFile(QIODevice& file)
{
    ByteStream stream(file);
    std::uint8_t head[8] = {};
    const qint64 got = std::min<qint64>(stream.Size(), sizeof head);
    if (!stream.Read(head, got) || !stream.Seek(0))
        return UnreadableFile();
    const std::optional<PictureFormat> format = FormatBySignature(head, got);
    if (!format)
        return Failure{"not a BMP, GIF, ICO, JPEG or PNG file",
                       "BMP、GIF、ICO、JPEG、PNG のいずれのファイルでもありません"};
    Result<void> check;
    switch (*format) {
    case PictureFormat::Bmp: check = CheckBmp(stream); break;
    case PictureFormat::Gif: check = CheckGif(stream); break;
    case PictureFormat::Ico: check = CheckIco(stream); break;
    case PictureFormat::Jpeg: check = CheckJpeg(stream); break;
    case PictureFormat::Png: break;
    }
    if (!check)
        return check.failure();
    return *format;
}
