// JPEG encoding of a surface rectangle through the TurboJPEG API.
#include "codec/CodecInternal.h"

#include <limits>
#include <memory>
#include <new>
#include <turbojpeg.h>

namespace {

struct EncoderCloser {
    void operator()(void* handle) const { tjDestroy(handle); }
};
struct BufferFree {
    void operator()(unsigned char* buffer) const { tjFree(buffer); }
};
using JpegBuffer = std::unique_ptr<unsigned char, BufferFree>;

// Encodes into a buffer from tjAlloc, which `jpeg` then holds; `size` is the file's length.
std::int16_t Encode(HDC dc, std::int32_t width, std::int32_t height, std::uint8_t rate,
                    std::int32_t progressive, JpegBuffer& jpeg, unsigned long& size)
{
    if (CheckSourceRect(dc, width, height) != kCodecOk)
        return kCodecFailed;
    if (rate < 1 || rate > 100)
        return CodecFailure("the JPEG rate must be 1 to 100");

    const std::unique_ptr<void, EncoderCloser> encoder(tjInitCompress());
    if (!encoder)
        return CodecFailure("cannot start the JPEG encoder");
    // A baseline file never exceeds the size tjBufSize gives, so it is encoded into one buffer
    // of that size, touched only as far as the file goes. Left to itself the encoder starts
    // small and doubles its buffer, copying the file so far each time; a progressive file has
    // no such bound, so it is left to do that.
    int flags = progressive != 0 ? TJFLAG_PROGRESSIVE : 0;
    size = 0;
    if (const unsigned long most = tjBufSize(width, height, TJSAMP_420);
        progressive == 0 && most <= unsigned(std::numeric_limits<int>::max())) {
        jpeg.reset(tjAlloc(int(most)));
        if (!jpeg)
            return CodecFailure("out of memory");
        size = most;
        flags |= TJFLAG_NOREALLOC;
    }
    unsigned char* bytes = jpeg.release();
    const int status = tjCompress2(encoder.get(), dc->bits, width, dc->stride, height, TJPF_BGRX,
                                   &bytes, &size, TJSAMP_420, 101 - rate, flags);
    jpeg.reset(bytes);
    if (status != 0)
        return CodecFailure(std::string("cannot encode JPEG: ") + tjGetErrorStr2(encoder.get()));
    return kCodecOk;
}

} // namespace

std::int16_t EncodeJpegBytes(HDC dc, std::int32_t width, std::int32_t height, std::uint8_t rate,
                             std::int32_t progressive, std::vector<std::uint8_t>& out)
{
    ClearCodecError();
    out.clear();
    JpegBuffer jpeg;
    unsigned long size = 0;
    if (Encode(dc, width, height, rate, progressive, jpeg, size) != kCodecOk)
        return kCodecFailed;
    try {
        out.assign(jpeg.get(), jpeg.get() + size);
    } catch (const std::bad_alloc&) {
        return CodecFailure("out of memory");
    }
    return kCodecOk;
}

std::int16_t DCSavetoJPEG(HDC dc, std::int32_t width, std::int32_t height, const char* path,
                          std::uint8_t rate, std::int32_t progressive)
{
    ClearCodecError();
    if (path == nullptr || *path == '\0')
        return CodecFailure("no file name");
    JpegBuffer jpeg;
    unsigned long size = 0;
    if (Encode(dc, width, height, rate, progressive, jpeg, size) != kCodecOk)
        return kCodecFailed;
    return ReplaceFileWith(path, jpeg.get(), size);
}
