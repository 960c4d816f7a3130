#include "core/surfaces/BitmapMemory.h"

#include "core/surfaces/PixelMemory.h"

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
            mapping_ = std::thread(MapPixelMemory, pixels, bytes);
        } catch (const std::system_error&) {
            // No thread to spare: the pages are mapped as they are first written.
        }
    }
}

BitmapPagesAhead::~BitmapPagesAhead()
{
    if (mapping_.joinable())
        mapping_.join();
}
