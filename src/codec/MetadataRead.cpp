// Reads a photo's metadata with hard caps: a length is checked against its cap and against
// the bytes the file holds before anything of that length is allocated or read, and a
// compressed profile or XMP is inflated only up to its cap.
#include "codec/Metadata.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <new>
#include <string_view>
#include <zlib.h>

namespace {
using Bytes = std::vector<std::uint8_t>;

constexpr std::uint8_t kPngSignature[8] = {137, 80, 78, 71, 13, 10, 26, 10};
constexpr std::string_view kExifSignature{"Exif\0\0", 6};
constexpr std::string_view kIccSignature{"ICC_PROFILE\0", 12};
constexpr std::string_view kXmpSignature{"http://ns.adobe.com/xap/1.0/\0", 29};
constexpr std::string_view kXmpKeyword{"XML:com.adobe.xmp\0", 18};
// A JPEG file's metadata stands in its first segments; a file with more before its first
// scan is not read further.
constexpr int kMostJpegSegments = 1024;

std::uint32_t BigEndian(const std::uint8_t* at, int bytes)
{
    std::uint32_t value = 0;
    for (int i = 0; i < bytes; ++i)
        value = value << 8 | at[i];
    return value;
}

bool StartsWith(const Bytes& bytes, std::string_view prefix)
{
    return bytes.size() >= prefix.size() && std::memcmp(bytes.data(), prefix.data(), prefix.size()) == 0;
}

// The `count` bytes at `at`, when the source holds them and `count` is within `cap`.
std::optional<Bytes> ReadCapped(const ByteSource& source, std::uint64_t at, std::uint64_t count,
                                std::size_t cap)
{
    if (count > cap || at > source.size || count > source.size - at)
        return std::nullopt;
    Bytes bytes(count);
    if (!source.readAt(at, bytes.data(), bytes.size()))
        return std::nullopt;
    return bytes;
}

// The zlib stream of `compressed` inflated, when it ends within `cap` bytes.
std::optional<Bytes> Inflate(std::span<const std::uint8_t> compressed, std::size_t cap)
{
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK)
        return std::nullopt;
    Bytes out(std::min<std::size_t>(cap + 1, 65536));
    stream.next_in = const_cast<Bytef*>(compressed.data());
    stream.avail_in = uInt(compressed.size());
    int status = Z_OK;
    while (status == Z_OK) {
        if (stream.total_out == out.size()) {
            if (out.size() > cap)
                break;
            out.resize(std::min(out.size() * 2, cap + 1));
        }
        stream.next_out = out.data() + stream.total_out;
        stream.avail_out = uInt(out.size() - stream.total_out);
        status = inflate(&stream, Z_NO_FLUSH);
    }
    inflateEnd(&stream);
    if (status != Z_STREAM_END)
        return std::nullopt;
    out.resize(stream.total_out);
    return out;
}

// A profile the composite can carry: whole, as its header states, of RGB colours.
bool RgbProfile(const Bytes& icc)
{
    return icc.size() >= 132 && BigEndian(icc.data(), 4) == icc.size()
           && std::memcmp(icc.data() + 16, "RGB ", 4) == 0 && std::memcmp(icc.data() + 36, "acsp", 4) == 0;
}

// A PNG keyword libpng writes as it stands: 1 to 79 printable Latin-1 characters.
bool PngKeyword(std::string_view name)
{
    return !name.empty() && name.size() < 80 && std::all_of(name.begin(), name.end(), [](char c) {
        const auto byte = std::uint8_t(c);
        return (byte >= 32 && byte <= 126) || byte >= 161;
    });
}

// The JPEG's APP2 ICC_PROFILE chunks, each numbered 1 to their count, kept until all are there.
class IccChunks {
public:
    void Add(const Bytes& segment)
    {
        const std::size_t head = kIccSignature.size() + 2;
        if (segment.size() < head)
            return;
        const int number = segment[head - 2], count = segment[head - 1];
        broken_ = broken_ || number < 1 || number > count || (count_ != 0 && count != count_)
                  || chunks_.count(number) != 0;
        count_ = count;
        bytes_ += segment.size() - head;
        if (!broken_ && bytes_ <= kMaxIccBytes)
            chunks_[number].assign(segment.begin() + std::ptrdiff_t(head), segment.end());
    }
    Bytes Profile() const
    {
        Bytes profile;
        if (broken_ || count_ == 0 || int(chunks_.size()) != count_ || bytes_ > kMaxIccBytes)
            return profile;
        for (const auto& [number, chunk] : chunks_)
            profile.insert(profile.end(), chunk.begin(), chunk.end());
        return profile;
    }

private:
    std::map<int, Bytes> chunks_;
    int count_ = 0;
    std::size_t bytes_ = 0;
    bool broken_ = false;
};

PictureMetadata ReadJpeg(const ByteSource& source, Bytes& exif)
{
    PictureMetadata metadata;
    IccChunks icc;
    std::uint64_t at = 2;
    for (int segments = 0; segments < kMostJpegSegments; ++segments) {
        std::uint8_t head[4];
        if (!source.readAt(at, head, sizeof head) || head[0] != 0xFF)
            break;
        if (head[1] == 0xFF) {   // a fill byte
            ++at;
            continue;
        }
        if (head[1] == 0xDA || head[1] == 0xD9 || head[1] == 0x01 || (head[1] >= 0xD0 && head[1] <= 0xD8))
            break;   // the first scan, the end, or a marker without a segment
        const std::uint32_t length = BigEndian(head + 2, 2);
        if (length < 2)
            break;
        if (head[1] == 0xE1 || head[1] == 0xE2) {
            const std::optional<Bytes> segment = ReadCapped(source, at + 4, length - 2, 65533);
            if (!segment)
                break;
            if (head[1] == 0xE2 && StartsWith(*segment, kIccSignature))
                icc.Add(*segment);
            else if (exif.empty() && StartsWith(*segment, kExifSignature))
                exif.assign(segment->begin() + kExifSignature.size(), segment->end());
            else if (metadata.xmp.empty() && StartsWith(*segment, kXmpSignature))
                metadata.xmp.assign(segment->begin() + kXmpSignature.size(), segment->end());
        }
        at += 2 + length;
    }
    metadata.icc = icc.Profile();
    return metadata;
}

