// A JPEG file is whole when its markers lead to EOI. Its scans must hold at least one bit
// for each 8 x 8 block of the picture its frame header states: Huffman coding gives every
// block a code of at least one bit for its DC coefficient, so a file with less could only be
// decoded by inventing the rest, which takes as long as decoding a real picture.
#include "base/Failure.h"
#include "core/sources/PictureChecks.h"

#include <optional>
#include <string>

namespace {
const Failure kEndsEarly{"the file ends before its EOI marker", "ファイルが EOI マーカーの前で終わっています"};

struct Frame {
    std::int64_t width = 0, height = 0;
    std::int64_t blocks = 0; // 8 x 8 blocks of all components together
    bool arithmetic = false;
};

bool IsFrameMarker(int marker)
{
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

std::optional<Frame> ReadFrame(const std::uint8_t* segment, int length, int marker)
{
    if (length < 6 || length < 6 + 3 * segment[5])
        return std::nullopt;
    Frame frame;
    frame.height = BigEndian16(segment + 1);
    frame.width = BigEndian16(segment + 3);
    frame.arithmetic = marker >= 0xC9;
    const int components = segment[5];
    int maxH = 1, maxV = 1;
    for (int c = 0; c < components; ++c) {
        maxH = std::max(maxH, segment[6 + 3 * c + 1] >> 4);
        maxV = std::max(maxV, segment[6 + 3 * c + 1] & 15);
    }
    for (int c = 0; c < components; ++c) {
        const int h = std::max(1, segment[6 + 3 * c + 1] >> 4), v = std::max(1, segment[6 + 3 * c + 1] & 15);
        const std::int64_t width = (frame.width * h + maxH - 1) / maxH, height = (frame.height * v + maxV - 1) / maxV;
        frame.blocks += (width + 7) / 8 * ((height + 7) / 8);
    }
    return frame;
}

// Reads entropy-coded data up to the next marker, which it returns (-1 at the end of the
// file), adding the data's length to `bytes`.
int SkipEntropyData(ByteStream& stream, std::int64_t& bytes)
{
    for (;;) {
        if (!stream.SkipTo(0xFF, bytes))
            return -1;
        stream.Next();   // the 0xFF found
        int byte = 0;
        do
            byte = stream.Next();
        while (byte == 0xFF);
        if (byte < 0)
            return -1;
        if (byte == 0 || (byte >= 0xD0 && byte <= 0xD7)) { // a stuffed 0xFF, a restart marker
            bytes += 2;
            continue;
        }
        return byte;
    }
}
} // namespace

Result<void> CheckJpeg(ByteStream& stream)
{
    if (!stream.Skip(2))
        return kEndsEarly;
    std::optional<Frame> frame;
    std::int64_t entropyBytes = 0;
    int scans = 0;
    int marker = -1;
    std::uint8_t segment[2 + 6 + 3 * 255];
    for (;;) {
        if (marker < 0) {
            // Stray bytes before a marker are skipped, as the decoder does.
            int byte = stream.Next();
            while (byte >= 0 && byte != 0xFF)
                byte = stream.Next();
            do
                byte = stream.Next();
            while (byte == 0xFF);
            marker = byte;
            if (marker < 0)
                return kEndsEarly;
        }
        if (marker == 0xD9)
            break;
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
            marker = -1;
            continue;
        }
        if (!stream.Read(segment, 2) || BigEndian16(segment) < 2)
            return kEndsEarly;
        const int length = BigEndian16(segment) - 2;
        if (IsFrameMarker(marker) && !frame) {
            const int kept = std::min<int>(length, sizeof segment - 2);
            if (!stream.Read(segment + 2, kept) || !stream.Skip(length - kept))
                return kEndsEarly;
            frame = ReadFrame(segment + 2, kept, marker);
            if (!frame)
                return Failure{"the frame header is cut short", "フレームヘッダーが途中で切れています"};
            if (Result<void> size = CheckStatedSize(frame->width, frame->height); !size)
                return size;
        } else if (!stream.Skip(length)) {
            return kEndsEarly;
        }
        if (marker != 0xDA) {
            marker = -1;
            continue;
        }
        if (++scans > kMaxJpegScans)
            return Failure{"the file holds more than " + std::to_string(kMaxJpegScans) + " scans",
                           "ファイルに " + std::to_string(kMaxJpegScans) + " を超えるスキャンがあります"};
        marker = SkipEntropyData(stream, entropyBytes);
        if (marker < 0)
            return kEndsEarly;
    }
    if (!frame || scans == 0)
        return Failure{"the file holds no picture", "ファイルに画像がありません"};
    if (!frame->arithmetic && entropyBytes * 8 < frame->blocks)
        return TooShortForSize(frame->width, frame->height);
    return {};
}
