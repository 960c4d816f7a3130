#include "platform/PixelMemory.h"

#include <cstdlib>
#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace {
// Large pages are 2 MiB; below a few of them the ordinary allocation is as good.
constexpr std::size_t kLargePage = std::size_t(2) << 20;
constexpr std::size_t kLargeBlock = 4 * kLargePage;
} // namespace

void* AllocatePixelMemory(std::size_t bytes)
{
    if (bytes < kLargeBlock)
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