// iCCP: name, NUL, compression method 0, the deflated profile.
void TakeIccp(const Bytes& data, PictureMetadata& metadata)
{
    const auto nul = std::find(data.begin(), data.end(), 0);
    if (data.end() - nul < 2 || nul[1] != 0)
        return;
    if (std::optional<Bytes> profile = Inflate({&*nul + 2, std::size_t(data.end() - nul - 2)}, kMaxIccBytes)) {
        metadata.icc = std::move(*profile);
        metadata.iccName.assign(data.begin(), nul);
    }
}

// iTXt: keyword, NUL, compression flag and method, language tag, NUL, translated keyword, NUL,
// the text, deflated when the flag is 1.
void TakeXmp(const Bytes& data, PictureMetadata& metadata)
{
    if (!StartsWith(data, kXmpKeyword) || data.size() < kXmpKeyword.size() + 2)
        return;
    const auto flags = data.begin() + std::ptrdiff_t(kXmpKeyword.size());
    const auto language = std::find(flags + 2, data.end(), 0);
    const auto text = language == data.end() ? data.end() : std::find(language + 1, data.end(), 0);
    if (text == data.end() || flags[0] > 1)
        return;
    const std::span<const std::uint8_t> stored{&*text + 1, std::size_t(data.end() - text - 1)};
    if (flags[0] == 0 && stored.size() <= kMaxXmpBytes)
        metadata.xmp.assign(stored.begin(), stored.end());
    else if (std::optional<Bytes> inflated = flags[0] == 1 ? Inflate(stored, kMaxXmpBytes) : std::nullopt)
        metadata.xmp.assign(inflated->begin(), inflated->end());
}

// The chunks' heads, read a block at a time: a file of a million tiny chunks costs a read a
// block, not one a chunk, and one of large chunks a read a chunk as before.
class ChunkHeads {
public:
    explicit ChunkHeads(const ByteSource& source) : source_(source) {}

    bool Read(std::uint64_t at, std::uint8_t (&head)[8])
    {
        if (at < start_ || at - start_ + sizeof head > block_.size()) {
            block_.resize(std::min<std::uint64_t>(kBlockBytes, source_.size - std::min(at, source_.size)));
            start_ = at;
            if (block_.size() < sizeof head || !source_.readAt(at, block_.data(), block_.size())) {
                block_.clear();
                return false;
            }
        }
        std::memcpy(head, block_.data() + (at - start_), sizeof head);
        return true;
    }

private:
    static constexpr std::size_t kBlockBytes = 4096;
    const ByteSource& source_;
    Bytes block_;
    std::uint64_t start_ = 0;
};

PictureMetadata ReadPng(const ByteSource& source, Bytes& exif)
{
    PictureMetadata metadata;
    bool iccp = false;
    ChunkHeads heads(source);
    for (std::uint64_t at = sizeof kPngSignature; at + 8 <= source.size;) {
        std::uint8_t head[8];
        if (!heads.Read(at, head) || std::memcmp(head + 4, "IEND", 4) == 0)
            break;
        const std::uint64_t length = BigEndian(head, 4);
        const std::string_view type(reinterpret_cast<const char*>(head + 4), 4);
        const std::size_t cap = type == "eXIf" ? (exif.empty() ? kMaxExifBytes : 0)
                                : type == "iCCP" ? (iccp ? 0 : 2 * kMaxIccBytes)
                                : type == "iTXt" ? (metadata.xmp.empty() ? 2 * kMaxXmpBytes : 0)
                                                 : 0;
        // The chunk's type, data and CRC, kept only when the CRC is right.
        std::optional<Bytes> chunk = cap != 0 ? ReadCapped(source, at + 4, length + 8, cap + 8) : std::nullopt;
        if (chunk && BigEndian(chunk->data() + length + 4, 4) == crc32(0, chunk->data(), uInt(length + 4))) {
            const Bytes data(chunk->begin() + 4, chunk->end() - 4);
            if (type == "eXIf")
                exif = data;
            else if (type == "iCCP")
                iccp = true, TakeIccp(data, metadata);
            else
                TakeXmp(data, metadata);
        }
        at += 12 + length;
    }
    return metadata;
}
} // namespace

PictureMetadata ReadPictureMetadata(const ByteSource& source)
{
    try {
        std::uint8_t head[8];
        if (!source.readAt(0, head, sizeof head))
            return {};
        Bytes exif;
        PictureMetadata metadata = std::memcmp(head, kPngSignature, 8) == 0 ? ReadPng(source, exif)
                                   : head[0] == 0xFF && head[1] == 0xD8 && head[2] == 0xFF
                                       ? ReadJpeg(source, exif)
                                       : PictureMetadata{};
        if (exif.size() <= kMaxExifBytes)
            metadata.exif = UprightExif(exif).value_or(Bytes{});
        if (!RgbProfile(metadata.icc))
            metadata.icc.clear();
        if (metadata.icc.empty() || !PngKeyword(metadata.iccName))
            metadata.iccName.clear();
        metadata.xmp = UprightXmp(std::move(metadata.xmp));
        return metadata;
    } catch (const std::bad_alloc&) {
        return {};
    }
}
