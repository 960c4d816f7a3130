#include "core/surfaces/BitmapMemory.h"

#include "core/surfaces/PixelMemory.h"

#include <limits>
#include <system_error>
#include <utility>

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

BitmapPagesAhead::BitmapPagesAhead(const QImage& bitmap, std::size_t step)
{
    void* pixels = const_cast<uchar*>(bitmap.constBits());
    const auto bytes = std::size_t(bitmap.sizeInBytes());
    if (pixels != nullptr && bytes >= kLargePixelBlock) {
        try {
            // A step at a time, so that the owner's end stops the mapping soon; a rest
            // shorter than a step joins the last one.
            mapping_ = std::thread([this, pixels, bytes, step] {
                for (std::size_t at = 0, length = 0; at < bytes && !done_; at += length) {
                    length = bytes - at < 2 * step ? bytes - at : step;
                    MapPixelMemory(static_cast<char*>(pixels) + at, length);
                }
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

void PreparedBitmap::Prepare(int width, int height)
{
    if (!bitmap_.isNull() && bitmap_.size() == QSize(width, height))
        return;
    mapping_.reset();
    bitmap_ = QImage();
    if (width > 0 && height > 0)
        bitmap_ = NewBitmap(width, height);
    if (!bitmap_.isNull())
        mapping_ = std::make_unique<BitmapPagesAhead>(bitmap_, kLargePixelBlock);
}

void PreparedBitmap::Keep(QImage bitmap)
{
    mapping_.reset();
    bitmap_ = bitmap.isDetached() ? std::move(bitmap) : QImage();
}

QImage PreparedBitmap::Take(int width, int height)
{
    if (bitmap_.isNull() || bitmap_.size() != QSize(width, height))
        return QImage();
    return std::exchange(bitmap_, QImage());
}
