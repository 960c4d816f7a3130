#include "codec/ReadAt.h"

#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

ByteSource FileSource(int fd)
{
    struct stat info {};
    const std::uint64_t size = ::fstat(fd, &info) == 0 ? std::uint64_t(info.st_size) : 0;
    return {[fd, size](std::uint64_t offset, std::uint8_t* out, std::size_t n) {
                return offset <= size && n <= size - offset
                       && ::pread(fd, out, n, off_t(offset)) == ssize_t(n);
            },
            size};
}

ByteSource MemorySource(const std::uint8_t* data, std::size_t size)
{
    return {[data, size](std::uint64_t offset, std::uint8_t* out, std::size_t n) {
                if (offset > size || n > size - offset)
                    return false;
                if (n != 0)   // `out` may be null then
                    std::memcpy(out, data + offset, n);
                return true;
            },
            size};
}
