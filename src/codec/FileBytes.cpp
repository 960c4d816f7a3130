// Saving through the program's one safe way of writing files.
#include "codec/CodecInternal.h"
#include "files/SafeFile.h"

std::int16_t WriteFileWith(const char* path, std::span<const ByteRange> pieces, Existing existing)
{
    const Result<void> written = WriteFileSafely(path, pieces, existing);
    return written ? kCodecOk : CodecFailure(written.failure());
}
