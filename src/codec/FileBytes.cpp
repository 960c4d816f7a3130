// Saving through the program's one safe way of writing files.
#include "codec/CodecInternal.h"
#include "platform/SafeFile.h"

#include <string>

std::int16_t ReplaceFileWith(const char* path, const std::vector<std::uint8_t>& bytes)
{
    const std::string reason = WriteFileSafely(path, bytes.data(), bytes.size());
    return reason.empty() ? kCodecOk : CodecFailure(reason);
}
