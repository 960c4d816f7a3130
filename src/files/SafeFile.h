#pragma once
// The one way the program saves a file (the settings file, BMP, JPEG and PNG pictures), so
// that a file is never left half-written. Plain C++ and POSIX, no Qt: the picture codec
// uses it too.
#include "base/Result.h"

#include <cstddef>
#include <span>

// Bytes of a file being saved, which need not lie in one block of memory.
struct ByteRange {
    const void* data;
    std::size_t size;
};

// Gives the file `path` (bytes in the file system's encoding) the `size` bytes at `data` as
// its contents, creating it when it is missing:
// - a symbolic link is followed to the file it finally names, and that file gets the new
//   contents, so the links stay links;
// - the bytes go into a new file beside that target, are checked written in full and synced
//   to the disk, and only then is the new file renamed onto the target, with the target's
//   permissions (and its owner and group where the system allows);
// - an existing target that the process may not write (a read-only file), a folder, or
//   anything else that is not a plain file is refused before anything is written;
// - on any failure the target stays as it was and the new file is removed, also when a stop
//   signal ends the process in the middle of the save (InFlightFiles.h).
// A failure says what failed, the file or folder concerned and the system's reason, such as
// "cannot write /home/a/b.png: No space left on device" (FileFailure, base/Failure.h).
Result<void> WriteFileSafely(const char* path, const void* data, std::size_t size);
// The same with the file's bytes in `pieces`, one after another.
Result<void> WriteFileSafely(const char* path, std::span<const ByteRange> pieces);
