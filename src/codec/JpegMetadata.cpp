#include "codec/JpegMetadata.h"

#include <algorithm>
#include <string_view>

namespace {
// What one segment holds after its marker and length.
constexpr std::size_t kSegmentBytes = 65533;
constexpr std::string_view kExif{"Exif\0\0", 6}, kIcc{"ICC_PROFILE\0", 12},
    kXmp{"http://ns.adobe.com/xap/1.0/\0", 29};
constexpr std::size_t kIccChunkBytes = kSegmentBytes - kIcc.size() - 2;

void AppendSegment(std::vector<std::uint8_t>& out, std::uint8_t marker, std::string_view signature,
                   std::span<const std::uint8_t> head, std::span<const std::uint8_t> data)
{
    const std::size_t length = 2 + signature.size() + head.size() + data.size();
    out.insert(out.end(), {0xFF, marker, std::uint8_t(length >> 8), std::uint8_t(length)});
    out.insert(out.end(), signature.begin(), signature.end());
    out.insert(out.end(), head.begin(), head.end());
    out.insert(out.end(), data.begin(), data.end());
}
} // namespace

std::vector<std::uint8_t> JpegMetadataSegments(const PictureMetadata& metadata)
{
    std::vector<std::uint8_t> out;
    if (!metadata.exif.empty() && metadata.exif.size() <= kSegmentBytes - kExif.size())
        AppendSegment(out, 0xE1, kExif, {}, metadata.exif);
    const std::span<const std::uint8_t> icc = metadata.icc;
    const std::size_t chunks = (icc.size() + kIccChunkBytes - 1) / kIccChunkBytes;
    for (std::size_t i = 0; chunks <= 255 && i < chunks; ++i) {
        const std::uint8_t numbering[2] = {std::uint8_t(i + 1), std::uint8_t(chunks)};
        AppendSegment(out, 0xE2, kIcc, numbering,
                      icc.subspan(i * kIccChunkBytes, std::min(kIccChunkBytes, icc.size() - i * kIccChunkBytes)));
    }
    const auto* xmp = reinterpret_cast<const std::uint8_t*>(metadata.xmp.data());
    if (!metadata.xmp.empty() && metadata.xmp.size() <= kSegmentBytes - kXmp.size())
        AppendSegment(out, 0xE1, kXmp, {}, {xmp, metadata.xmp.size()});
    return out;
}

void InsertAfterApp0(std::vector<ByteRange>& pieces, std::span<const std::uint8_t> segments)
{
    if (segments.empty() || pieces.empty())
        return;
    const auto* file = static_cast<const std::uint8_t*>(pieces[0].data);
    const std::size_t size = pieces[0].size;
    std::size_t at = std::min<std::size_t>(size, 2);
    if (size >= 6 && file[2] == 0xFF && file[3] == 0xE0)
        at = std::min(size, 4 + (std::size_t(file[4]) << 8 | file[5]));
    pieces[0].size = at;
    pieces.insert(pieces.begin() + 1, {{segments.data(), segments.size()}, {file + at, size - at}});
}

void ReplaceJpegMetadata(std::vector<std::uint8_t>& file, const PictureMetadata& metadata)
{
    if (file.size() < 4 || file[0] != 0xFF || file[1] != 0xD8)
        return;
    const auto holds = [&file](std::size_t at, std::size_t length, std::string_view signature) {
        return length - 2 >= signature.size() &&
               std::equal(signature.begin(), signature.end(), file.begin() + std::ptrdiff_t(at + 4));
    };
    std::vector<std::uint8_t> kept(file.begin(), file.begin() + 2);
    std::size_t segmentsAt = 2;
    std::size_t at = 2;
    // The segments before the frame: APPn, COM, tables, restart interval. The frame, a scan
    // or anything unexpected ends the walk.
    const auto beforeFrame = [](std::uint8_t marker) {
        return (marker >= 0xDB && marker != 0xDA) || marker == 0xC4 || marker == 0xCC;
    };
    while (at + 4 <= file.size() && file[at] == 0xFF && beforeFrame(file[at + 1])) {
        const std::uint8_t marker = file[at + 1];
        const std::size_t length = std::size_t(file[at + 2]) << 8 | file[at + 3];
        if (length < 2 || at + 2 + length > file.size())
            break;
        const bool metadataSegment = (marker == 0xE1 && (holds(at, length, kExif) || holds(at, length, kXmp))) ||
                                     (marker == 0xE2 && holds(at, length, kIcc));
        if (!metadataSegment)
            kept.insert(kept.end(), file.begin() + std::ptrdiff_t(at), file.begin() + std::ptrdiff_t(at + 2 + length));
        if (marker == 0xE0 && at == 2)
            segmentsAt = kept.size();
        at += 2 + length;
    }
    const std::vector<std::uint8_t> segments = JpegMetadataSegments(metadata);
    kept.insert(kept.begin() + std::ptrdiff_t(segmentsAt), segments.begin(), segments.end());
    kept.insert(kept.end(), file.begin() + std::ptrdiff_t(at), file.end());
    file = std::move(kept);
}
