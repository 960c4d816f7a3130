// Saving through the program's one safe way of writing files.
#include "codec/CodecInternal.h"
#include "files/SafeFile.h"

std::int16_t ReplaceFileWith(const char* path, std::span<const ByteRange> pieces)
{
    const Result<void> written = WriteFileSafely(path, pieces);
    return written ? kCodecOk : CodecFailure(written.failure());
}
