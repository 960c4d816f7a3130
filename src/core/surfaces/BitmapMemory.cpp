#include "core/surfaces/BitmapMemory.h"

#include "core/surfaces/PixelMemory.h"

#include <algorithm>
#include <limits>
#include <system_error>

QImage NewBitmap(int width, int height)
{
    if (width <= 0 || height <= 0)
        return QImage(qMax(width, 0), qMax(height, 0), QImage::Format_RGB32);
    const std::size_t rowBytes = std::size_t(width) * 4;
    if (std::size_t(height) > std::numeric_limits<std::size_t>::max() / rowBytes)
        return QImage();
    void* memory = AllocatePixelMemory(rowBytes * std::size_t(height));
    if (memory == nullptr)
        return QImage();
    return QImage(static_cast<uchar*>(memory), width, height, qsizetype(rowBytes),
                  QImage::Format_RGB32, FreePixelMemory, memory);
}

BitmapPagesAhead::BitmapPagesAhead(const QImage& bitmap)
{
    void* pixels = const_cast<uchar*>(bitmap.constBits());
    const auto bytes = std::size_t(bitmap.sizeInBytes());
    if (pixels != nullptr && bytes >= kLargePixelBlock) {
        try {
            // A huge page at a time. The decoder's own allocations wait while a step holds
            // the process's memory map, so a small step keeps them quick, and a decoder that
            // gives up early (a damaged file) stops the mapping at once, leaving the rest of
            // the picture's memory untouched.
            mapping_ = std::thread([this, pixels, bytes] {
                constexpr std::size_t kStep = std::size_t(2) << 20;
                for (std::size_t at = 0; at < bytes && !done_; at += kStep)
                    MapPixelMemory(static_cast<char*>(pixels) + at, std::min(kStep, bytes - at));
            });
        } catch (const std::system_error&) {
            // No thread to spare: the pages are mapped as they are first written.
        }
    }
}

BitmapPagesAhead::~BitmapPagesAhead()
{
    done_ = true;
    if (mapping_.joinable())
        mapping_.join();
}
