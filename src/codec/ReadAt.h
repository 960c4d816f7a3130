#pragma once
// Bytes of a file or a buffer read where a walk over its structure needs them, so that only
// the parts looked at are read: a file is never held whole in memory.
#include <cstddef>
#include <cstdint>
#include <functional>

// Reads the `n` bytes at `offset` into `out`; false when they do not all lie in the source.
using ReadAt = std::function<bool(std::uint64_t offset, std::uint8_t* out, std::size_t n)>;

struct ByteSource {
    ReadAt readAt;
    std::uint64_t size = 0;
};

// The file open as `fd` (of size 0 when its size cannot be told), or the `size` bytes at `data`.
ByteSource FileSource(int fd);
ByteSource MemorySource(const std::uint8_t* data, std::size_t size);
