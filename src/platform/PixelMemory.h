#pragma once
#include <cstddef>

// Memory for `bytes` bytes of pixels, not initialised; nullptr when it cannot be had.
// A camera-sized block lies in memory that the system may map in large pages, so
// filling it for the first time costs a few page faults instead of one for every 4 KiB.
// Freed with FreePixelMemory.
void* AllocatePixelMemory(std::size_t bytes);
void FreePixelMemory(void* memory);
