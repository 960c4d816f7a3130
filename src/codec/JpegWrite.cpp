// JPEG encoding of a surface rectangle through the TurboJPEG API.
#include "base/Failure.h"
#include "codec/CodecInternal.h"
#include "codec/JpegMetadata.h"
#include "codec/JpegStrips.h"

#include <algorithm>
#include <atomic>
#include <limits>
#include <memory>
#include <new>
#include <optional>
#include <system_error>
#include <thread>
#include <turbojpeg.h>

namespace {

struct EncoderCloser {
    void operator()(void* handle) const { tjDestroy(handle); }
};
struct BufferFree {
    void operator()(unsigned char* buffer) const { tjFree(buffer); }
};

// A file encoded from some rows of the rectangle, in a buffer from tjAlloc.
struct EncodedRows {
    std::unique_ptr<unsigned char, BufferFree> bytes;
    unsigned long size = 0;
    std::optional<Failure> failure;
};

EncodedRows EncodeRows(const std::uint8_t* top, int width, int stride, int rows, int quality,
                       bool progressive)
{
    EncodedRows out;
    // A fresh encoder for each file: one that has made a progressive file keeps some of it.
    const std::unique_ptr<void, EncoderCloser> encoder(tjInitCompress());
    if (!encoder) {
        out.failure = {"cannot start the JPEG encoder", "JPEG の符号化を始められません"};
        return out;
    }
    // A baseline file never exceeds the size tjBufSize gives, so it is encoded into one buffer
    // of that size, touched only as far as the file goes. Left to itself the encoder starts
    // small and doubles its buffer, copying the file so far each time; a progressive file has
    // no such bound, so it is left to do that.
    int flags = progressive ? TJFLAG_PROGRESSIVE : 0;
    if (const unsigned long most = tjBufSize(width, rows, TJSAMP_420);
        !progressive && most <= unsigned(std::numeric_limits<int>::max())) {
        out.bytes.reset(tjAlloc(int(most)));
        if (!out.bytes) {
            out.failure = OutOfMemory();
            return out;
        }
        out.size = most;
        flags |= TJFLAG_NOREALLOC;
    }
    unsigned char* bytes = out.bytes.release();
    const int status = tjCompress2(encoder.get(), top, width, stride, rows, TJPF_BGRX, &bytes,
                                   &out.size, TJSAMP_420, quality, flags);
    out.bytes.reset(bytes);
    if (status != 0)
        out.failure = WithLibraryMessage({"cannot encode JPEG", "JPEG に符号化できません"},
                                         tjGetErrorStr2(encoder.get()));
    return out;
}

// Runs task(0) to task(count - 1) on as many threads as the machine has cores, or on this
// one alone when no other can be started.
template <typename Task>
void RunOnCores(int count, const Task& task)
{
    std::atomic<int> next{0};
    const auto work = [&] {
        for (int i = next++; i < count; i = next++)
            task(i);
    };
    const int threads = std::min(count, int(std::max(1u, std::thread::hardware_concurrency())));
    std::vector<std::thread> helpers;
    try {
        while (int(helpers.size()) + 1 < threads)
            helpers.emplace_back(work);
    } catch (const std::system_error&) {
    }
    work();
    for (std::thread& helper : helpers)
        helper.join();
}

// The strips' files, the metadata's segments and the pieces of the one file they make.
struct EncodedJpeg {
    std::vector<EncodedRows> strips;
    std::vector<std::uint8_t> metadata;
    JoinedJpeg file;
};

std::int16_t EncodePieces(HDC dc, std::int32_t width, std::int32_t height, std::uint8_t rate,
                          std::int32_t progressive, EncodedJpeg& jpeg)
{
    if (CheckSourceRect(dc, width, height) != kCodecOk)
        return kCodecFailed;
    if (rate < 1 || rate > 100)
        return CodecFailure({"the JPEG rate must be 1 to 100", "JPEG の圧縮率は 1 から 100 までです"});
    // A progressive file holds several scans over the whole picture, so it is never cut.
    const JpegStrips plan = progressive != 0 ? JpegStrips{height, 1, 0} : PlanJpegStrips(width, height);
    try {
        jpeg.strips.resize(std::size_t(plan.count));
        RunOnCores(plan.count, [&](int i) {
            EncodedRows& strip = jpeg.strips[std::size_t(i)];
            const int top = i * plan.rows;
            try {
                strip = EncodeRows(dc->bits + std::ptrdiff_t(top) * dc->stride, width, dc->stride,
                                   std::min(plan.rows, height - top), 101 - rate, progressive != 0);
            } catch (const std::bad_alloc&) {
                strip.failure = OutOfMemory();
            }
        });
        for (const EncodedRows& strip : jpeg.strips)
            if (strip.failure)
                return CodecFailure(*strip.failure);
        if (plan.count > 1) {
            std::vector<std::span<std::uint8_t>> files;
            for (const EncodedRows& strip : jpeg.strips)
                files.emplace_back(strip.bytes.get(), strip.size);
            jpeg.file = JoinJpegStrips(files, height, plan);
            if (!jpeg.file.pieces.empty())
                return kCodecOk;
            // Strips that cannot be joined (TurboJPEG takes options from the environment too):
            // the picture is encoded whole after all.
            jpeg.strips.clear();
            jpeg.strips.push_back(EncodeRows(dc->bits, width, dc->stride, height, 101 - rate, false));
            if (jpeg.strips[0].failure)
                return CodecFailure(*jpeg.strips[0].failure);
        }
        jpeg.file.pieces = {{jpeg.strips[0].bytes.get(), jpeg.strips[0].size}};
    } catch (const std::bad_alloc&) {
        return CodecFailure(OutOfMemory());
    }
    return kCodecOk;
}

std::int16_t Encode(HDC dc, std::int32_t width, std::int32_t height, std::uint8_t rate,
                    std::int32_t progressive, const PictureMetadata& metadata, EncodedJpeg& jpeg)
{
    if (EncodePieces(dc, width, height, rate, progressive, jpeg) != kCodecOk)
        return kCodecFailed;
    try {
        jpeg.metadata = JpegMetadataSegments(metadata);
        InsertAfterApp0(jpeg.file.pieces, jpeg.metadata);
    } catch (const std::bad_alloc&) {
        return CodecFailure(OutOfMemory());
    }
    return kCodecOk;
}

} // namespace

