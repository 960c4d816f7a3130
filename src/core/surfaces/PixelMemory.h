#pragma once
#include <cstddef>
#include <limits>
#include <new>

// From this size on (four large pages of 2 MiB) a block is camera-sized; below it the
// ordinary allocation is as good.
inline constexpr std::size_t kLargePixelBlock = std::size_t(8) << 20;

// Memory for `bytes` bytes of pixels, not initialised; nullptr when it cannot be had.
// A camera-sized block lies in memory that the system may map in large pages, so
// filling it for the first time costs a few page faults instead of one for every 4 KiB.
// Freed with FreePixelMemory.
void* AllocatePixelMemory(std::size_t bytes);
void FreePixelMemory(void* memory);

// Has the system map the pages of a camera-sized block now, without changing its content;
// does nothing for a smaller block or where the system cannot. Several threads may write
// the block meanwhile.
void MapPixelMemory(void* memory, std::size_t bytes);

// Gives a camera-sized array or buffer memory that maps in large pages, so filling a new
// one does not fault in every 4 KiB page.
template <typename T>
struct PixelAllocator {
    using value_type = T;
    PixelAllocator() = default;
    template <typename U>
    PixelAllocator(const PixelAllocator<U>&) {}
    T* allocate(std::size_t n)
    {
        if (n > std::numeric_limits<std::size_t>::max() / sizeof(T))
            throw std::bad_array_new_length();
        void* memory = AllocatePixelMemory(n * sizeof(T));
        if (memory == nullptr)
            throw std::bad_alloc();
        return static_cast<T*>(memory);
    }
    void deallocate(T* memory, std::size_t) { FreePixelMemory(memory); }
    friend bool operator==(const PixelAllocator&, const PixelAllocator&) { return true; }
};
