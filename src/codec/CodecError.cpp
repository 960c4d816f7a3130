#include "codec/CodecInternal.h"

#include <string>
#include <utility>

namespace {
thread_local Failure lastFailure;
}

const Failure& CodecLastFailure()
{
    return lastFailure;
}

void ClearCodecFailure()
{
    lastFailure = {};
}

std::int16_t CodecFailure(Failure failure)
{
    lastFailure = std::move(failure);
    return kCodecFailed;
}

std::int16_t CheckSourceRect(HDC dc, std::int32_t width, std::int32_t height)
{
    if (dc == nullptr || dc->bits == nullptr)
        return CodecFailure({"no surface to read from", "読み取る描画面がありません"});
    if (width <= 0 || height <= 0)
        return CodecFailure({"the picture is empty", "画像が空です"});
    if (width > dc->width || height > dc->height)
        return CodecFailure({"the picture is larger than its surface", "画像が描画面より大きくなっています"});
    if (dc->stride < std::int64_t{width} * 4)
        return CodecFailure(ShortSurfaceRows());
    return kCodecOk;
}

Failure ShortSurfaceRows()
{
    return {"the surface's rows are too short", "描画面の行が短すぎます"};
}

Failure WithLibraryMessage(const Failure& what, const char* message)
{
    const std::string told = std::string(": ") + message;
    return {what.english + told, what.japanese + told};
}
