#pragma once
// The one way the program saves a file (the settings file, BMP, JPEG and PNG pictures), so
// that a file is never left half-written. Plain C++ and POSIX, no Qt: the picture codec
// uses it too.
#include "base/Result.h"

#include <cstddef>
#include <functional>
#include <span>

// Bytes of a file being saved, which need not lie in one block of memory.
struct ByteRange {
    const void* data;
    std::size_t size;
};

// What a save does when a file of the target's name exists, or comes to exist while the new
// one is written (another process saving the same name).
enum class Existing {
    Replace,  // the new file takes its place
    Keep,     // the save fails and the existing file stays; nothing is ever replaced
};

// Gives the file `path` (bytes in the file system's encoding) the `size` bytes at `data` as
// its contents, creating it when it is missing:
// - a symbolic link is followed to the file it finally names, and that file gets the new
//   contents, so the links stay links;
// - the bytes go into a new file beside that target, which has no name while it is written
//   (where the file system allows, else a hidden one, .layerpix-HOST-PID-N.tmp), are
//   checked written in full and synced to the disk, and only then does the new file take the
//   target's name, with the target's permissions (and its owner and group where the system
//   allows); with Existing::Keep it takes the name only while no file has it, atomically;
// - an existing target that the process may not write (a read-only file), a folder, or
//   anything else that is not a plain file is refused before anything is written;
// - on any failure the target stays as it was and the new file is removed, also when a stop
//   signal ends the process in the middle of the save (InFlightFiles.h); a hidden new file
//   that a killed process left behind is removed by the first save of a later process into
//   the same folder.
// A failure says what failed, the file or folder concerned and the system's reason, such as
// "cannot write /home/a/b.png: No space left on device" (FileFailure, base/Failure.h).
Result<void> WriteFileSafely(const char* path, const void* data, std::size_t size,
                             Existing existing = Existing::Replace);
// The same with the file's bytes in `pieces`, one after another.
Result<void> WriteFileSafely(const char* path, std::span<const ByteRange> pieces,
                             Existing existing = Existing::Replace);

// Takes the next bytes of a file being saved; false once a write has failed, after which
// the rest is not written.
using WriteBytes = std::function<bool(const void* data, std::size_t size)>;
// The same with the bytes that `produce` hands, in order, to the function it is given, so
// that a file larger than memory can be saved as it is made. The failure of a write comes
// first, then that of `produce`; either leaves the target as it was.
Result<void> WriteFileSafely(const char* path, const std::function<Result<void>(const WriteBytes&)>& produce,
                             Existing existing = Existing::Replace);
