// Whole-file reading, and saving through the program's one safe way of writing files.
#include "codec/CodecInternal.h"
#include "platform/SafeFile.h"

#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

std::int16_t ReadFileBytes(const char* path, std::vector<std::uint8_t>& out)
{
    out.clear();
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return CodecSystemFailure("cannot open file", errno);
    struct stat info {};
    if (::fstat(fd, &info) == 0 && info.st_size > 0)
        out.reserve(static_cast<std::size_t>(info.st_size));
    std::uint8_t chunk[65536];
    for (;;) {
        const ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            const int err = errno;
            ::close(fd);
            return CodecSystemFailure("cannot read file", err);
        }
        if (got == 0)
            break;
        out.insert(out.end(), chunk, chunk + got);
    }
    ::close(fd);
    return kCodecOk;
}

std::int16_t ReplaceFileWith(const char* path, const std::vector<std::uint8_t>& bytes)
{
    const std::string reason = WriteFileSafely(path, bytes.data(), bytes.size());
    return reason.empty() ? kCodecOk : CodecFailure(reason);
}
