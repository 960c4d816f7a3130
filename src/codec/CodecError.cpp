#include "codec/CodecInternal.h"

#include <cstring>
#include <string>

namespace {
thread_local std::string lastError;
}

const char* CodecLastError()
{
    return lastError.c_str();
}

void ClearCodecError()
{
    lastError.clear();
}

std::int16_t CodecFailure(const std::string& reason)
{
    lastError = reason;
    return kCodecFailed;
}

std::int16_t CodecSystemFailure(const char* what, int err)
{
    return CodecFailure(std::string(what) + ": " + std::strerror(err));
}

std::int16_t CheckSourceRect(HDC dc, std::int32_t width, std::int32_t height)
{
    if (dc == nullptr || dc->bits == nullptr)
        return CodecFailure("no surface to read from");
    if (width <= 0 || height <= 0)
        return CodecFailure("the picture is empty");
    if (width > dc->width || height > dc->height)
        return CodecFailure("the picture is larger than its surface");
    if (dc->stride < std::int64_t{width} * 4)
        return CodecFailure("the surface's rows are too short");
    return kCodecOk;
}
