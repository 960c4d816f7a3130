#include "platform/BitmapMemory.h"

#include "platform/PixelMemory.h"

#include <limits>

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
