// JPEG encoding of a surface rectangle through the TurboJPEG API.
#include "codec/CodecInternal.h"

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

} // namespace

std::int16_t EncodeJpegBytes(HDC dc, std::int32_t width, std::int32_t height, std::uint8_t rate,
                             std::int32_t progressive, std::vector<std::uint8_t>& out)
{
    ClearCodecError();
    out.clear();
    if (CheckSourceRect(dc, width, height) != kCodecOk)
        return kCodecFailed;
    if (rate < 1 || rate > 100)
        return CodecFailure("the JPEG rate must be 1 to 100");

    const std::unique_ptr<void, EncoderCloser> encoder(tjInitCompress());
    if (!encoder)
        return CodecFailure("cannot start the JPEG encoder");
    unsigned char* jpeg = nullptr;
    unsigned long size = 0;
    const int flags = progressive != 0 ? TJFLAG_PROGRESSIVE : 0;
    const int status = tjCompress2(encoder.get(), dc->bits, width, dc->stride, height, TJPF_BGRX,
                                   &jpeg, &size, TJSAMP_420, 101 - rate, flags);
    const std::unique_ptr<unsigned char, BufferFree> owned(jpeg);
    if (status != 0)
        return CodecFailure(std::string("cannot encode JPEG: ") + tjGetErrorStr2(encoder.get()));
    try {
        out.assign(jpeg, jpeg + size);
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
    std::vector<std::uint8_t> bytes;
    if (EncodeJpegBytes(dc, width, height, rate, progressive, bytes) != kCodecOk)
        return kCodecFailed;
    return ReplaceFileWith(path, bytes);
}
