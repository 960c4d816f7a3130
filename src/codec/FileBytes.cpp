// Saving through the program's one safe way of writing files.
#include "codec/CodecInternal.h"
#include "platform/SafeFile.h"

#include <string>

std::int16_t ReplaceFileWith(const char* path, const void* data, std::size_t size)
{
    const std::string reason = WriteFileSafely(path, data, size);
    return reason.empty() ? kCodecOk : CodecFailure(reason);
}
