#include "core/surfaces/PixelMemory.h"

#include <cstdint>
#include <cstdlib>
#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace {
constexpr std::size_t kLargePage = std::size_t(2) << 20;
} // namespace

void* AllocatePixelMemory(std::size_t bytes)
{
    if (bytes < kLargePixelBlock)
        return std::malloc(bytes);
    void* memory = nullptr;
    if (posix_memalign(&memory, kLargePage, bytes) != 0)
        return nullptr;
#if defined(MADV_HUGEPAGE)
    madvise(memory, bytes, MADV_HUGEPAGE);
#endif
    return memory;
}

void FreePixelMemory(void* memory)
{
    std::free(memory);
}

void MapPixelMemory(void* memory, std::size_t bytes)
{
#if defined(MADV_POPULATE_WRITE)
    if (bytes < kLargePixelBlock)
        return;
    // The system takes whole pages from a page boundary; only the block's own are asked for.
    constexpr std::uintptr_t kPage = 4096;
    const auto start = (reinterpret_cast<std::uintptr_t>(memory) + kPage - 1) & ~(kPage - 1);
    const auto end = (reinterpret_cast<std::uintptr_t>(memory) + bytes) & ~(kPage - 1);
    if (end > start)
        madvise(reinterpret_cast<void*>(start), end - start, MADV_POPULATE_WRITE);
#else
    (void)memory;
    (void)bytes;
#endif
}
