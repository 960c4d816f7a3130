// Saving through the program's one safe way of writing files.
#include "codec/CodecInternal.h"
#include "files/SafeFile.h"

#include <string>

std::int16_t ReplaceFileWith(const char* path, std::span<const ByteRange> pieces)
{
    const std::string reason = WriteFileSafely(path, pieces);
    return reason.empty() ? kCodecOk : CodecFailure(reason);
}