std::int16_t EncodeJpegBytes(HDC dc, std::int32_t width, std::int32_t height, std::uint8_t rate,
                             std::int32_t progressive, std::vector<std::uint8_t>& out,
                             const PictureMetadata& metadata)
{
    ClearCodecFailure();
    out.clear();
    EncodedJpeg jpeg;
    if (Encode(dc, width, height, rate, progressive, metadata, jpeg) != kCodecOk)
        return kCodecFailed;
    try {
        for (const ByteRange& piece : jpeg.file.pieces) {
            const auto* bytes = static_cast<const std::uint8_t*>(piece.data);
            out.insert(out.end(), bytes, bytes + piece.size);
        }
    } catch (const std::bad_alloc&) {
        return CodecFailure(OutOfMemory());
    }
    return kCodecOk;
}

std::int16_t SaveJpegFile(HDC dc, std::int32_t width, std::int32_t height, const char* path,
                          std::uint8_t rate, std::int32_t progressive,
                          const PictureMetadata& metadata, Existing existing)
{
    ClearCodecFailure();
    if (path == nullptr || *path == '\0')
        return CodecFailure(NoFileName());
    EncodedJpeg jpeg;
    if (Encode(dc, width, height, rate, progressive, metadata, jpeg) != kCodecOk)
        return kCodecFailed;
    return WriteFileWith(path, jpeg.file.pieces, existing);
}

std::int16_t DCSavetoJPEG(HDC dc, std::int32_t width, std::int32_t height, const char* path,
                          std::uint8_t rate, std::int32_t progressive)
{
    return SaveJpegFile(dc, width, height, path, rate, progressive, {}, Existing::Replace);
}
